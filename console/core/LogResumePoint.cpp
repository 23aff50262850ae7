#include "LogResumePoint.h"

#include <algorithm>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

bool CLogResumePoint::ReadTail(int fd, off_t offset, std::string& tail) {
    const size_t length = static_cast<size_t>(std::min<off_t>(offset, kTailLength));
    tail.resize(length);
    ssize_t n;
    do {
        n = ::pread(fd, tail.data(), length, offset - static_cast<off_t>(length));
    } while (n < 0 && errno == EINTR);
    return n == static_cast<ssize_t>(length);
}

CLogResumePoint CLogResumePoint::Capture(int fd, off_t offset, int32_t line,
                                         int32_t lastUnmarkableLine) {
    CLogResumePoint point;
    struct stat info {};
    if (line <= 0 || offset < 0 || ::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
        info.st_size < offset || !ReadTail(fd, offset, point.m_strTail))
        return {};
    point.m_nDevice = info.st_dev;
    point.m_nInode = info.st_ino;
    point.m_nOffset = offset;
    point.m_nLine = line;
    point.m_nLastUnmarkableLine = lastUnmarkableLine;
    return point;
}

bool CLogResumePoint::StillHolds(int fd) const {
    struct stat info {};
    if (!IsValid() || ::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
        info.st_dev != m_nDevice || info.st_ino != m_nInode || info.st_size < m_nOffset)
        return false;
    std::string tail;
    if (!ReadTail(fd, m_nOffset, tail) || tail.size() != m_strTail.size())
        return false;
    return std::equal(tail.begin(), tail.end(), m_strTail.begin(), [](char now, char then) {
        // a mark zeroes a date, never a separator or a line end
        return now == then || (now == '0' && then != ';' && then != '\n');
    });
}
