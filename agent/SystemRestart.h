// Restarts the computer through logind (org.freedesktop.login1 Reboot with
// interactive authorisation off): polkit decides whether the agent's user may.
#pragma once

#include <string>

struct sd_bus;

class CSystemRestart {
public:
    explicit CSystemRestart(sd_bus* bus) : m_pBus(bus) {}

    // False with logind's reason when there is no bus or logind refuses.
    bool Reboot(std::string& error);

private:
    sd_bus* m_pBus;
};
