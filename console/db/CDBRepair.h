// Repair and compaction of the configuration file before the database thread
// opens it: an integrity check, a compacted copy into the "_BAK" file beside
// it, and that copy put back in place of the original.
#pragma once

#include <string>

class CDBRepair {
public:
    // Failures end the repair silently (the console goes on and opens the
    // file as it is). A file that fails the integrity check is never
    // replaced, and the last good "_BAK" copy is then kept. Returns whether
    // the compacted copy replaced the original.
    static bool RepairAndCompactDatabase(const std::string& strPath);

    // The backup's name: the file's name with "_BAK" appended.
    static std::string BackupPath(const std::string& strPath) { return strPath + "_BAK"; }

    // True when the file opens and SQLite's integrity check says "ok".
    static bool PassesIntegrityCheck(const std::string& strPath);
};
