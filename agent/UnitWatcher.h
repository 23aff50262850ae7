// Watched systemd units through the manager's D-Bus API (org.freedesktop.systemd1
// on the system bus). The watcher subscribes to unit changes and follows each
// watched unit's ActiveState; every round it also reads the states afresh, so
// that nothing a lost signal carried is missed. A unit that enters "failed",
// or leaves "active" with no job pending (not stopped on purpose), gives one
// service error line; until the unit is active again it gives no other.
// It also runs the unit jobs of commands and reports their ends.
#pragma once

#include "ContractFiles.h"
#include "ErrorLine.h"

#include <ctime>
#include <functional>
#include <map>
#include <string>
#include <systemd/sd-bus.h>
#include <vector>

// What the watcher knows of one unit between two observations.
struct UnitTrack {
    std::string Active;         // the last ActiveState seen; empty before the first
    bool Reported = false;      // this time away from "active" gave its line
    bool StopOnPurpose = false; // the agent stopped it
};

// Takes the next ActiveState of a unit; true when it is an error to report.
bool TrackUnitState(UnitTrack& track, const std::string& active, bool jobPending);

class CUnitWatcher {
public:
    // Called with the job's object path and its result ("done", "failed", ...).
    using JobHandler = std::function<void(const std::string& job, const std::string& result)>;

    explicit CUnitWatcher(std::vector<std::string> units);
    ~CUnitWatcher();
    CUnitWatcher(const CUnitWatcher&) = delete;
    CUnitWatcher& operator=(const CUnitWatcher&) = delete;

    // Connects to the system bus and subscribes to the manager's signals;
    // false with the reason when there is no bus or no systemd on it.
    bool Connect(std::string& reason);
    bool IsConnected() const { return m_pBus != nullptr; }
    sd_bus* Bus() const { return m_pBus; }
    void SetJobHandler(JobHandler handler) { m_jobHandler = std::move(handler); }

    // Handles every message that has arrived; waits for none.
    void Process();
    // Reads the state of every watched unit afresh.
    void Refresh(std::time_t now);
    // The error lines found since the last call.
    std::vector<ErrorLine> TakeLines();

    // StartUnit, StopUnit or RestartUnit in mode "replace": the job's path,
    // or false with the manager's error.
    bool StartJob(const char* method, const std::string& unit, std::string& job,
                  std::string& error);
    // The unit's ActiveState as the manager reports it now; empty on error.
    std::string ActiveState(const std::string& unit);
    // The unit's next departure from "active" is the agent's own doing.
    void ExpectStop(const std::string& unit) { m_tracks[unit].StopOnPurpose = true; }

    // The installed services with their descriptions, for "Servicelist".
    std::vector<ServiceEntry> InstalledServices();
    std::string Description(const std::string& unit);

    // The last ActiveState of every watched unit, kept across agent restarts.
    std::map<std::string, std::string> LastStates() const;
    void SetLastStates(const std::map<std::string, std::string>& states);

private:
    static int OnPropertiesChanged(sd_bus_message* message, void* self, sd_bus_error* error);
    static int OnJobRemoved(sd_bus_message* message, void* self, sd_bus_error* error);
    void Observe(const std::string& unit, const std::string& active, bool jobPending,
                 std::time_t now);
    ErrorLine DescribeFailure(const std::string& unit, const std::string& active, std::time_t now);
    std::string UnitPath(const std::string& unit);
    std::string UnitProperty(const std::string& unit, const char* interface, const char* name);
    bool HasJob(const std::string& unit);
    std::string MainProgram(const std::string& unit);
    void Disconnect();

    std::vector<std::string> m_units;
    sd_bus* m_pBus = nullptr;
    std::vector<sd_bus_slot*> m_slots;
    std::map<std::string, std::string> m_paths; // unit -> object path
    std::map<std::string, UnitTrack> m_tracks;
    std::vector<ErrorLine> m_lines;
    JobHandler m_jobHandler;
};
