// The configuration of one command-check audition: section "Audition <key>"
// of "CommandCheck.ini" in the folder of the plug-in file.
//
//   [Audition 17]
//   Command=/usr/lib/nagios/plugins/check_disk -w 10% -c 5% -p /
//   Timeout=10
//   WarningIsError=0
//   UnknownIsError=1
#pragma once

#include <cstdint>
#include <string>

struct CCommandCheckConfig {
    static constexpr int kDefaultTimeout = 10; // seconds
    static constexpr int kMaximumTimeout = 3600;

    std::string Command; // run by /bin/sh -c; empty = not configured
    int Timeout = kDefaultTimeout;
    bool WarningIsError = false;
    bool UnknownIsError = false;

    // The folder of the plug-in library (with a trailing "/"), and the file in it.
    static std::string PluginFolder();
    static std::string FileName();
    static std::string SectionName(int32_t nAuditionID);
    // Reads the audition's section afresh; missing values keep their defaults,
    // a time-out outside 1 .. kMaximumTimeout is brought into that range.
    static CCommandCheckConfig Read(int32_t nAuditionID);
    static CCommandCheckConfig ReadFrom(const std::string& strFile, int32_t nAuditionID);
    // Stores the four values in the audition's section of the file, keeping
    // every other line; false when the file cannot be written or the command
    // cannot be stored on one line.
    bool WriteTo(const std::string& strFile, int32_t nAuditionID) const;
};
