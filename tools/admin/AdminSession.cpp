#include "AdminSession.h"

#include "AppPaths.h"
#include "CDBSchema.h"
#include "ConsolePidFile.h"
#include "MessageIds.h"
#include "MessageText.h"
#include "StringTable.h"

#include <algorithm>
#include <charconv>
#include <csignal>
#include <cstdlib>
#include <sys/stat.h>

int WithReload(const AdminArgs& args, AdminCommandFunction run) {
    const int status = run(args);
    if (status != 0 || std::find(args.begin(), args.end(), "--reload") == args.end())
        return status;
    const pid_t console = CConsolePidFile(GetInstallationDirectory()).FindConsole();
    if (console == 0)
        std::cerr << "tarn-admin: no console runs on " << GetInstallationDirectory() << "\n";
    else if (::kill(console, SIGHUP) != 0)
        std::cerr << "tarn-admin: cannot signal the console (process " << console << ")\n";
    return status;
}

bool ParseSessionOptions(const AdminArgs& args, AdminSession& session) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--json") {
            session.json = true;
        } else if (arg == "--reload") {
            continue;
        } else if (arg == "--home" || arg.rfind("--home=", 0) == 0) {
            std::string home = arg.size() > 6 ? arg.substr(7) : "";
            if (arg == "--home") {
                if (i + 1 == args.size()) {
                    std::cerr << "tarn-admin: --home needs a directory\n";
                    return false;
                }
                home = args[++i];
            }
            ::setenv("TARN_HOME", home.c_str(), 1);
        } else {
            session.words.push_back(arg);
        }
    }
    return true;
}

std::unique_ptr<CDBEngineTARN> OpenInstallation() {
    const std::string home = GetInstallationDirectory();
    const std::string config = home + "TARN.MDB";
    const std::string history = home + "HISTORY.MDB";
    for (const std::string& file : {config, history}) {
        struct stat status {};
        if (::stat(file.c_str(), &status) != 0) {
            std::cerr << "tarn-admin: " << file << " does not exist\n";
            return nullptr;
        }
    }
    auto database = std::make_unique<CDBEngineTARN>();
    bool configOpened = false, historyOpened = false;
    if (!database->Open(config, history, configOpened, historyOpened)) {
        std::cerr << "tarn-admin: cannot open " << (configOpened ? history : config)
                  << " (busy with another process, or unreadable); nothing was changed\n";
        return nullptr;
    }
    int32_t configVersion = 0, historyVersion = 0;
    database->GetDBVersions(configVersion, historyVersion);
    if (configVersion != CDBSchema::kConfigVersion) {
        std::cerr << "tarn-admin: " << config << " has version " << configVersion
                  << ", this console needs " << CDBSchema::kConfigVersion
                  << "; start the console once to convert it\n";
        return nullptr;
    }
    return database;
}

int ReportErrors(const ConfigErrors& errors, const std::string& place) {
    for (const ConfigError& error : errors)
        std::cerr << "tarn-admin: " << place << (place.empty() ? "" : ".") << error.field << ": "
                  << error.message << "\n";
    return 1;
}

bool ParseKey(const std::string& text, int32_t& key) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), key);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        std::cerr << "tarn-admin: not a number: " << text << "\n";
        return false;
    }
    return true;
}

void PrintTable(const std::vector<std::vector<std::string>>& rows) {
    std::vector<size_t> widths;
    for (const auto& row : rows) {
        widths.resize(std::max(widths.size(), row.size()));
        for (size_t i = 0; i < row.size(); ++i)
            widths[i] = std::max(widths[i], row[i].size());
    }
    for (const auto& row : rows) {
        std::string line;
        for (size_t i = 0; i < row.size(); ++i) {
            line += row[i];
            if (i + 1 < row.size())
                line.append(widths[i] - row[i].size() + 2, ' ');
        }
        std::cout << line << "\n";
    }
}

int ReportUnknownField(const std::string& word) {
    const std::string name = word.substr(0, word.find('='));
    std::cerr << "tarn-admin: " << FillMessage(LoadTarnString(IDS_FIELD_UNKNOWN), {name}) << "\n";
    return 2;
}

int ReportValueError(const std::string& column, const std::string& message) {
    std::cerr << "tarn-admin: " << column << ": " << message << "\n";
    return 1;
}

bool MatchesVerb(const std::vector<std::string>& words, std::initializer_list<VerbArity> verbs) {
    if (words.empty())
        return false;
    const size_t count = words.size() - 1;
    for (const VerbArity& arity : verbs) {
        if (words[0] == arity.verb && count >= arity.minimum && count <= arity.maximum)
            return true;
    }
    return false;
}

void PrintObject(bool json, const nlohmann::ordered_json& object) {
    if (json) {
        std::cout << object.dump(2) << "\n";
        return;
    }
    std::vector<std::vector<std::string>> rows;
    for (const auto& [key, value] : object.items()) {
        rows.push_back({key, value.is_string()    ? value.get<std::string>()
                             : value.is_boolean() ? std::string(value.get<bool>() ? "1" : "0")
                                                  : value.dump()});
    }
    PrintTable(rows);
}

void PrintJsonOrTable(bool json, const nlohmann::ordered_json& array,
                      const std::vector<std::vector<std::string>>& rows) {
    if (json)
        std::cout << array.dump(2) << "\n";
    else
        PrintTable(rows);
}
