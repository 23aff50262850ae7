// A Hayes modem on a pseudo-terminal, for tests and for trying the SMS library
// without hardware. The caller opens DevicePath() as its serial line; the
// simulator answers AT commands, "dials" with the outcome it has been told,
// and once connected hands the line to an SMS centre simulator.
#pragma once

#include "CentreSimulator.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

enum class SimDialOutcome { Connect, Busy, NoCarrier, NoAnswer, NoDialtone, Error, Silence };
enum class SimResetOutcome { Ok, Error, Silence };

class CModemSimulator {
public:
    explicit CModemSimulator(SimCentreKind centre);
    ~CModemSimulator();
    CModemSimulator(const CModemSimulator&) = delete;
    CModemSimulator& operator=(const CModemSimulator&) = delete;

    // Opens the pseudo-terminal and starts answering; false with a reason when
    // the system has none to give.
    bool Start(std::string& error);
    void Stop();
    // The terminal device the caller opens.
    std::string DevicePath() const { return m_strDevice; }

    void SetDialOutcome(SimDialOutcome outcome);
    void SetResetOutcome(SimResetOutcome outcome);
    void SetEcho(bool echo);
    void SetPieceDelay(std::chrono::milliseconds delay);
    void QueueAnswer(const std::string& unitKind, SimAnswer answer);
    // Runs `change` on the centre while the simulator holds it still.
    void ConfigureCentre(const std::function<void(CCentreSimulator&)>& change);
    // Called (on the simulator's thread) with everything the simulator records.
    void SetLog(std::function<void(const std::string&)> log);

    std::vector<std::string> Commands() const;       // AT command lines, in order
    std::vector<std::string> DialledNumbers() const; // what followed "ATD"
    std::vector<SimUnit> Units() const;              // what the centre recognised
    std::string Received() const;                    // every byte of every data phase
    int HangUps() const;                             // "ATH" commands
    int Escapes() const;                             // "+++" escapes from a call
    int Closes() const;                              // times the caller closed the line
    // Waits until the caller has closed the line `count` times in all.
    bool WaitForCloses(int count, std::chrono::milliseconds timeout) const;

private:
    enum class Mode { Command, Dialling, Data };

    void Run();
    void OnBytes(const std::string& bytes);
    void OnCommandByte(char c);
    void OnCommandLine(const std::string& line);
    void OnDataBytes(const std::string& bytes);
    void Dial(const std::string& number);
    void Reply(const std::string& result);
    void SendAnswer(const SimAnswer& answer);
    void WriteAll(const std::string& bytes);
    void NoteClosed();
    void Log(const std::string& text);

    CCentreSimulator m_centre;
    int m_master = -1;
    std::string m_strDevice;
    std::thread m_thread;
    std::atomic<bool> m_bRunning{false};

    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    Mode m_mode = Mode::Command;
    bool m_bLineOpen = false;
    std::string m_line;
    std::vector<SimAnswer> m_outbox; // written once the lock is released
    int m_plusRun = 0;
    SimDialOutcome m_dialOutcome = SimDialOutcome::Connect;
    SimResetOutcome m_resetOutcome = SimResetOutcome::Ok;
    bool m_bEcho = true;
    std::chrono::milliseconds m_pieceDelay{20};
    std::function<void(const std::string&)> m_log;
    std::vector<std::string> m_commands;
    std::vector<std::string> m_dialled;
    int m_hangUps = 0;
    int m_escapes = 0;
    int m_closes = 0;
};
