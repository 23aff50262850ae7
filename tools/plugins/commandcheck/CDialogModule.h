// Finds and calls the configuration dialog module of the plug-in: first in
// the program directory (where the console's libraries lie), then beside the
// plug-in file.
#pragma once

#include <cstdint>
#include <string>

class CDialogModule {
public:
    // One of the COMMANDCHECK_DIALOG_* results; UNAVAILABLE also when the
    // module is missing or lacks its entry point.
    static int32_t Show(const std::string& strIniFile, int32_t nAuditionID,
                        const std::string& strComputer);
};
