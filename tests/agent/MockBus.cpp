#include "MockBus.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>
#include <systemd/sd-bus.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

constexpr const char* kSystemd = "org.freedesktop.systemd1";
constexpr const char* kSystemdPath = "/org/freedesktop/systemd1";
constexpr const char* kLogind = "org.freedesktop.login1";
constexpr const char* kLogindPath = "/org/freedesktop/login1";
constexpr const char* kMock = "org.freedesktop.DBus.Mock";

} // namespace

CMockBus::CMockBus() {
    char pattern[] = "/tmp/tarn-agent-bus-XXXXXX";
    m_strDirectory = ::mkdtemp(pattern);
    m_strAddress = "unix:path=" + m_strDirectory + "/bus";
}

CMockBus::~CMockBus() {
    if (m_pBus != nullptr)
        sd_bus_flush_close_unref(m_pBus);
    for (auto pid = m_processes.rbegin(); pid != m_processes.rend(); ++pid) {
        ::kill(*pid, SIGTERM);
        ::waitpid(*pid, nullptr, 0);
    }
    std::filesystem::remove_all(m_strDirectory);
}

pid_t CMockBus::Spawn(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    int error = posix_spawnp(&pid, argv[0], &files, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&files);
    if (error != 0)
        return -1;
    m_processes.push_back(pid);
    return pid;
}

bool CMockBus::WaitForName(const char* name) {
    for (int attempt = 0; attempt < 200; ++attempt) {
        sd_bus_error error = SD_BUS_ERROR_NULL;
        sd_bus_message* reply = nullptr;
        int has = 0;
        if (sd_bus_call_method(m_pBus, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                               "org.freedesktop.DBus", "NameHasOwner", &error, &reply, "s",
                               name) >= 0)
            sd_bus_message_read(reply, "b", &has);
        sd_bus_message_unref(reply);
        sd_bus_error_free(&error);
        if (has)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

bool CMockBus::Start(std::string& reason) {
    if (Spawn({"dbus-daemon", "--session", "--nofork", "--nopidfile",
               "--address=" + m_strAddress}) < 0) {
        reason = "dbus-daemon cannot be started";
        return false;
    }
    const std::string socket = m_strDirectory + "/bus";
    for (int attempt = 0; attempt < 100 && !std::filesystem::exists(socket); ++attempt)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (sd_bus_new(&m_pBus) < 0 || sd_bus_set_address(m_pBus, m_strAddress.c_str()) < 0 ||
        sd_bus_set_bus_client(m_pBus, 1) < 0 || sd_bus_start(m_pBus) < 0) {
        reason = "the private bus at " + m_strAddress + " does not answer";
        return false;
    }
    ::setenv("DBUS_SYSTEM_BUS_ADDRESS", m_strAddress.c_str(), 1);
    const std::string mock = std::string(TARN_SOURCE_DIR) + "/tests/agent/systemd_manager_mock.py";
    Spawn({"/usr/bin/python3", "-m", "dbusmock", "--system", "--template", mock});
    Spawn({"/usr/bin/python3", "-m", "dbusmock", "--system", "--template", "logind"});
    if (!WaitForName(kSystemd) || !WaitForName(kLogind)) {
        reason = "python3-dbusmock does not start its stand-ins";
        return false;
    }
    return true;
}

bool CMockBus::AddUnit(const std::string& name, const std::string& description,
                       const std::string& program) {
    return sd_bus_call_method(m_pBus, kSystemd, kSystemdPath, kMock, "AddMockUnit", nullptr,
                              nullptr, "sss", name.c_str(), description.c_str(),
                              program.c_str()) >= 0;
}

bool CMockBus::SetUnitState(const std::string& name, const std::string& active,
                            const std::string& sub, const std::string& result) {
    return sd_bus_call_method(m_pBus, kSystemd, kSystemdPath, kMock, "SetMockUnitState", nullptr,
                              nullptr, "ssss", name.c_str(), active.c_str(), sub.c_str(),
                              result.c_str()) >= 0;
}

bool CMockBus::SetJobResult(const std::string& name, const std::string& result) {
    return sd_bus_call_method(m_pBus, kSystemd, kSystemdPath, kMock, "SetJobResult", nullptr,
                              nullptr, "ss", name.c_str(), result.c_str()) >= 0;
}

std::vector<std::string> CMockBus::JobCalls() {
    std::vector<std::string> calls;
    sd_bus_message* reply = nullptr;
    if (sd_bus_call_method(m_pBus, kSystemd, kSystemdPath, kMock, "GetJobCalls", nullptr, &reply,
                           "") >= 0 &&
        sd_bus_message_enter_container(reply, 'a', "s") > 0) {
        const char* call = nullptr;
        while (sd_bus_message_read(reply, "s", &call) > 0)
            calls.emplace_back(call);
    }
    sd_bus_message_unref(reply);
    return calls;
}

bool CMockBus::RefuseReboot() {
    return sd_bus_call_method(m_pBus, kLogind, kLogindPath, kMock, "AddMethod", nullptr, nullptr,
                              "sssss", "org.freedesktop.login1.Manager", "Reboot", "b", "",
                              "raise dbus.exceptions.DBusException('Access denied', "
                              "name='org.freedesktop.DBus.Error.AccessDenied')") >= 0;
}

int CMockBus::RebootCalls() {
    sd_bus_message* reply = nullptr;
    int count = -1;
    if (sd_bus_call_method(m_pBus, kLogind, kLogindPath, kMock, "GetMethodCalls", nullptr, &reply,
                           "s", "Reboot") >= 0 &&
        sd_bus_message_enter_container(reply, 'a', "(tav)") > 0) {
        count = 0;
        while (sd_bus_message_skip(reply, "(tav)") > 0)
            ++count;
    }
    sd_bus_message_unref(reply);
    return count;
}
