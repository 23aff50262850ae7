#include "PluginAuditionCleanup.h"

#include "AuditionComputer.h"
#include "CScopedPluginInstance.h"
#include "TARNTool.h"

void LetPluginCleanUp(const CPluginList& plugins, IPluginHost& host, const DBAudition& audition) {
    if (static_cast<AuditionType>(audition.AUDITION_TYPE) != AuditionType::Plugin)
        return;
    CScopedPluginInstance instance(plugins, audition.Plugin.PLUGIN_TYPE, audition.AUDITION_ID,
                                   AuditionComputerOf(audition), &host);
    if (instance)
        instance->Deleting();
}
