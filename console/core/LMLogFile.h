// The reader of agent log files: text files in which an agent appends one line
// per error found, nine ";"-separated fields per line, and in which the console
// marks every line it has taken over by overwriting its date with
// "00000000000000", so that no line is ever taken twice.
//
// While open, the reader holds an exclusive open-file-description lock
// (F_OFD_SETLK, write lock over the whole file). It conflicts with the classic
// fcntl locks agents take, so an agent cannot append while the console reads
// and marks; the agent retries. Lines end with LF or CR LF; a line that is not
// valid UTF-8 is read as Windows-1252. The file is read in large chunks.
#pragma once

#include "LogResumePoint.h"
#include "SafeDirectory.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <sys/types.h>

// One line of an agent log; the field names are those of a history event.
struct AgentLogEntry {
    int32_t EventID = 0;  // the line's number, counting from 1
    std::string Date;     // 14-digit time stamp text; "00000000000000" once taken over
    std::string Computer; // compared with an audition's computer ignoring case
    int32_t Source = 0;   // not 0; NT event log: 1 system log, 2 application log
    std::string SourceName;
    std::string SourceModuleName;
    int32_t Type = 0;     // not 0; NT event log: 1 error, 2 warning
    int32_t Category = 0; // 1 application error, 2 service error
    std::string InfoID;
    std::string EventDescription;
};

inline constexpr char kAgentLogSeparator = ';';
inline constexpr size_t kAgentLogFieldCount = 9;
// Longer lines are read as malformed: a scan ends as soon as a line passes it,
// without reading the rest of the line.
inline constexpr size_t kAgentLogMaxLineLength = 4u << 20;

// Parses one line (without its line end). The text ends at a NUL byte, as it
// would for a C-string reader. False unless it has exactly nine fields.
bool ParseAgentLogLine(std::string_view line, int32_t lineNumber, AgentLogEntry& entry);
// True when the line has a date to overwrite: its first field is not empty.
// A line that cannot be marked cannot be taken over either, or every scan
// would take it again.
bool CanBeMarked(std::string_view line);
// Plain decimal conversion: blanks, an optional sign, the leading digits; 0
// when there are none; clamped to the 32-bit range.
int32_t ParseDecimal(std::string_view text);

class LMLogFile {
public:
    using SleepFunction = std::function<void(std::chrono::milliseconds)>;
    static constexpr int kOpenAttempts = 4;
    static constexpr std::chrono::milliseconds kOpenRetryDelay{1000};

    LMLogFile();
    // For tests: replaces the wait between two open attempts.
    explicit LMLogFile(SleepFunction sleep);
    ~LMLogFile();
    LMLogFile(const LMLogFile&) = delete;
    LMLogFile& operator=(const LMLogFile&) = delete;

    // Up to four attempts to open and lock the file, waiting 1000 ms after
    // each failed one. A missing file, a name that is not a regular file (a
    // link, a FIFO) and a file locked by someone else are failed attempts.
    // path lies below the trusted directory; no link after it is followed.
    bool Open(const std::string& path, const std::string& trustedDirectory);
    // The same with the file's own directory trusted.
    bool Open(const std::string& path);
    void Close();
    bool IsOpen() const { return m_bIsOpen; }
    // The number of the line that the next read returns.
    int32_t GetPosition() const { return m_nPosition; }

    // Rewinds and skips lines until the next read returns line nEntryPosition;
    // false when the file ends first or on a file error.
    bool SeekToEntry(int32_t nEntryPosition);
    // Reads the next line; false at the end of the file, for a line that does
    // not have nine fields and on a file error.
    bool ReadEntry(AgentLogEntry& entry);
    // Reads until a line not yet taken over (date not beginning with "0",
    // source and type not 0) of the given computer, ignoring case. Lines that
    // cannot be marked (empty date) are skipped and remembered.
    bool ReadNextEntry(std::string_view computer, AgentLogEntry& entry);
    // The number of the last line that a scan since opening skipped because
    // it cannot be marked; 0 when there was none.
    int32_t GetLastUnmarkableLine() const { return m_nLastUnmarkableLine; }
    // Overwrites the date of line nEntryPosition with zeros (14, or as many as
    // the date has characters when it is shorter), nothing else. False, with
    // nothing written, when the line does not exist, begins with the separator,
    // or the path no longer names the file held open (deleted or replaced).
    bool MarkProcessed(int32_t nEntryPosition);

    // Where a later scan with the same computer and the same matching rules
    // may go on: just past the lines that the scans since the last rewind
    // examined and passed over (a line without a line end is never passed
    // over: an agent may still extend it). Invalid after SeekToEntry to a
    // line other than the first.
    CLogResumePoint GetResumePoint() const;
    // Goes on at the point when it still holds for the open file (see
    // CLogResumePoint); otherwise false, and the caller scans from line 1.
    bool ResumeAt(const CLogResumePoint& point);

private:
    enum class LineStatus { Line, TooLong, End, Error };

    SleepFunction m_sleep;
    std::string m_strName;
    CSafeDirectory m_directory; // holds the file; names are looked up in it
    int m_nFile = -1;
    bool m_bIsOpen = false;
    int32_t m_nPosition = 0;
    int32_t m_nLastUnmarkableLine = 0;
    dev_t m_nDevice = 0;
    ino_t m_nInode = 0;

    // Buffered reading from m_nNextLineOffset on.
    std::unique_ptr<char[]> m_buffer;
    size_t m_nBufferBegin = 0; // first unread byte in m_buffer
    size_t m_nBufferEnd = 0;
    off_t m_nBufferFileOffset = 0; // file offset of m_buffer[0]
    off_t m_nNextLineOffset = 0;
    std::string m_strLongLine;
    bool m_bLineEnded = true;       // the line NextLine returned last ended with LF
    bool m_bInsideLongLine = false; // the last line read was too long and is not over yet

    // The resume point of the running scan; m_nResumeLine 0 when there is none.
    off_t m_nResumeOffset = 0;
    int32_t m_nResumeLine = 0;
    int32_t m_nResumeUnmarkableLine = 0;
    // The line that ReadNextEntry returned last, for marking it without a rescan.
    off_t m_nReturnedOffset = 0;
    int32_t m_nReturnedLine = 0;

    bool TryOpen(const std::string& path, const std::string& trustedDirectory);
    void Rewind();
    void GoTo(off_t offset, int32_t line);
    void AdvanceResumePoint();
    bool SeekForMarking(int32_t nEntryPosition);
    bool SkipTakenLinesInBuffer();
    LineStatus NextLine(std::string_view& line, off_t& lineOffset);
    bool Refill();
    bool SkipToLineEnd();
    bool StillNamesOpenFile() const;
};
