// Before a plug-in audition is deleted, its plug-in gets the chance to clean
// up what it keeps of the audition (its own settings), as the audition sheet
// does when the operator removes one.
#pragma once

#include "CDBEngineTARN.h"

// The stored row of the plug-in of this type; false when there is none or the
// rows cannot be read.
bool FindInstalledPlugin(CDBEngineTARN& database, int32_t type, DBPlugin& row);

// Creates an instance of the audition's plug-in, calls Deleting and gives the
// instance back. Does nothing for other audition types and when the plug-in
// is not installed or its library does not load (there is nothing to clean).
void LetPluginCleanUp(CDBEngineTARN& database, const DBAudition& audition);
