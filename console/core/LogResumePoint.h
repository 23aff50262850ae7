// Where the next scan of an agent log may begin, and the proof that the file
// is still the one the point was taken from: the same device and inode, not
// shorter than the position, and the bytes just before the position unchanged
// (a "0" where there was a digit is allowed: the console zeroes the dates of
// taken lines). Agents only append and the console only zeroes dates, so the
// lines before the position read as they did; anything else (a rotated,
// truncated, replaced or rewritten log) fails the proof and the caller scans
// from the first line. Works from the open descriptor of the log.
#pragma once

#include <cstdint>
#include <string>
#include <sys/types.h>

class CLogResumePoint {
public:
    // Bytes kept from before the position.
    static constexpr size_t kTailLength = 64;

    CLogResumePoint() = default;
    // The point at `offset` (the beginning of line `line`) of the open file;
    // an invalid point when the file cannot be read there. lastUnmarkableLine
    // is the last line before the position that could not be marked.
    static CLogResumePoint Capture(int fd, off_t offset, int32_t line, int32_t lastUnmarkableLine);

    bool IsValid() const { return m_nLine > 0; }
    // True when the open file is still the one the point was taken from.
    bool StillHolds(int fd) const;

    off_t Offset() const { return m_nOffset; }
    int32_t Line() const { return m_nLine; }
    int32_t LastUnmarkableLine() const { return m_nLastUnmarkableLine; }

private:
    dev_t m_nDevice = 0;
    ino_t m_nInode = 0;
    off_t m_nOffset = 0;
    int32_t m_nLine = 0; // 0: no point
    int32_t m_nLastUnmarkableLine = 0;
    std::string m_strTail; // the bytes just before m_nOffset

    static bool ReadTail(int fd, off_t offset, std::string& tail);
};
