// Whether a process of this computer has an installation's databases open:
// a console that runs on them must not have its files replaced underneath.
#pragma once

#include <string>

// "process PID" of the first other process with TARN.MDB or HISTORY.MDB of
// the installation directory strHome open; empty when there is none. Only
// processes whose descriptors this account may read are seen, so run it as
// the console's account or as root.
std::string FindConsoleUsingInstallation(const std::string& strHome);
