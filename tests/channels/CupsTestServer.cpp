#include "CupsTestServer.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// Stores the job (its file argument or standard input) and then its title, so
// that a title file marks a complete job. Without arguments it lists nothing,
// as a back end asked for its devices must.
const char* const kCaptureBackend = R"(#!/bin/sh
[ $# -eq 0 ] && exit 0
dir=${DEVICE_URI#capture:}
if [ -n "$6" ]; then cat "$6"; else cat; fi > "$dir/job-$1.data" || exit 1
printf '%s' "$3" > "$dir/job-$1.tmp" && mv "$dir/job-$1.tmp" "$dir/job-$1.title"
)";

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool Connects(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path)
        return false;
    path.copy(address.sun_path, path.size());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const bool connected =
        fd >= 0 && ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    if (fd >= 0)
        ::close(fd);
    return connected;
}

int Run(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str());
}

} // namespace

CCupsTestServer::~CCupsTestServer() {
    if (m_pid > 0) {
        ::kill(m_pid, SIGTERM);
        ::waitpid(m_pid, nullptr, 0);
    }
    if (!m_dir.empty()) {
        std::error_code ignored;
        fs::remove_all(m_dir, ignored);
    }
}

bool CCupsTestServer::WriteConfiguration(std::string& error) const {
    for (const char* sub :
         {"etc/ppd", "spool/tmp", "cache", "state", "lib/backend", "lib/filter", "log"})
        fs::create_directories(m_dir + sub);
    std::ofstream(m_dir + "etc/cupsd.conf")
        << "LogLevel debug\n"
           "Listen "
        << Socket()
        << "\n"
           "Browsing No\nBrowseLocalProtocols none\nDefaultShared No\n"
           "WebInterface No\nDefaultAuthType None\n"
           "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
           "<Policy default>\n  <Limit All>\n    Order deny,allow\n"
           "  </Limit>\n</Policy>\n";
    std::ofstream(m_dir + "etc/cups-files.conf")
        << "ServerRoot " << m_dir << "etc\nRequestRoot " << m_dir << "spool\nTempDir " << m_dir
        << "spool/tmp\nCacheDir " << m_dir << "cache\nStateDir " << m_dir << "state\nServerBin "
        << m_dir << "lib\nErrorLog " << m_dir << "log/error_log\nAccessLog " << m_dir
        << "log/access_log\nPageLog " << m_dir << "log/page_log\nPrintcap " << m_dir
        << "printcap\nSystemGroup root\n";
    // The scheduler starts every back end through its helper cups-exec.
    fs::create_directories(m_dir + "lib/daemon");
    std::error_code linkError;
    fs::create_symlink("/usr/lib/cups/daemon/cups-exec", m_dir + "lib/daemon/cups-exec", linkError);
    const std::string backend = m_dir + "lib/backend/capture";
    std::ofstream(backend) << kCaptureBackend;
    // Mode 0700: the scheduler runs such a back end as root, like the real ones.
    fs::permissions(backend, fs::perms::owner_all, fs::perm_options::replace);
    if (!fs::exists(backend)) {
        error = "cannot write the capture back end";
        return false;
    }
    return true;
}

bool CCupsTestServer::AddQueue(const std::string& queue, std::string& error) const {
    fs::create_directories(m_dir + "capture/" + queue);
    const std::string command = "/usr/sbin/lpadmin -h '" + Socket() + "' -p '" + queue +
                                "' -E -v 'capture:" + m_dir + "capture/" + queue + "'";
    if (Run(command) != 0) {
        error = "lpadmin could not add the queue " + queue + ": " + ErrorLog();
        return false;
    }
    return true;
}

bool CCupsTestServer::Start(const std::vector<std::string>& queues, std::string& error) {
    if (::geteuid() != 0) {
        error = "the private cupsd needs root to run its back end";
        return false;
    }
    for (const char* program : {"/usr/sbin/cupsd", "/usr/sbin/lpadmin"})
        if (::access(program, X_OK) != 0) {
            error = std::string(program) + " is not installed (packages cups-daemon, cups-client)";
            return false;
        }
    std::string pattern = (fs::temp_directory_path() / "tarn-cups-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        error = "no temporary directory";
        return false;
    }
    m_dir = pattern + "/";
    if (!WriteConfiguration(error))
        return false;
    const std::string conf = m_dir + "etc/cupsd.conf", files = m_dir + "etc/cups-files.conf";
    m_pid = ::fork();
    if (m_pid == 0) {
        ::execl("/usr/sbin/cupsd", "cupsd", "-f", "-c", conf.c_str(), "-s", files.c_str(), nullptr);
        ::_exit(127);
    }
    // It comes up in well under a second, or ends at once on a bad configuration.
    for (int i = 0; i < 100 && !Connects(Socket()) && ::waitpid(m_pid, nullptr, WNOHANG) == 0; ++i)
        std::this_thread::sleep_for(50ms);
    if (!Connects(Socket())) {
        error = "cupsd did not start: " + ErrorLog();
        return false;
    }
    return std::all_of(queues.begin(), queues.end(),
                       [&](const std::string& q) { return AddQueue(q, error); });
}

std::vector<CapturedJob> CCupsTestServer::Jobs(const std::string& queue) const {
    std::vector<fs::path> titles;
    for (const auto& entry : fs::directory_iterator(m_dir + "capture/" + queue))
        if (entry.path().extension() == ".title")
            titles.push_back(entry.path());
    std::sort(titles.begin(), titles.end(), [](const fs::path& a, const fs::path& b) {
        return std::stoi(a.stem().string().substr(4)) < std::stoi(b.stem().string().substr(4));
    });
    std::vector<CapturedJob> jobs;
    for (const fs::path& title : titles)
        jobs.push_back({ReadAll(title), ReadAll(fs::path(title).replace_extension(".data"))});
    return jobs;
}

std::vector<CapturedJob> CCupsTestServer::WaitForJobs(const std::string& queue, size_t count,
                                                      std::chrono::seconds limit) const {
    const auto end = std::chrono::steady_clock::now() + limit;
    std::vector<CapturedJob> jobs = Jobs(queue);
    while (jobs.size() < count && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(50ms);
        jobs = Jobs(queue);
    }
    return jobs;
}

std::string CCupsTestServer::ErrorLog() const {
    return ReadAll(m_dir + "log/error_log");
}

std::string PdfText(const std::string& pdf) {
    char pattern[] = "/tmp/tarn-pdf-XXXXXX";
    const int fd = ::mkstemp(pattern);
    if (fd < 0)
        return {};
    ::close(fd);
    std::ofstream(pattern, std::ios::binary) << pdf;
    std::string text;
    if (FILE* out = ::popen(
            ("/usr/bin/pdftotext -layout '" + std::string(pattern) + "' - 2>/dev/null").c_str(),
            "r")) {
        char buffer[4096];
        size_t got;
        while ((got = std::fread(buffer, 1, sizeof buffer, out)) > 0)
            text.append(buffer, got);
        ::pclose(out);
    }
    ::unlink(pattern);
    return text;
}
