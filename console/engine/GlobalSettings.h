// The settings the console reads at start and shares between its threads.
// The data directory, the protocol file and the global configuration file may
// change while the console runs (general settings), so every access is locked.
#pragma once

#include <mutex>
#include <string>

class CGlobalSettings {
public:
    std::string ProgramDirectory;      // with a trailing "/"
    std::string InstallationDirectory; // with a trailing "/"
    std::string ApplicationTitle;      // e.g. "velda TARN! 2.5"
    std::string ConfigDatabase;        // "TARN.MDB"
    std::string HistoryDatabase;       // "HISTORY.MDB"
    std::string GatewayProgram;        // "TARN_Gateway"
    std::string HelpFile;
    std::string RegistryFile;

    // Sets the data directory (a trailing "/" is added) and the global
    // configuration file inside it.
    void SetDataDirectory(const std::string& directory);
    void SetProtocolFile(const std::string& file);
    std::string GetDataDirectory() const;
    std::string GetProtocolFile() const;
    std::string GetGlobalConfigFile() const; // data directory + "TARN.CFG"

    void SetReactivate(bool reactivate);
    bool GetReactivate() const;

private:
    mutable std::mutex m_lock;
    std::string m_strDataDirectory;
    std::string m_strProtocolFile;
    bool m_bReactivate = true;
};
