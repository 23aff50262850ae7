// A plug-in for the host's tests, built in several variants from this one
// source (see ../CMakeLists.txt): TEST_PLUGIN_TYPE, TEST_PLUGIN_NAME,
// TEST_PLUGIN_VERSION and TEST_PLUGIN_FLAGS fill its information;
// TEST_PLUGIN_NO_DESTROY leaves out DestroyInstance; TEST_PLUGIN_CREATE_FAILS
// makes CreateInstance refuse. A test steers the check result and reads the
// log of calls through the extra exports at the end (a test that runs the
// plug-in in another program names a file in TEST_PLUGIN_CALL_FILE, to which
// every call is appended); a check can be held inside Check until the test
// lets it go.
#include <tarn/TarnPlugin.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <string>

namespace {

std::mutex g_lock;
std::string g_calls; // "Name;" per call, in call order
int32_t g_nStatus = PLUGIN_CHECK_OK;
std::string g_strDescription;
std::string g_strInfoId = "0";
// While set, a check waits inside Check until it is cleared.
bool g_bHoldChecks = false;
int g_nHeldChecks = 0;
// What IsConfigured answers; -1: the audition's key (non-zero for a stored one).
int32_t g_nConfigured = -1;
std::condition_variable g_holdChanged;

void Record(const std::string& strCall) {
    std::lock_guard guard(g_lock);
    g_calls += strCall + ";";
    if (const char* strFile = std::getenv("TEST_PLUGIN_CALL_FILE"))
        std::ofstream(strFile, std::ios::app) << strCall << ";";
}

class CTestInstance final : public IPluginInstance {
public:
    CTestInstance(int32_t nAuditionID, std::string strComputer, IPluginHost* pHost)
        : m_nAuditionID(nAuditionID), m_strComputer(std::move(strComputer)), m_pHost(pHost) {}

    // Uses the host as a plug-in would: one list and a message with its size.
    void Configure() override {
        Record("Configure");
        PluginHostList services;
        int32_t nResult = m_pHost->GetWatchedServices(m_strComputer, &services);
        std::string strText = std::to_string(nResult) + ":" + std::to_string(services.size());
        for (const PluginHostListItem& item : services)
            strText += ":" + item.Module + "/" + item.Name + "/" + item.DisplayName;
        m_pHost->ShowMessage(strText);
    }
    void Deleting() override { Record("Deleting"); }
    int32_t IsConfigured() override {
        Record("IsConfigured");
        std::lock_guard guard(g_lock);
        return g_nConfigured < 0 ? m_nAuditionID : g_nConfigured;
    }
    int32_t Check(PluginCheckResult* pResult) override {
        std::unique_lock lock(g_lock);
        g_calls += "Check(" + pResult->Description + "|" + pResult->InfoId + "|" +
                   std::to_string(pResult->Value1 + pResult->Value2 + pResult->Value3) + ");";
        if (g_bHoldChecks) {
            ++g_nHeldChecks;
            g_holdChanged.notify_all();
            g_holdChanged.wait(lock, [] { return !g_bHoldChecks; });
            --g_nHeldChecks;
            // Reads the instance after the wait, so that a use after a
            // release during the check is caught by the sanitizer.
            g_calls += "CheckEnd(" + m_strComputer + ");";
        }
        pResult->Description = g_strDescription;
        pResult->InfoId = g_strInfoId;
        return g_nStatus;
    }
    void Stop() override { Record("Stop"); }
    void GetActions(PluginActionList* pActions) override {
        Record("GetActions(" + std::to_string(pActions->size()) + ")");
        PluginAction restart;
        restart.ActionType = PLUGIN_ACTION_RESTART_SERVICE;
        restart.Extra1 = "x1";
        restart.Module = "mod.exe";
        restart.Extra3 = "x3";
        restart.Service = "Spooler";
        restart.Extra5 = "x5";
        restart.Parameters = "-fast";
        restart.ExtraValue1 = 11;
        restart.ExtraValue2 = 12;
        pActions->push_back(restart);
        PluginAction reboot;
        reboot.ActionType = PLUGIN_ACTION_RESTART_SYSTEM;
        pActions->push_back(reboot);
    }

    const std::string& Computer() const { return m_strComputer; }

private:
    int32_t m_nAuditionID;
    std::string m_strComputer;
    IPluginHost* m_pHost;
};

} // namespace

TARN_PLUGIN_EXPORT void GetPluginInfo(PluginInfo* pInfo) {
    pInfo->Type = TEST_PLUGIN_TYPE;
    pInfo->Name = TEST_PLUGIN_NAME;
    pInfo->Description = "Plug-In für die Tests des Hosts";
    pInfo->Version = TEST_PLUGIN_VERSION;
    pInfo->Capabilities = TEST_PLUGIN_FLAGS;
}

TARN_PLUGIN_EXPORT int32_t CreateInstance(int32_t nAuditionID, const char* strComputer,
                                          IPluginHost* pHost, IPluginInstance** ppInstance) {
    Record("Create(" + std::to_string(nAuditionID) + "," + strComputer + ")");
#ifdef TEST_PLUGIN_CREATE_FAILS
    (void)pHost;
    *ppInstance = nullptr;
    return 5;
#else
    *ppInstance = new CTestInstance(nAuditionID, strComputer, pHost);
    return 0;
#endif
}

#ifndef TEST_PLUGIN_NO_DESTROY
TARN_PLUGIN_EXPORT void DestroyInstance(IPluginInstance* pInstance) {
    auto* pTest = static_cast<CTestInstance*>(pInstance);
    Record("Destroy(" + pTest->Computer() + ")");
    delete pTest;
}
#endif

// ---- For the tests only ----

// Sets what the next checks return.
TARN_PLUGIN_EXPORT void TestPluginSetCheck(int32_t nStatus, const char* strDescription,
                                           const char* strInfoId) {
    std::lock_guard guard(g_lock);
    g_nStatus = nStatus;
    g_strDescription = strDescription;
    g_strInfoId = strInfoId;
}

// What IsConfigured answers from now on; -1: the audition's key.
TARN_PLUGIN_EXPORT void TestPluginSetConfigured(int32_t nConfigured) {
    std::lock_guard guard(g_lock);
    g_nConfigured = nConfigured;
}

// The calls so far; the log is emptied.
TARN_PLUGIN_EXPORT void TestPluginTakeCalls(std::string* pCalls) {
    std::lock_guard guard(g_lock);
    *pCalls = g_calls;
    g_calls.clear();
}

// 1: checks from now on wait inside Check until 0 is set.
TARN_PLUGIN_EXPORT void TestPluginHoldChecks(int32_t nHold) {
    std::lock_guard guard(g_lock);
    g_bHoldChecks = nHold != 0;
    g_holdChanged.notify_all();
}

// Waits until a check waits on the hold; false after ten seconds without one.
TARN_PLUGIN_EXPORT int32_t TestPluginWaitForHeldCheck() {
    std::unique_lock lock(g_lock);
    return g_holdChanged.wait_for(lock, std::chrono::seconds(10), [] { return g_nHeldChecks > 0; });
}
