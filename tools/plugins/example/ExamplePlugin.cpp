// A minimal TARN! audition plug-in, built from <tarn/TarnPlugin.h> alone.
//
// Each check looks for the file /tmp/tarn-example-alarm: while it exists, the
// audition signals an error whose text is the file's first line.
#include <tarn/TarnPlugin.h>

#include <fstream>

namespace {

class CExampleInstance final : public IPluginInstance {
public:
    explicit CExampleInstance(IPluginHost* pHost) : m_pHost(pHost) {}

    void Configure() override { m_pHost->ShowMessage("Dieses Beispiel hat nichts einzustellen."); }
    void Deleting() override {}
    int32_t IsConfigured() override { return 1; }
    int32_t Check(PluginCheckResult* pResult) override {
        std::ifstream alarm("/tmp/tarn-example-alarm");
        if (!alarm)
            return PLUGIN_CHECK_OK;
        std::getline(alarm, pResult->Description);
        pResult->InfoId = "alarm";
        return PLUGIN_CHECK_ERROR;
    }
    void Stop() override {}
    void GetActions(PluginActionList*) override {} // no restart actions

private:
    IPluginHost* m_pHost;
};

} // namespace

TARN_PLUGIN_EXPORT void GetPluginInfo(PluginInfo* pInfo) {
    pInfo->Type = 9001; // pick your own number, never 0
    pInfo->Name = "Beispiel";
    pInfo->Description = "Meldet einen Fehler, solange /tmp/tarn-example-alarm existiert.";
    pInfo->Version = "2.5";
    pInfo->Capabilities = PLUGIN_CAP_CLOSE_AT_ONCE;
}

TARN_PLUGIN_EXPORT int32_t CreateInstance(int32_t, const char*, IPluginHost* pHost,
                                          IPluginInstance** ppInstance) {
    *ppInstance = new CExampleInstance(pHost);
    return 0;
}

TARN_PLUGIN_EXPORT void DestroyInstance(IPluginInstance* pInstance) {
    delete static_cast<CExampleInstance*>(pInstance);
}
