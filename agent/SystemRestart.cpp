#include "SystemRestart.h"

#include <cstring>
#include <systemd/sd-bus.h>

bool CSystemRestart::Reboot(std::string& error) {
    if (m_pBus == nullptr) {
        error = "no system bus";
        return false;
    }
    sd_bus_error busError = SD_BUS_ERROR_NULL;
    int result =
        sd_bus_call_method(m_pBus, "org.freedesktop.login1", "/org/freedesktop/login1",
                           "org.freedesktop.login1.Manager", "Reboot", &busError, nullptr, "b", 0);
    if (result < 0)
        error = busError.message ? busError.message : std::strerror(-result);
    sd_bus_error_free(&busError);
    return result >= 0;
}
