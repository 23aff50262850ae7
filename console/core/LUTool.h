// Process-wide trace log and assertion reports.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>

// Receives what the trace object shows as message boxes (output bit 0).
// The desktop interface installs one; headless, bit 0 is never set.
class ITraceMessageSink {
public:
    virtual ~ITraceMessageSink() = default;
    // An information box with the given caption.
    virtual void ShowTraceMessage(const std::string& caption, const std::string& text) = 0;
    // An assertion box with Abort, Retry and Ignore; returns true when Abort was chosen.
    virtual bool ShowAssertMessage(const std::string& caption, const std::string& text) = 0;
};

class CLUTool {
public:
    enum : uint32_t { OutputMessageBox = 1u << 0, OutputFile = 1u << 1 };

    CLUTool();

    // printf-style trace line written when level <= Level.
    void Trace(uint32_t level, const char* format, ...) __attribute__((format(printf, 3, 4)));
    // Appends one time-stamped line to the trace file; file errors lose the line.
    void WriteLine(const std::string& text);
    // Reports a failed consistency check: with output bit 1 the
    // seven-line entry "Assert fehlgeschlagen!" + report goes to the file; with
    // bit 0 the message sink is asked; the process aborts when the stop mark
    // stays set (severity >= AbortSeverity and no output cleared it).
    void Assert(bool condition, const char* conditionText, const char* description,
                const char* sourceFile, unsigned line, uint32_t severity);

    void SetFileName(std::string fileName);
    void SetLevel(uint32_t level);
    void SetTitle(std::string title);
    void SetOutputs(uint32_t outputs);
    void SetMaxFileSize(int32_t maxFileSize);
    void SetAbortSeverity(uint32_t severity);
    void SetMessageSink(ITraceMessageSink* sink);

    std::string GetTitle() const;
    uint32_t GetLevel() const;
    std::string GetFileName() const;
    uint32_t GetAbortSeverity() const;
    int32_t GetMaxFileSize() const;
    uint32_t GetOutputs() const;

private:
    mutable std::mutex m_traceLock; // serialises Trace; taken before m_fileLock
    mutable std::mutex m_fileLock;  // serialises WriteLine and guards the fields below

    std::string m_strTitle;
    uint32_t m_nLevel;
    uint32_t m_nAbortSeverity;
    std::string m_strFileName;
    int32_t m_nMaxFileSize;
    uint32_t m_nOutputs;
    ITraceMessageSink* m_pSink = nullptr;

    void WriteLineLocked(const std::string& text);
};

// The single trace object of the process.
CLUTool& LUTool();

// Records the tested expression's text, the German description, the file and the line.
#define TARN_ASSERT(expr, description)                                                             \
    LUTool().Assert(static_cast<bool>(expr), #expr, description, __FILE__, __LINE__, 0)
// For a branch that must never be reached.
#define TARN_ASSERT_FAIL(description) LUTool().Assert(false, "FALSE", description, __FILE__, __LINE__, 0)
