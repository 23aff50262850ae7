// Helpers shared by the plug-in tests: paths of the test plug-ins, a store
// kept in memory, a user interface that records what it is shown, and access
// to the test plug-in's steering exports.
#pragma once

#include "CPlugin.h"
#include "IPluginStore.h"
#include "IPluginUI.h"

#include <mutex>
#include <string>
#include <vector>

// The path of a test plug-in, by its file name without ".spi".
std::string TestPluginPath(const std::string& strName);
// A copy of the test plug-in "good" with its ELF machine set to another
// architecture's, written to strPath.
void WriteForeignArchitecturePlugin(const std::string& strPath);

class CMemoryPluginStore : public IPluginStore {
public:
    DBPluginList Plugins;
    DBAuditionList Auditions;
    bool FailSet = false;
    bool FailRead = false;

    bool GetAllPlugins(DBPluginList& list) override;
    bool SetPlugin(const DBPlugin& record) override;
    bool DeletePlugin(const DBPlugin& record) override;
    bool GetAllAuditions(DBAuditionList& list) override;

    const DBPlugin* Find(int32_t nType) const;
    void AddPluginAudition(int32_t nAuditionID, int32_t nType);
};

struct ShownMessage {
    std::string Kind; // "error", "warning", "question", "plugin"
    unsigned ID = 0;
    std::string Text;
};

class CRecordingPluginUI : public IPluginUI {
public:
    bool Answer = true;

    void ShowError(unsigned nMessageID, const std::string& strText) override;
    void ShowWarning(unsigned nMessageID, const std::string& strText) override;
    bool AskYesNo(unsigned nMessageID, const std::string& strText) override;
    void ShowPluginMessage(const std::string& strText) override;

    std::vector<ShownMessage> Messages() const;
    // The ids of the messages shown, in order (0 for plug-in messages).
    std::vector<unsigned> IDs() const;

private:
    mutable std::mutex m_lock;
    std::vector<ShownMessage> m_messages;
    void Add(ShownMessage message);
};

// The test plug-in's steering exports, found in a loaded plug-in.
void SetTestCheck(const CPlugin& plugin, int32_t nStatus, const std::string& strDescription,
                  const std::string& strInfoId);
std::string TakeTestCalls(const CPlugin& plugin);
// What the test plug-in's IsConfigured answers; -1: the audition's key.
void SetTestConfigured(const CPlugin& plugin, int32_t nConfigured);
// While held, the test plug-in's checks wait inside Check.
void HoldTestChecks(const CPlugin& plugin, bool hold);
// Waits until a check waits on the hold; false after ten seconds without one.
bool WaitForHeldTestCheck(const CPlugin& plugin);

// The names of the entries of a folder, sorted.
std::vector<std::string> FolderEntries(const std::string& strFolder);
