// The command-check plug-in: an audition that runs a check command of the
// monitoring-plugins convention (exit status 0 OK, 1 WARNING, 2 CRITICAL,
// 3 UNKNOWN, first line of output as the text).
#include "CCommandCheckInstance.h"

#include <new>

TARN_PLUGIN_EXPORT void GetPluginInfo(PluginInfo* pInfo) {
    pInfo->Type = 100;
    pInfo->Name = "Befehlsprüfung";
    pInfo->Description = "Führt ein Prüfprogramm nach der Konvention der Monitoring-Plugins aus "
                         "(Exit-Code 0 OK, 1 WARNING, 2 CRITICAL, 3 UNKNOWN).";
    pInfo->Version = "2.5";
    pInfo->Capabilities = 0;
}

TARN_PLUGIN_EXPORT int32_t CreateInstance(int32_t nAuditionID, const char* strComputer,
                                          IPluginHost* pHost, IPluginInstance** ppInstance) {
    *ppInstance = new (std::nothrow)
        CCommandCheckInstance(nAuditionID, strComputer ? strComputer : "", pHost);
    return *ppInstance ? 0 : 1;
}

TARN_PLUGIN_EXPORT void DestroyInstance(IPluginInstance* pInstance) {
    delete static_cast<CCommandCheckInstance*>(pInstance);
}
