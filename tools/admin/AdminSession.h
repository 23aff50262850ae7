// What the configuration commands share: the options every one of them
// takes (--home DIR, --json, --reload), opening the installation's
// databases, FIELD=VALUE assignments through the configuration rules and
// printing records as aligned text or JSON.
#pragma once

#include "AdminCommands.h"
#include "CDBEngineTARN.h"
#include "ConfigJson.h"

#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

struct AdminSession {
    std::vector<std::string> words; // the arguments without the options
    bool json = false;
};

// Runs a command that changes the configuration; after a success with
// --reload among the arguments, signals the headless console that runs on
// the installation (found through its PID file) to follow the change.
int WithReload(const AdminArgs& args, AdminCommandFunction run);
// Takes the options out of the arguments (--reload is WithReload's); --home sets TARN_HOME for the
// whole run. False (after a message) for an option without its value.
bool ParseSessionOptions(const AdminArgs& args, AdminSession& session);
// Opens the installation's databases at this console's version; nullptr
// after a message on standard error.
std::unique_ptr<CDBEngineTARN> OpenInstallation();
// Prints "tarn-admin: <place>.<field>: <message>" per error; returns 1.
int ReportErrors(const ConfigErrors& errors, const std::string& place);
// Reads a decimal key; false after a usage message.
bool ParseKey(const std::string& text, int32_t& key);
// Prints the rows as columns padded to their widest cell.
void PrintTable(const std::vector<std::vector<std::string>>& rows);

// How many words a verb takes after it.
struct VerbArity {
    const char* verb;
    size_t minimum;
    size_t maximum;
};
constexpr size_t kAnyCount = static_cast<size_t>(-1);
// True when the first word is one of the verbs with a count of words it takes.
bool MatchesVerb(const std::vector<std::string>& words, std::initializer_list<VerbArity> verbs);
// A record as JSON, or as aligned "KEY  value" lines (flags as 0 and 1).
void PrintObject(bool json, const nlohmann::ordered_json& object);
// A list as a JSON array, or as the rows of a table.
void PrintJsonOrTable(bool json, const nlohmann::ordered_json& array,
                      const std::vector<std::vector<std::string>>& rows);

// Applies "FIELD=VALUE" words to the record through the table. A word
// without "=" or an unknown field is a usage error (returns 2); a value
// that is no number for a number field or outside the field's limit is
// refused (returns 1); else 0.
template <class Record>
int ApplyAssignments(const ConfigFieldTable<Record>& table, const std::vector<std::string>& words,
                     size_t first, Record& record);

#include "AdminSession.inl"
