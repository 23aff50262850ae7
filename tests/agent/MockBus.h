// A private D-Bus daemon for the agent tests, with python3-dbusmock stand-ins
// for the systemd manager (systemd_manager_mock.py beside this file) and for
// logind (dbusmock's own template). The daemon listens on a socket in a
// private directory; DBUS_SYSTEM_BUS_ADDRESS points the agent at it.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

struct sd_bus;

class CMockBus {
public:
    CMockBus();
    ~CMockBus();

    // Starts the daemon and both stand-ins; false with the reason when one
    // cannot start (the test then skips).
    bool Start(std::string& reason);
    const std::string& Address() const { return m_strAddress; }

    bool AddUnit(const std::string& name, const std::string& description,
                 const std::string& program);
    bool SetUnitState(const std::string& name, const std::string& active, const std::string& sub,
                      const std::string& result);
    bool SetJobResult(const std::string& name, const std::string& result);
    std::vector<std::string> JobCalls();
    // Makes logind's Reboot answer with an access-denied error.
    bool RefuseReboot();
    int RebootCalls();

private:
    pid_t Spawn(const std::vector<std::string>& args);
    bool WaitForName(const char* name);

    std::string m_strDirectory, m_strAddress;
    std::vector<pid_t> m_processes;
    sd_bus* m_pBus = nullptr;
};
