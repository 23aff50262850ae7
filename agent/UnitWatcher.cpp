#include "UnitWatcher.h"

#include "ProcessWatcher.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <systemd/sd-bus.h>

namespace {

constexpr const char* kSystemd = "org.freedesktop.systemd1";
constexpr const char* kManagerPath = "/org/freedesktop/systemd1";
constexpr const char* kManager = "org.freedesktop.systemd1.Manager";
constexpr const char* kUnit = "org.freedesktop.systemd1.Unit";
constexpr const char* kService = "org.freedesktop.systemd1.Service";
constexpr const char* kProperties = "org.freedesktop.DBus.Properties";

bool IsActive(const std::string& state) {
    return state == "active" || state == "reloading";
}

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// Reads a "Job" value, (uo): a job id of 0 means none.
bool ReadJobPending(sd_bus_message* message, bool& pending) {
    uint32_t id = 0;
    const char* path = nullptr;
    if (sd_bus_message_read(message, "(uo)", &id, &path) < 0)
        return false;
    pending = id != 0;
    return true;
}

} // namespace

bool TrackUnitState(UnitTrack& track, const std::string& active, bool jobPending) {
    const std::string previous = track.Active;
    track.Active = active;
    if (previous.empty())
        return false; // first sight: nothing to compare with
    if (IsActive(active)) {
        track.Reported = false;
        track.StopOnPurpose = false;
        return false;
    }
    if (previous == active || track.Reported)
        return false;
    const bool failed = active == "failed";
    const bool leftUnasked = IsActive(previous) && !jobPending && !track.StopOnPurpose;
    track.Reported = failed || leftUnasked;
    return track.Reported;
}

CUnitWatcher::CUnitWatcher(std::vector<std::string> units) : m_units(std::move(units)) {}

CUnitWatcher::~CUnitWatcher() {
    Disconnect();
}

void CUnitWatcher::Disconnect() {
    for (sd_bus_slot* slot : m_slots)
        sd_bus_slot_unref(slot);
    m_slots.clear();
    if (m_pBus != nullptr)
        sd_bus_flush_close_unref(m_pBus);
    m_pBus = nullptr;
}

bool CUnitWatcher::Connect(std::string& reason) {
    sd_bus* bus = nullptr;
    int result = sd_bus_open_system(&bus);
    if (result < 0) {
        reason = std::string("no system bus: ") + std::strerror(-result);
        return false;
    }
    m_pBus = bus;
    sd_bus_error error = SD_BUS_ERROR_NULL;
    // The manager sends unit and job signals only to subscribed clients.
    result =
        sd_bus_call_method(bus, kSystemd, kManagerPath, kManager, "Subscribe", &error, nullptr, "");
    if (result < 0) {
        reason = std::string("no systemd on the system bus: ") +
                 (error.message ? error.message : std::strerror(-result));
        sd_bus_error_free(&error);
        Disconnect();
        return false;
    }
    sd_bus_slot* slot = nullptr;
    if (sd_bus_match_signal(bus, &slot, kSystemd, nullptr, kProperties, "PropertiesChanged",
                            &CUnitWatcher::OnPropertiesChanged, this) >= 0)
        m_slots.push_back(slot);
    if (sd_bus_match_signal(bus, &slot, kSystemd, kManagerPath, kManager, "JobRemoved",
                            &CUnitWatcher::OnJobRemoved, this) >= 0)
        m_slots.push_back(slot);
    for (const std::string& unit : m_units)
        UnitPath(unit);
    return true;
}

std::string CUnitWatcher::UnitPath(const std::string& unit) {
    auto found = m_paths.find(unit);
    if (found != m_paths.end())
        return found->second;
    if (m_pBus == nullptr)
        return {};
    sd_bus_error error = SD_BUS_ERROR_NULL;
    sd_bus_message* reply = nullptr;
    std::string path;
    const char* text = nullptr;
    // LoadUnit also answers for a unit that is not loaded at the moment.
    if (sd_bus_call_method(m_pBus, kSystemd, kManagerPath, kManager, "LoadUnit", &error, &reply,
                           "s", unit.c_str()) >= 0 &&
        sd_bus_message_read(reply, "o", &text) >= 0)
        path = text;
    sd_bus_message_unref(reply);
    sd_bus_error_free(&error);
    if (!path.empty())
        m_paths[unit] = path;
    return path;
}

std::string CUnitWatcher::UnitProperty(const std::string& unit, const char* interface,
                                       const char* name) {
    const std::string path = UnitPath(unit);
    if (path.empty())
        return {};
    char* value = nullptr;
    sd_bus_error error = SD_BUS_ERROR_NULL;
    std::string text;
    if (sd_bus_get_property_string(m_pBus, kSystemd, path.c_str(), interface, name, &error,
                                   &value) >= 0)
        text = value;
    std::free(value);
    sd_bus_error_free(&error);
    return text;
}

bool CUnitWatcher::HasJob(const std::string& unit) {
    const std::string path = UnitPath(unit);
    sd_bus_error error = SD_BUS_ERROR_NULL;
    sd_bus_message* reply = nullptr;
    bool pending = false;
    if (!path.empty() && sd_bus_get_property(m_pBus, kSystemd, path.c_str(), kUnit, "Job", &error,
                                             &reply, "(uo)") >= 0)
        ReadJobPending(reply, pending);
    sd_bus_message_unref(reply);
    sd_bus_error_free(&error);
    return pending;
}

std::string CUnitWatcher::ActiveState(const std::string& unit) {
    return UnitProperty(unit, kUnit, "ActiveState");
}

std::string CUnitWatcher::Description(const std::string& unit) {
    return UnitProperty(unit, kUnit, "Description");
}

// The file name of the unit's first ExecStart program.
std::string CUnitWatcher::MainProgram(const std::string& unit) {
    const std::string path = UnitPath(unit);
    sd_bus_error error = SD_BUS_ERROR_NULL;
    sd_bus_message* reply = nullptr;
    std::string program;
    const char* text = nullptr;
    if (!path.empty() && EndsWith(unit, ".service") &&
        sd_bus_get_property(m_pBus, kSystemd, path.c_str(), kService, "ExecStart", &error, &reply,
                            "a(sasbttttuii)") >= 0 &&
        sd_bus_message_enter_container(reply, 'a', "(sasbttttuii)") > 0 &&
        sd_bus_message_enter_container(reply, 'r', "sasbttttuii") > 0 &&
        sd_bus_message_read(reply, "s", &text) >= 0)
        program = BaseName(text);
    sd_bus_message_unref(reply);
    sd_bus_error_free(&error);
    return program;
}

ErrorLine CUnitWatcher::DescribeFailure(const std::string& unit, const std::string& active,
                                        std::time_t now) {
    const std::string sub = UnitProperty(unit, kUnit, "SubState");
    const std::string result =
        EndsWith(unit, ".service") ? UnitProperty(unit, kService, "Result") : "";
    ErrorLine line;
    line.When = now;
    line.Category = kCategoryService;
    line.SourceName = unit;
    line.Module = MainProgram(unit);
    line.Description = (active == "failed" ? "Der Dienst " + unit + " ist ausgefallen"
                                           : "Der Dienst " + unit + " wurde unerwartet beendet") +
                       " (" + active + (sub.empty() ? "" : "/" + sub) +
                       (result.empty() ? "" : ", Ergebnis " + result) + ")";
    return line;
}

void CUnitWatcher::Observe(const std::string& unit, const std::string& active, bool jobPending,
                           std::time_t now) {
    if (active.empty())
        return;
    if (TrackUnitState(m_tracks[unit], active, jobPending))
        m_lines.push_back(DescribeFailure(unit, active, now));
}

int CUnitWatcher::OnPropertiesChanged(sd_bus_message* message, void* self, sd_bus_error*) {
    auto* watcher = static_cast<CUnitWatcher*>(self);
    const char* path = sd_bus_message_get_path(message);
    const char* interface = nullptr;
    if (path == nullptr || sd_bus_message_read(message, "s", &interface) < 0 ||
        std::string(interface) != kUnit)
        return 0;
    auto unit = std::find_if(watcher->m_paths.begin(), watcher->m_paths.end(),
                             [&](const auto& item) { return item.second == path; });
    if (unit == watcher->m_paths.end())
        return 0;
    std::string active;
    bool jobPending = false, jobKnown = false;
    if (sd_bus_message_enter_container(message, 'a', "{sv}") < 0)
        return 0;
    while (sd_bus_message_enter_container(message, 'e', "sv") > 0) {
        const char* name = nullptr;
        if (sd_bus_message_read(message, "s", &name) < 0)
            return 0;
        const std::string property(name);
        const char* value = nullptr;
        if (property == "ActiveState" && sd_bus_message_enter_container(message, 'v', "s") > 0) {
            sd_bus_message_read(message, "s", &value);
            active = value ? value : "";
            sd_bus_message_exit_container(message);
        } else if (property == "Job" && sd_bus_message_enter_container(message, 'v', "(uo)") > 0) {
            jobKnown = ReadJobPending(message, jobPending);
            sd_bus_message_exit_container(message);
        } else if (sd_bus_message_skip(message, "v") < 0) {
            return 0;
        }
        sd_bus_message_exit_container(message);
    }
    if (!active.empty() && !jobKnown)
        jobPending = watcher->HasJob(unit->first);
    watcher->Observe(unit->first, active, jobPending, std::time(nullptr));
    return 0;
}

int CUnitWatcher::OnJobRemoved(sd_bus_message* message, void* self, sd_bus_error*) {
    auto* watcher = static_cast<CUnitWatcher*>(self);
    uint32_t id = 0;
    const char *job = nullptr, *unit = nullptr, *result = nullptr;
    if (sd_bus_message_read(message, "uoss", &id, &job, &unit, &result) >= 0 &&
        watcher->m_jobHandler)
        watcher->m_jobHandler(job, result);
    return 0;
}

void CUnitWatcher::Process() {
    if (m_pBus == nullptr)
        return;
    while (sd_bus_process(m_pBus, nullptr) > 0) {
    }
}

void CUnitWatcher::Refresh(std::time_t now) {
    if (m_pBus == nullptr)
        return;
    Process(); // signals first: they carry the states in their order
    for (const std::string& unit : m_units)
        Observe(unit, ActiveState(unit), HasJob(unit), now);
}

std::vector<ErrorLine> CUnitWatcher::TakeLines() {
    std::vector<ErrorLine> lines;
    lines.swap(m_lines);
    return lines;
}

bool CUnitWatcher::StartJob(const char* method, const std::string& unit, std::string& job,
                            std::string& error) {
    if (m_pBus == nullptr) {
        error = "systemd is not available";
        return false;
    }
    sd_bus_error busError = SD_BUS_ERROR_NULL;
    sd_bus_message* reply = nullptr;
    const char* path = nullptr;
    int result = sd_bus_call_method(m_pBus, kSystemd, kManagerPath, kManager, method, &busError,
                                    &reply, "ss", unit.c_str(), "replace");
    bool ok = result >= 0 && sd_bus_message_read(reply, "o", &path) >= 0;
    if (ok)
        job = path;
    else
        error = busError.message ? busError.message : std::strerror(result < 0 ? -result : EBADMSG);
    sd_bus_message_unref(reply);
    sd_bus_error_free(&busError);
    return ok;
}

std::vector<ServiceEntry> CUnitWatcher::InstalledServices() {
    std::map<std::string, std::string> services; // unit -> description
    if (m_pBus == nullptr)
        return {};
    sd_bus_error error = SD_BUS_ERROR_NULL;
    sd_bus_message* reply = nullptr;
    if (sd_bus_call_method(m_pBus, kSystemd, kManagerPath, kManager, "ListUnitFiles", &error,
                           &reply, "") >= 0 &&
        sd_bus_message_enter_container(reply, 'a', "(ss)") > 0) {
        const char *path = nullptr, *state = nullptr;
        while (sd_bus_message_read(reply, "(ss)", &path, &state) > 0) {
            const std::string name = BaseName(path);
            if (EndsWith(name, ".service") && !EndsWith(name, "@.service"))
                services.emplace(name, "");
        }
    }
    reply = sd_bus_message_unref(reply);
    sd_bus_error_free(&error);
    if (sd_bus_call_method(m_pBus, kSystemd, kManagerPath, kManager, "ListUnits", &error, &reply,
                           "") >= 0 &&
        sd_bus_message_enter_container(reply, 'a', "(ssssssouso)") > 0) {
        const char *name = nullptr, *description = nullptr;
        while (sd_bus_message_enter_container(reply, 'r', "ssssssouso") > 0) {
            if (sd_bus_message_read(reply, "ss", &name, &description) >= 0 &&
                EndsWith(name, ".service"))
                services[name] = description;
            sd_bus_message_skip(reply, "ssssouso");
            sd_bus_message_exit_container(reply);
        }
    }
    sd_bus_message_unref(reply);
    sd_bus_error_free(&error);
    std::vector<ServiceEntry> list;
    for (const auto& [unit, description] : services)
        list.push_back({unit, description});
    return list;
}

std::map<std::string, std::string> CUnitWatcher::LastStates() const {
    std::map<std::string, std::string> states;
    for (const auto& [unit, track] : m_tracks)
        if (!track.Active.empty())
            states[unit] = track.Active;
    return states;
}

void CUnitWatcher::SetLastStates(const std::map<std::string, std::string>& states) {
    for (const auto& [unit, active] : states)
        m_tracks[unit].Active = active;
}
