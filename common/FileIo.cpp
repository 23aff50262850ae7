#include "FileIo.h"

#include <cerrno>
#include <unistd.h>

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

bool ReadAll(int fd, std::string& content, size_t maxBytes) {
    content.clear();
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            return true;
        if (static_cast<size_t>(n) > maxBytes - content.size()) {
            errno = EFBIG;
            return false;
        }
        content.append(buffer, static_cast<size_t>(n));
    }
}
