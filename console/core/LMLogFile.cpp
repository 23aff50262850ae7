#include "LMLogFile.h"

#include "FieldText.h"
#include "LUTool.h"
#include "TakenLineRun.h"
#include "TextEncoding.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr size_t kReadChunk = 256 * 1024;
// A line inside one chunk is never too long, so passing over taken lines in
// the buffer needs no length check.
static_assert(kReadChunk <= kAgentLogMaxLineLength);
constexpr std::string_view kProcessedDate = "00000000000000";

std::string_view CutAtNul(std::string_view line) {
    const void* nul = std::memchr(line.data(), '\0', line.size());
    if (nul != nullptr)
        line = line.substr(0, static_cast<size_t>(static_cast<const char*>(nul) - line.data()));
    return line;
}

void SleepFor(std::chrono::milliseconds delay) {
    std::this_thread::sleep_for(delay);
}

// The date is the text before the first separator.
size_t DateLength(std::string_view line) {
    line = CutAtNul(line);
    return std::min(line.find(kAgentLogSeparator), line.size());
}

} // namespace

bool CanBeMarked(std::string_view line) {
    return DateLength(line) > 0;
}

int32_t ParseDecimal(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = std::min<int64_t>(value * 10 + (text[i] - '0'), int64_t{INT32_MAX} + 1);
    }
    if (negative)
        return static_cast<int32_t>(-value);
    return static_cast<int32_t>(std::min<int64_t>(value, INT32_MAX));
}

bool ParseAgentLogLine(std::string_view line, int32_t lineNumber, AgentLogEntry& entry) {
    line = CutAtNul(line);
    if (CountFields(line, kAgentLogSeparator) != kAgentLogFieldCount)
        return false;
    const std::string text = DecodeExternalText(line);
    auto field = [&](size_t n) { return GetField(text, n, kAgentLogSeparator); };
    entry.EventID = lineNumber;
    entry.Date = field(1);
    entry.Computer = field(2);
    entry.Source = ParseDecimal(field(3));
    entry.SourceName = field(4);
    entry.SourceModuleName = field(5);
    entry.Type = ParseDecimal(field(6));
    entry.Category = ParseDecimal(field(7));
    entry.InfoID = field(8);
    entry.EventDescription = field(9);
    return true;
}

LMLogFile::LMLogFile() : LMLogFile(SleepFor) {}

LMLogFile::LMLogFile(SleepFunction sleep) : m_sleep(std::move(sleep)) {}

LMLogFile::~LMLogFile() {
    Close();
}

bool LMLogFile::Open(const std::string& path) {
    return Open(path, path.substr(0, path.rfind('/') + 1));
}

bool LMLogFile::Open(const std::string& path, const std::string& trustedDirectory) {
    const bool bFileOpen = m_bIsOpen;
    TARN_ASSERT(!bFileOpen, "Datei ist schon geöffnet");
    if (bFileOpen)
        return true;
    for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
        if (TryOpen(path, trustedDirectory)) {
            m_bIsOpen = true;
            if (!m_buffer) // not zeroed: only what pread filled is ever looked at
                m_buffer = std::make_unique_for_overwrite<char[]>(kReadChunk);
            Rewind();
            return true;
        }
        m_sleep(kOpenRetryDelay);
    }
    return false;
}

// The file is reached from its directory without following a link and
// without blocking on a FIFO; zeros are never written through a link.
bool LMLogFile::TryOpen(const std::string& path, const std::string& trustedDirectory) {
    std::string directory;
    if (!SplitPathBelow(trustedDirectory, path, directory, m_strName))
        return false;
    m_directory = CSafeDirectory::OpenBelow(trustedDirectory, directory);
    int fd = -1;
    if (m_directory.OpenFile(m_strName, O_RDWR, fd) != SafeFileStatus::Ok)
        return false;
    struct stat info {};
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET; // l_start = l_len = 0: the whole file, however it grows
    if (::fstat(fd, &info) != 0 || ::fcntl(fd, F_OFD_SETLK, &lock) != 0) {
        ::close(fd);
        return false;
    }
    m_nFile = fd;
    m_nDevice = info.st_dev;
    m_nInode = info.st_ino;
    return true;
}

void LMLogFile::Close() {
    if (m_nFile >= 0)
        ::close(m_nFile); // releases the lock
    m_nFile = -1;
    m_directory = CSafeDirectory();
    m_bIsOpen = false;
    m_nPosition = 0;
    m_nLastUnmarkableLine = 0;
    m_nResumeLine = 0;
    m_nReturnedLine = 0;
}

void LMLogFile::Rewind() {
    GoTo(0, 1);
    m_nResumeOffset = 0;
    m_nResumeLine = 1;
    m_nResumeUnmarkableLine = 0;
}

// The next read returns the line that begins at `offset`, numbered `line`.
void LMLogFile::GoTo(off_t offset, int32_t line) {
    m_nBufferBegin = m_nBufferEnd = 0;
    m_nBufferFileOffset = offset;
    m_nNextLineOffset = offset;
    m_nPosition = line;
    m_bLineEnded = true;
    m_bInsideLongLine = false;
}

bool LMLogFile::Refill() {
    m_nBufferFileOffset += static_cast<off_t>(m_nBufferEnd);
    m_nBufferBegin = m_nBufferEnd = 0;
    for (;;) {
        ssize_t n = ::pread(m_nFile, m_buffer.get(), kReadChunk, m_nBufferFileOffset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        m_nBufferEnd = static_cast<size_t>(n);
        return true;
    }
}

// Reads past the rest of a line that was too long; false on a file error.
bool LMLogFile::SkipToLineEnd() {
    while (m_bInsideLongLine) {
        if (m_nBufferBegin == m_nBufferEnd) {
            if (!Refill())
                return false;
            if (m_nBufferEnd == 0)
                break; // end of file
        }
        const char* begin = m_buffer.get() + m_nBufferBegin;
        const size_t available = m_nBufferEnd - m_nBufferBegin;
        const auto* newline = static_cast<const char*>(std::memchr(begin, '\n', available));
        m_nBufferBegin += newline ? static_cast<size_t>(newline - begin) + 1 : available;
        m_nNextLineOffset = m_nBufferFileOffset + static_cast<off_t>(m_nBufferBegin);
        m_bInsideLongLine = newline == nullptr;
        m_bLineEnded = newline != nullptr;
    }
    m_bInsideLongLine = false;
    return true;
}

LMLogFile::LineStatus LMLogFile::NextLine(std::string_view& line, off_t& lineOffset) {
    if (!SkipToLineEnd())
        return LineStatus::Error;
    lineOffset = m_nNextLineOffset;
    bool spilled = false; // part of the line is kept in m_strLongLine
    m_strLongLine.clear();
    for (;;) {
        if (m_nBufferBegin == m_nBufferEnd) {
            if (!Refill())
                return LineStatus::Error;
            if (m_nBufferEnd == 0) { // end of file
                if (!spilled)
                    return LineStatus::End;
                break;
            }
        }
        const char* begin = m_buffer.get() + m_nBufferBegin;
        size_t available = m_nBufferEnd - m_nBufferBegin;
        const auto* newline = static_cast<const char*>(std::memchr(begin, '\n', available));
        size_t length = newline ? static_cast<size_t>(newline - begin) : available;
        m_nBufferBegin += newline ? length + 1 : length;
        m_bLineEnded = newline != nullptr;
        m_nNextLineOffset = m_nBufferFileOffset + static_cast<off_t>(m_nBufferBegin);
        if (newline && !spilled) {
            line = std::string_view(begin, length);
            break;
        }
        if (m_strLongLine.size() + length > kAgentLogMaxLineLength) {
            m_bInsideLongLine = newline == nullptr; // the rest is skipped only when asked for
            return LineStatus::TooLong;
        }
        m_strLongLine.append(begin, length);
        spilled = true;
        if (newline) {
            line = m_strLongLine;
            break;
        }
    }
    if (spilled)
        line = m_strLongLine;
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return LineStatus::Line;
}

bool LMLogFile::SeekToEntry(int32_t nEntryPosition) {
    const bool bFileOpen = m_bIsOpen;
    TARN_ASSERT(bFileOpen, "Datei nicht geöffnet");
    TARN_ASSERT(nEntryPosition > 0, "ungültige Position");
    if (!bFileOpen || nEntryPosition <= 0)
        return false;
    Rewind();
    if (nEntryPosition != 1)
        m_nResumeLine = 0; // the lines passed over here were not examined
    std::string_view line;
    off_t offset;
    while (m_nPosition < nEntryPosition) {
        LineStatus status = NextLine(line, offset);
        if (status == LineStatus::End || status == LineStatus::Error)
            return false;
        ++m_nPosition;
    }
    return true;
}

bool LMLogFile::ReadEntry(AgentLogEntry& entry) {
    const bool bFileOpen = m_bIsOpen;
    TARN_ASSERT(bFileOpen, "Datei nicht geöffnet");
    if (!bFileOpen)
        return false;
    std::string_view line;
    off_t offset;
    LineStatus status = NextLine(line, offset);
    if (status == LineStatus::End || status == LineStatus::Error)
        return false;
    int32_t number = m_nPosition++;
    return status == LineStatus::Line && ParseAgentLogLine(line, number, entry);
}

bool LMLogFile::ReadNextEntry(std::string_view computer, AgentLogEntry& entry) {
    const bool bFileOpen = m_bIsOpen;
    TARN_ASSERT(bFileOpen, "Datei nicht geöffnet");
    if (!bFileOpen)
        return false;
    std::string_view line;
    off_t offset;
    for (;;) {
        AdvanceResumePoint();
        if (SkipTakenLinesInBuffer())
            AdvanceResumePoint();
        LineStatus status = NextLine(line, offset);
        if (status != LineStatus::Line)
            return false; // end of file, a file error or a malformed line end the scan
        int32_t number = m_nPosition++;
        std::string_view text = CutAtNul(line);
        if (CountFields(text, kAgentLogSeparator) != kAgentLogFieldCount)
            return false;
        if (text.front() == '0')
            continue; // taken over already; skipped without parsing
        if (!CanBeMarked(text)) {
            m_nLastUnmarkableLine = number; // taking it would signal it at every scan
            continue;
        }
        if (!ParseAgentLogLine(text, number, entry))
            return false;
        if (entry.Source != 0 && entry.Type != 0 && !entry.Date.starts_with('0') &&
            EqualsNoCase(entry.Computer, computer)) {
            m_nReturnedOffset = offset;
            m_nReturnedLine = number;
            return true;
        }
    }
}

// Passes over the lines taken over long ago that lie whole in the buffer; the
// first other line, and a line that crosses the end of the buffer, are left
// to NextLine, which also refills the buffer. Leaves the reader as NextLine
// would after reading those lines; true when there were any.
bool LMLogFile::SkipTakenLinesInBuffer() {
    if (m_bInsideLongLine)
        return false;
    const std::string_view buffered(m_buffer.get() + m_nBufferBegin, m_nBufferEnd - m_nBufferBegin);
    const size_t skipped = SkipTakenLines(buffered, m_nPosition);
    if (skipped == 0)
        return false;
    m_nBufferBegin += skipped;
    m_nNextLineOffset = m_nBufferFileOffset + static_cast<off_t>(m_nBufferBegin);
    m_bLineEnded = true;
    return true;
}

// Called before each line a scan reads: the line read before it has been
// examined completely (a line ReadNextEntry returned, by its caller).
void LMLogFile::AdvanceResumePoint() {
    if (m_nResumeLine == 0 || !m_bLineEnded)
        return;
    m_nResumeOffset = m_nNextLineOffset;
    m_nResumeLine = m_nPosition;
    m_nResumeUnmarkableLine = m_nLastUnmarkableLine;
}

CLogResumePoint LMLogFile::GetResumePoint() const {
    if (!m_bIsOpen || m_nResumeLine == 0)
        return {};
    return CLogResumePoint::Capture(m_nFile, m_nResumeOffset, m_nResumeLine,
                                    m_nResumeUnmarkableLine);
}

bool LMLogFile::ResumeAt(const CLogResumePoint& point) {
    const bool bFileOpen = m_bIsOpen;
    TARN_ASSERT(bFileOpen, "Datei nicht geöffnet");
    if (!bFileOpen || !point.StillHolds(m_nFile))
        return false;
    GoTo(point.Offset(), point.Line());
    m_nLastUnmarkableLine = point.LastUnmarkableLine();
    m_nResumeOffset = point.Offset();
    m_nResumeLine = point.Line();
    m_nResumeUnmarkableLine = point.LastUnmarkableLine();
    return true;
}

bool LMLogFile::StillNamesOpenFile() const {
    struct stat info {};
    return ::fstatat(m_directory.Descriptor(), m_strName.c_str(), &info, AT_SYMLINK_NOFOLLOW) ==
               0 &&
           info.st_dev == m_nDevice && info.st_ino == m_nInode;
}

bool LMLogFile::MarkProcessed(int32_t nEntryPosition) {
    const bool bFileOpen = m_bIsOpen;
    TARN_ASSERT(bFileOpen, "Datei nicht geöffnet");
    if (!bFileOpen || !SeekForMarking(nEntryPosition))
        return false;
    std::string_view line;
    off_t offset;
    if (NextLine(line, offset) != LineStatus::Line)
        return false;
    // A shorter date gets as many zeros as it has characters, so that no
    // other field changes.
    const size_t zeros = std::min(DateLength(line), kProcessedDate.size());
    if (!CanBeMarked(line) || !StillNamesOpenFile())
        return false;
    ssize_t written;
    do {
        written = ::pwrite(m_nFile, kProcessedDate.data(), zeros, offset);
    } while (written < 0 && errno == EINTR);
    GoTo(offset, nEntryPosition); // the next read returns this line again
    return written == static_cast<ssize_t>(zeros);
}

// Positions on a line to mark it, keeping the resume point of the scan; the
// line a scan has just returned is found without reading from the start.
bool LMLogFile::SeekForMarking(int32_t nEntryPosition) {
    if (nEntryPosition > 0 && nEntryPosition == m_nReturnedLine) {
        GoTo(m_nReturnedOffset, nEntryPosition);
        return true;
    }
    const off_t resumeOffset = m_nResumeOffset;
    const int32_t resumeLine = m_nResumeLine;
    const int32_t resumeUnmarkableLine = m_nResumeUnmarkableLine;
    const bool found = SeekToEntry(nEntryPosition);
    m_nResumeOffset = resumeOffset;
    m_nResumeLine = resumeLine;
    m_nResumeUnmarkableLine = resumeUnmarkableLine;
    return found;
}
