// TARN! audition plug-in interface: everything a plug-in author needs.
//
// A plug-in is an ELF shared object with the file extension ".spi" that
// exports the three functions declared at the end of this header with C
// linkage. The console loads it with dlopen, asks it for its PluginInfo, and
// creates one IPluginInstance per plug-in audition. See docs/PLUGINS.md.
//
// Binary rules: the records below hold std::string and std::vector objects
// that the console creates and the plug-in fills (or the other way round), so
// a plug-in must be built with the same C++ compiler family and standard
// library as the console (GCC or Clang with the shared libstdc++, C++11
// string ABI) and must not link the standard library statically. Both
// interfaces are called through their virtual tables: keep the order of the
// operations exactly as declared here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// ---- Information about the plug-in ----------------------------------------

// Capability flags read by the console's problem handling.
// A new problem of such an audition is closed unresolved at once when the
// audition offers no restart action (IPluginInstance::GetActions is empty).
inline constexpr uint32_t PLUGIN_CAP_CLOSE_AT_ONCE = 0x04;
// After such an immediate close the audition is stopped.
inline constexpr uint32_t PLUGIN_CAP_STOP_AFTER_ERROR = 0x08;
// The audition is stopped when one of its problems is closed unresolved at expiry.
inline constexpr uint32_t PLUGIN_CAP_STOP_AFTER_CLOSING = 0x10;

// Filled by GetPluginInfo; owned by the console. Every field starts empty or 0.
struct PluginInfo {
    int32_t Type = 0;          // the plug-in's identity; never 0, unique among installed plug-ins
    std::string Name;          // shown in lists; at most 255 characters are stored
    std::string Description;   // one or a few lines shown when installing
    std::string Version;       // compared as text against the console's "2.5": "2.10" < "2.5"
    uint32_t Capabilities = 0; // PLUGIN_CAP_* flags
};

// ---- Records exchanged with an instance -----------------------------------

// Results of IPluginInstance::Check. Only PLUGIN_CHECK_ERROR signals an error;
// every other value means "no error".
inline constexpr int32_t PLUGIN_CHECK_OK = 200;
inline constexpr int32_t PLUGIN_CHECK_ERROR = 201;
inline constexpr int32_t PLUGIN_CHECK_NO_ERROR = 202; // checked, something noteworthy, not an error

// Handed to Check, owned by the console. On an error the console records
// Description (at most 254 characters are kept) and InfoId; a repeated error
// with the same InfoId belongs to the same open problem.
struct PluginCheckResult {
    std::string Description;  // empty on entry
    std::string InfoId = "0"; // "0" on entry
    int32_t Value1 = 0;       // the three values are not read by the console
    int32_t Value2 = 0;
    int32_t Value3 = 0;
};

// Action types an action record may carry (the console's action types 1 to 7).
inline constexpr int32_t PLUGIN_ACTION_START_APP = 1;       // target: Module
inline constexpr int32_t PLUGIN_ACTION_START_SERVICE = 2;   // target: Service
inline constexpr int32_t PLUGIN_ACTION_RESTART_SYSTEM = 3;  // no target, no parameters
inline constexpr int32_t PLUGIN_ACTION_STOP_SERVICE = 4;    // target: Service
inline constexpr int32_t PLUGIN_ACTION_STOP_APP = 5;        // target: Module
inline constexpr int32_t PLUGIN_ACTION_RESTART_SERVICE = 6; // target: Service
inline constexpr int32_t PLUGIN_ACTION_RESTART_APP = 7;     // target: Module

// One action the audition offers; the console sends them to the agent in list
// order when an error of the audition opens a problem. Records with another
// type are skipped. The Extra fields are the plug-in's own business.
struct PluginAction {
    int32_t ActionType = 0;
    std::string Extra1;
    std::string Module;
    std::string Extra3;
    std::string Service;
    std::string Extra5;
    std::string Parameters;
    int32_t ExtraValue1 = 0;
    int32_t ExtraValue2 = 0;
};
using PluginActionList = std::vector<PluginAction>;

// ---- The instance a plug-in creates per audition --------------------------

// Calls come from the console's user interface thread (Configure, Deleting,
// IsConfigured, GetActions) and from its audition thread (Check, Stop); calls
// on different instances may run at the same time on different threads.
class IPluginInstance {
public:
    // Shows the plug-in's own configuration for the audition.
    virtual void Configure() = 0;
    // The user has confirmed deleting the audition; called before it is deleted.
    virtual void Deleting() = 0;
    // Non-zero when the audition is completely configured.
    virtual int32_t IsConfigured() = 0;
    // One check of the audition; PLUGIN_CHECK_ERROR signals an error.
    virtual int32_t Check(PluginCheckResult* result) = 0;
    // The audition is stopped.
    virtual void Stop() = 0;
    // Appends the actions the audition offers to the console's empty list.
    virtual void GetActions(PluginActionList* actions) = 0;

protected:
    // Instances are given back through DestroyInstance, never deleted by the console.
    ~IPluginInstance() = default;
};

// ---- What the console offers back ------------------------------------------

// Results of the three list operations of IPluginHost.
inline constexpr int32_t PLUGIN_HOST_OK = 0; // the computer is known (its list may be empty)
inline constexpr int32_t PLUGIN_HOST_NO_CONFIG_FILE = 100;   // no data directory is configured
inline constexpr int32_t PLUGIN_HOST_UNKNOWN_COMPUTER = 101; // not among the agents' computers

// One item of a host list: a service ("Module;Name;DisplayName" in the
// agents' configuration) or an application (Module only).
struct PluginHostListItem {
    std::string Module;      // the item's first field
    std::string Reserved2;   // empty
    std::string Name;        // second field (services only)
    std::string DisplayName; // third field (services only)
    std::string Reserved5;   // empty
    int32_t Value = 0;       // 0
};
using PluginHostList = std::vector<PluginHostListItem>;

// The console's own object, handed to CreateInstance; valid while the
// instance lives. Every operation may be called from any thread.
class IPluginHost {
public:
    // The services installed on the computer. The list is emptied first.
    virtual int32_t GetInstalledServices(const std::string& computer, PluginHostList* list) = 0;
    // The services the agent on the computer watches.
    virtual int32_t GetWatchedServices(const std::string& computer, PluginHostList* list) = 0;
    // The applications the agent on the computer watches.
    virtual int32_t GetWatchedApps(const std::string& computer, PluginHostList* list) = 0;
    // Shows the text in a message box with the application title and an OK button.
    virtual void ShowMessage(const std::string& text) = 0;

protected:
    ~IPluginHost() = default;
};

// ---- The three exports -------------------------------------------------------

#define TARN_PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))

extern "C" {
// Fills the console's PluginInfo.
using GetPluginInfoFunction = void (*)(PluginInfo* info);
// Creates the instance for one audition. computer is the computer the audition
// watches (UTF-8; empty for the console's own computer). Returns 0 and stores
// the instance in *instance on success; any other value means no instance.
using CreateInstanceFunction = int32_t (*)(int32_t auditionId, const char* computer,
                                           IPluginHost* host, IPluginInstance** instance);
// Gives back an instance that CreateInstance made.
using DestroyInstanceFunction = void (*)(IPluginInstance* instance);
}

// A plug-in defines these three, e.g.
//   TARN_PLUGIN_EXPORT void GetPluginInfo(PluginInfo* info) { ... }
// The declarations make the compiler check the signatures.
TARN_PLUGIN_EXPORT void GetPluginInfo(PluginInfo* info);
TARN_PLUGIN_EXPORT int32_t CreateInstance(int32_t auditionId, const char* computer,
                                          IPluginHost* host, IPluginInstance** instance);
TARN_PLUGIN_EXPORT void DestroyInstance(IPluginInstance* instance);
