// What the audition sheets work with: the configuration database, the loaded
// plug-ins with the host object their instances get, where the agents'
// "TARN.CFG" lies, and the application title for the questions' caption.
#pragma once

#include "CDBEngineTARN.h"
#include "CPluginList.h"

#include <QString>

#include <functional>
#include <string>

struct AuditionSheetContext {
    CDBEngineTARN& Database;
    const CPluginList& Plugins;
    IPluginHost& PluginHost;
    std::function<std::string()> GlobalConfigFile;
    QString Title;
};
