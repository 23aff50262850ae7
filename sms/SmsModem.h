// One outgoing data-modem call on a serial line driven with Hayes commands,
// and the three primitives the centre protocols use on the connected call.
// One object serves one dial-up; Hang up (also run by the destructor) leaves
// the line on-hook and closes the port in every case.
#pragma once

#include "SmsModemConfig.h"
#include "SmsTiming.h"

#include <array>
#include <string>
#include <string_view>

// Dial results.
enum SmsDialResult : int {
    kSmsDialConnected = 0,
    kSmsDialDisconnected = 1, // the call ended before it was connected
    kSmsDialNoConnection = 2, // no connection within the wait
    kSmsDialBusy = 3,
    kSmsDialFailed = 5 // no line configured, none opened or answered, or the call was refused
};

class CSmsModem {
public:
    static constexpr size_t kBufferSize = 2048;

    CSmsModem(CSmsModemConfig config, CSmsTiming timing);
    ~CSmsModem();
    CSmsModem(const CSmsModem&) = delete;
    CSmsModem& operator=(const CSmsModem&) = delete;

    // Resets the first configured line that opens and answers, dials and waits
    // up to 45 s for the modem's final result.
    int Dial(const std::string& dialled);
    void HangUp();

    // Everything waiting on the line, at most kBufferSize bytes.
    bool ReadAll(std::string& answer);
    // Looks for input ms / 1000 times one second apart (once below 1000 ms);
    // input ends the wait at once.
    bool WaitForInput(int ms);
    // True as soon as input waits; false at the deadline.
    bool WaitForInputUntil(CSmsTiming::Clock::time_point deadline);
    // Writes at most kBufferSize bytes within 5 s.
    bool Write(std::string_view text);

    bool IsCallEstablished() const { return m_bCallEstablished; }
    const CSmsTiming& Timing() const { return m_timing; }

    enum class Reply { Ok, Connect, Busy, NoCarrier, NoAnswer, NoDialtone, Error, None };
    // The modem's result code in one line (None for echoes and information).
    static Reply Classify(const std::string& line);
    static int DialResultOf(Reply reply);

private:
    bool OpenFirstLine();
    bool OpenDevice(const std::string& path);
    bool Command(const std::string& command);
    bool WriteBytes(std::string_view bytes, CSmsTiming::Clock::time_point deadline);
    Reply AwaitReply(CSmsTiming::Clock::time_point deadline);
    bool ReadLine(std::string& line, CSmsTiming::Clock::time_point deadline);
    bool PollFor(short events, CSmsTiming::Clock::time_point deadline);
    int InputCount() const;
    void LeaveDataMode();
    void ClosePort();

    CSmsModemConfig m_config;
    CSmsTiming m_timing;
    int m_fd = -1;
    bool m_bCallPlaced = false;
    bool m_bCallEstablished = false;
    std::array<char, kBufferSize> m_buffer{};
};
