#include "SmtpLogin.h"

#include "FileIo.h"
#include "IniFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A login file is a few lines; anything larger is not one.
constexpr size_t kMaxFileBytes = 64 * 1024;

// The file's bytes when it is a regular file of this account without rights
// for group and others; never follows a link, never blocks on a pipe.
std::optional<std::string> ReadPrivateFile(const std::string& path, std::string& problem) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno != ENOENT)
            problem = path + ": " + std::strerror(errno);
        return std::nullopt;
    }
    struct stat info {};
    std::string content;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))
        problem = path + " is not a regular file";
    else if (info.st_uid != ::geteuid() || (info.st_mode & 077) != 0)
        problem = path + " must belong to this account with mode 0600";
    else if (!ReadAll(fd, content, kMaxFileBytes))
        problem = path + " cannot be read or is too large";
    ::close(fd);
    if (!problem.empty())
        return std::nullopt;
    return content;
}

} // namespace

std::optional<SmtpLogin> CSmtpLogin::Read(const std::string& path, std::string_view server,
                                          std::string& problem) {
    const std::optional<std::string> content = ReadPrivateFile(path, problem);
    if (!content)
        return std::nullopt;
    const CIniFile file = CIniFile::Parse(*content, path);
    SmtpLogin login{file.GetString(server, "User"), file.GetString(server, "Password"),
                    file.GetString(server, "CAFile")};
    if (login.User.empty() && login.CaFile.empty())
        return std::nullopt;
    return login;
}
