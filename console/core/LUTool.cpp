#include "LUTool.h"

#include "SafeDirectory.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr size_t kTextBufferSize = 1024;

std::string FormatNowBracketed() {
    char buffer[128];
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    if (std::strftime(buffer, sizeof buffer, "[%c]", &local) == 0)
        return "[]";
    return buffer;
}

bool WriteAll(int fd, const std::string& data) {
    size_t done = 0;
    while (done < data.size()) {
        ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

} // namespace

CLUTool::CLUTool()
    : m_strTitle("velda DebugTrace"), m_nLevel(5), m_nAbortSeverity(0), m_strFileName("velda.LOG"),
      m_nMaxFileSize(100000), m_nOutputs(OutputFile) {}

CLUTool& LUTool() {
    // Constructed on first use and never destroyed, so that code running while
    // static objects are torn down at exit can still trace and assert.
    static CLUTool* instance = new CLUTool;
    return *instance;
}

namespace {
// The instance exists from program load on.
[[maybe_unused]] CLUTool& g_constructAtLoad = LUTool();
} // namespace

void CLUTool::Trace(uint32_t level, const char* format, ...) {
    std::lock_guard traceGuard(m_traceLock);
    uint32_t outputs;
    std::string title;
    ITraceMessageSink* sink;
    {
        std::lock_guard fileGuard(m_fileLock);
        if (level > m_nLevel)
            return;
        outputs = m_nOutputs;
        title = m_strTitle;
        sink = m_pSink;
    }
    char buffer[kTextBufferSize];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if ((outputs & OutputMessageBox) && sink)
        sink->ShowTraceMessage(title, buffer);
    if (outputs & OutputFile)
        WriteLine(buffer);
}

void CLUTool::WriteLine(const std::string& text) {
    std::lock_guard guard(m_fileLock);
    WriteLineLocked(text);
}

void CLUTool::WriteLineLocked(const std::string& text) {
    // The file is opened and closed for every line so that other programs may
    // read, rename or delete it at any time.
    // A link or FIFO planted under the name is never written through or waited on.
    int fd = -1;
    if (OpenRegularFile(m_strFileName, O_WRONLY | O_CREAT, fd) != SafeFileStatus::Ok)
        return;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && info.st_size > m_nMaxFileSize) {
        if (::ftruncate(fd, 0) != 0) {
            ::close(fd);
            return;
        }
    }
    if (::lseek(fd, 0, SEEK_END) >= 0)
        WriteAll(fd, FormatNowBracketed() + " " + text + "\n");
    ::close(fd);
}

void CLUTool::Assert(bool condition, const char* conditionText, const char* description,
                     const char* sourceFile, unsigned line, uint32_t severity) {
    if (condition)
        return;
    uint32_t outputs;
    ITraceMessageSink* sink;
    bool stop = false;
    {
        std::lock_guard guard(m_fileLock);
        outputs = m_nOutputs;
        sink = m_pSink;
        if (severity >= m_nAbortSeverity) {
            std::fflush(nullptr);
            stop = true;
        }
    }
    char report[kTextBufferSize];
    std::snprintf(report, sizeof report,
                  "Bedingung: %s \n\nBeschreibung: %s\n\nDatei: %s\nZeile: %u",
                  conditionText ? conditionText : "", description ? description : "",
                  sourceFile ? sourceFile : "", line);
    if (outputs & OutputFile) {
        WriteLine(std::string("Assert fehlgeschlagen!\n") + report);
        stop = false;
    }
    if ((outputs & OutputMessageBox) && sink)
        stop = sink->ShowAssertMessage("Assert fehlgeschlagen!", report);
    if (stop)
        std::abort();
}

void CLUTool::SetFileName(std::string fileName) {
    std::lock_guard guard(m_fileLock);
    m_strFileName = std::move(fileName);
}

void CLUTool::SetLevel(uint32_t level) {
    std::lock_guard guard(m_fileLock);
    m_nLevel = level;
}

void CLUTool::SetTitle(std::string title) {
    std::lock_guard guard(m_fileLock);
    m_strTitle = std::move(title);
}

void CLUTool::SetOutputs(uint32_t outputs) {
    std::lock_guard guard(m_fileLock);
    m_nOutputs = outputs;
}

void CLUTool::SetMaxFileSize(int32_t maxFileSize) {
    std::lock_guard guard(m_fileLock);
    m_nMaxFileSize = maxFileSize;
}

void CLUTool::SetAbortSeverity(uint32_t severity) {
    std::lock_guard guard(m_fileLock);
    m_nAbortSeverity = severity;
}

void CLUTool::SetMessageSink(ITraceMessageSink* sink) {
    std::lock_guard guard(m_fileLock);
    m_pSink = sink;
}

std::string CLUTool::GetTitle() const {
    std::lock_guard guard(m_fileLock);
    return m_strTitle;
}

uint32_t CLUTool::GetLevel() const {
    std::lock_guard guard(m_fileLock);
    return m_nLevel;
}

std::string CLUTool::GetFileName() const {
    std::lock_guard guard(m_fileLock);
    return m_strFileName;
}

uint32_t CLUTool::GetAbortSeverity() const {
    std::lock_guard guard(m_fileLock);
    return m_nAbortSeverity;
}

int32_t CLUTool::GetMaxFileSize() const {
    std::lock_guard guard(m_fileLock);
    return m_nMaxFileSize;
}

uint32_t CLUTool::GetOutputs() const {
    std::lock_guard guard(m_fileLock);
    return m_nOutputs;
}
