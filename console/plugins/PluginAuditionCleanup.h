// Before a plug-in audition is deleted, its plug-in gets the chance to clean
// up what it keeps of the audition (its own settings). The audition sheet and
// "tarn-admin audition remove" both go through here.
#pragma once

#include "CPluginList.h"
#include "DBRecords.h"

// Creates an instance of the audition's plug-in from the list, calls Deleting
// and gives the instance back. Does nothing for other audition types, when the
// plug-in is not in the list and when it refuses the instance.
void LetPluginCleanUp(const CPluginList& plugins, IPluginHost& host, const DBAudition& audition);
