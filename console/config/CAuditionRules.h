// The rules of the audition editors: the fields of each audition type with
// their limits, a new audition's defaults, the restart-action controls and
// what saving derives from the fields.
//
// A property sheet uses it page by page:
//   - fill the type's page from Fields(type) (column names and limits);
//   - on leaving a page, CheckFieldValue for each of its fields;
//   - on the "Aktionen" page, RestartControls(type, systemChecked) enables the boxes;
//   - on OK, PrepareForSaving(record) and then Check(record) before SetAudition.
#pragma once

#include "ConfigField.h"
#include "DBRecords.h"
#include "TARNTool.h"

#include <optional>
#include <string_view>

// Which of the "Aktionen" controls are enabled, and what a checked "System
// neu starten" forces on the others.
struct RestartControlState {
    bool restartApp = false;     // "Applikation neu starten"
    bool restartService = false; // "Service neu starten"
    bool restartSystem = false;  // "System neu starten"
    bool parameters = false;     // "Startparameter:"
};

class CAuditionRules {
public:
    // The fields an audition of this type has: the main row's editable
    // columns, then those of the type's detail row. Empty for an unknown type.
    static const ConfigFieldTable<DBAudition>& Fields(AuditionType type);

    // A new audition of the type (AUDITION_ID_NEW, DBAudition's defaults),
    // named by the type's display name ("Netzwerk" for Net).
    static DBAudition NewAudition(AuditionType type);

    // The type of a vocabulary name ("App", "Service", "Logfile", "NTEvtLog",
    // "Net", "Plugin"; any letter case) or of its code ("5").
    static std::optional<AuditionType> ParseType(std::string_view name);
    // The vocabulary name of a type ("Net"); empty for an unknown type.
    static std::string TypeWord(AuditionType type);

    // The enabling of the restart controls for the type while "System neu
    // starten" is or is not checked.
    static RestartControlState RestartControls(AuditionType type, bool systemChecked);

    // What saving derives: exactly one event log flag (the application log
    // when it is set, else the system log), leading blanks removed from each
    // entry of the filter lists, and with a system restart neither an
    // application nor a service restart and no start parameters.
    static void PrepareForSaving(DBAudition& record);

    // Every refused field of the record: the limits of its type's fields and
    // restart actions that the type does not allow.
    static ConfigErrors Check(const DBAudition& record);
};
