#include "PluginTestSupport.h"

#include "LUTool.h"
#include "TARNTool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <dlfcn.h>
#include <elf.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace {

// Keeps the trace file of these tests out of the working folder.
struct TraceFileInTemp {
    TraceFileInTemp() {
        char pattern[] = "/tmp/tarn-plugin-trace-XXXXXX";
        if (const char* dir = ::mkdtemp(pattern)) {
            m_strDir = dir;
            LUTool().SetFileName(m_strDir + "/TRC_TARN.LOG");
        }
    }
    ~TraceFileInTemp() {
        std::error_code error;
        if (!m_strDir.empty())
            std::filesystem::remove_all(m_strDir, error);
    }
    std::string m_strDir;
} g_traceFileInTemp;

} // namespace

std::string TestPluginPath(const std::string& strName) {
    return std::string(TARN_TEST_PLUGIN_DIR) + "/" + strName + ".spi";
}

void WriteForeignArchitecturePlugin(const std::string& strPath) {
    std::ifstream in(TestPluginPath("good"), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), {});
    ASSERT_GT(bytes.size(), size_t{EI_NIDENT + 4});
    uint16_t nMachine = 0;
    std::copy_n(bytes.data() + EI_NIDENT + 2, 2, reinterpret_cast<char*>(&nMachine));
    uint16_t nForeign = nMachine == EM_AARCH64 ? EM_X86_64 : EM_AARCH64;
    std::copy_n(reinterpret_cast<const char*>(&nForeign), 2, bytes.data() + EI_NIDENT + 2);
    std::ofstream(strPath, std::ios::binary | std::ios::trunc) << bytes;
}

bool CMemoryPluginStore::GetAllPlugins(DBPluginList& list) {
    list = Plugins;
    return !FailRead;
}

bool CMemoryPluginStore::SetPlugin(const DBPlugin& record) {
    EXPECT_NE(record.PLUGIN_TYPE, 0) << "a type of 0 must never reach the database";
    if (FailSet || record.PLUGIN_TYPE == 0)
        return false;
    for (DBPlugin& row : Plugins) {
        if (row.PLUGIN_TYPE == record.PLUGIN_TYPE) {
            row = record;
            return true;
        }
    }
    Plugins.push_back(record);
    return true;
}

bool CMemoryPluginStore::DeletePlugin(const DBPlugin& record) {
    std::erase_if(Plugins,
                  [&record](const DBPlugin& row) { return row.PLUGIN_TYPE == record.PLUGIN_TYPE; });
    return true;
}

bool CMemoryPluginStore::GetAllAuditions(DBAuditionList& list) {
    list = Auditions;
    return !FailRead;
}

const DBPlugin* CMemoryPluginStore::Find(int32_t nType) const {
    for (const DBPlugin& row : Plugins)
        if (row.PLUGIN_TYPE == nType)
            return &row;
    return nullptr;
}

void CMemoryPluginStore::AddPluginAudition(int32_t nAuditionID, int32_t nType) {
    DBAudition audition;
    audition.AUDITION_ID = nAuditionID;
    audition.AUDITION_TYPE = static_cast<int32_t>(AuditionType::Plugin);
    audition.Plugin.AUDITION_ID = nAuditionID;
    audition.Plugin.PLUGIN_TYPE = nType;
    Auditions.push_back(audition);
}

void CRecordingPluginUI::Add(ShownMessage message) {
    std::lock_guard guard(m_lock);
    m_messages.push_back(std::move(message));
}

void CRecordingPluginUI::ShowError(unsigned nMessageID, const std::string& strText) {
    Add({"error", nMessageID, strText});
}

void CRecordingPluginUI::ShowWarning(unsigned nMessageID, const std::string& strText) {
    Add({"warning", nMessageID, strText});
}

bool CRecordingPluginUI::AskYesNo(unsigned nMessageID, const std::string& strText) {
    Add({"question", nMessageID, strText});
    return Answer;
}

void CRecordingPluginUI::ShowPluginMessage(const std::string& strText) {
    Add({"plugin", 0, strText});
}

std::vector<ShownMessage> CRecordingPluginUI::Messages() const {
    std::lock_guard guard(m_lock);
    return m_messages;
}

std::vector<unsigned> CRecordingPluginUI::IDs() const {
    std::vector<unsigned> ids;
    for (const ShownMessage& message : Messages())
        ids.push_back(message.ID);
    return ids;
}

void SetTestCheck(const CPlugin& plugin, int32_t nStatus, const std::string& strDescription,
                  const std::string& strInfoId) {
    using SetCheck = void (*)(int32_t, const char*, const char*);
    auto pfnSet =
        reinterpret_cast<SetCheck>(::dlsym(plugin.GetModuleHandle(), "TestPluginSetCheck"));
    ASSERT_NE(pfnSet, nullptr);
    pfnSet(nStatus, strDescription.c_str(), strInfoId.c_str());
}

std::string TakeTestCalls(const CPlugin& plugin) {
    using TakeCalls = void (*)(std::string*);
    auto pfnTake =
        reinterpret_cast<TakeCalls>(::dlsym(plugin.GetModuleHandle(), "TestPluginTakeCalls"));
    EXPECT_NE(pfnTake, nullptr);
    std::string calls;
    if (pfnTake)
        pfnTake(&calls);
    return calls;
}

std::vector<std::string> FolderEntries(const std::string& strFolder) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(strFolder, error))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

void SetTestConfigured(const CPlugin& plugin, int32_t nConfigured) {
    using SetConfigured = void (*)(int32_t);
    auto pfnSet = reinterpret_cast<SetConfigured>(
        ::dlsym(plugin.GetModuleHandle(), "TestPluginSetConfigured"));
    ASSERT_NE(pfnSet, nullptr);
    pfnSet(nConfigured);
}

void HoldTestChecks(const CPlugin& plugin, bool hold) {
    using Hold = void (*)(int32_t);
    auto pfnHold =
        reinterpret_cast<Hold>(::dlsym(plugin.GetModuleHandle(), "TestPluginHoldChecks"));
    ASSERT_NE(pfnHold, nullptr);
    pfnHold(hold ? 1 : 0);
}

bool WaitForHeldTestCheck(const CPlugin& plugin) {
    using Wait = int32_t (*)();
    auto pfnWait =
        reinterpret_cast<Wait>(::dlsym(plugin.GetModuleHandle(), "TestPluginWaitForHeldCheck"));
    EXPECT_NE(pfnWait, nullptr);
    return pfnWait && pfnWait() != 0;
}
