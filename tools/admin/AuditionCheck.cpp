#include "AuditionCheck.h"

#include "AuditionReadiness.h"
#include "CDBEngineTARN.h"

#include <iostream>
#include <set>

int PrintAuditionsThatCannotRun(const std::string& strDirectory) {
    // Without a reporter: a broken row is what this lists, not an error.
    CDBEngineTARN database;
    bool bConfigOpened = false, bHistoryOpened = false;
    database.Open(strDirectory + "TARN.MDB", strDirectory + "HISTORY.MDB", bConfigOpened,
                  bHistoryOpened);
    DBAuditionList auditions;
    DBPluginList plugins;
    if (!bConfigOpened || !database.GetAllAuditions(auditions) || !database.GetAllPlugins(plugins))
        return 0;
    std::set<int32_t> pluginTypes;
    for (const DBPlugin& plugin : plugins)
        pluginTypes.insert(plugin.PLUGIN_TYPE);
    int nCount = 0;
    for (const DBAudition& audition : auditions) {
        const std::string strReason =
            AuditionCannotRunReason(audition, pluginTypes.count(audition.Plugin.PLUGIN_TYPE) != 0);
        if (strReason.empty())
            continue;
        if (nCount++ == 0)
            std::cout << "auditions that cannot run:\n";
        std::cout << "  " << audition.AUDITION_ID << " " << audition.NAME << ": " << strReason
                  << "\n";
    }
    return nCount;
}
