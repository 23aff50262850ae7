#include "CDialogModule.h"

#include "AppPaths.h"
#include "CCommandCheckConfig.h"
#include "CommandCheckDialogModule.h"

#include <dlfcn.h>

namespace {

// Toolkits do not survive being unloaded, so the module stays once loaded.
void* OpenModule() {
    for (const std::string& strFolder :
         {GetProgramDirectory(), CCommandCheckConfig::PluginFolder()}) {
        if (strFolder.empty())
            continue;
        const std::string strPath = strFolder + COMMANDCHECK_DIALOG_MODULE;
        if (void* pModule = ::dlopen(strPath.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE))
            return pModule;
    }
    return nullptr;
}

} // namespace

int32_t CDialogModule::Show(const std::string& strIniFile, int32_t nAuditionID,
                            const std::string& strComputer) {
    void* pModule = OpenModule();
    if (!pModule)
        return COMMANDCHECK_DIALOG_UNAVAILABLE;
    const auto show = reinterpret_cast<PFN_CommandCheckConfigureDialog>(
        ::dlsym(pModule, COMMANDCHECK_DIALOG_EXPORT));
    const int32_t nResult = show ? show(strIniFile.c_str(), nAuditionID, strComputer.c_str())
                                 : COMMANDCHECK_DIALOG_UNAVAILABLE;
    ::dlclose(pModule);
    return nResult;
}
