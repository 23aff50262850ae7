// How the command check judges and describes one run of its command, shared
// by the audition's check and the configuration dialog's test run.
#pragma once

#include "CCommandCheckConfig.h"
#include "CCommandRunner.h"

#include <tarn/TarnPlugin.h>

#include <cstdint>
#include <string>

// Standard output and standard error together are read up to this size.
inline constexpr size_t kCommandOutputLimit = 64 * 1024;
// What the console keeps of a description.
inline constexpr size_t kDescriptionCharacters = 254;

// Runs the configured command once for the audition, with TARN_AUDITION_ID
// and TARN_COMPUTER in its environment; nCancelFd as for CCommandRunner::Run.
CommandOutcome RunCheckCommand(const CCommandCheckConfig& config, int32_t nAuditionID,
                               const std::string& strComputer, int nCancelFd = -1);
// What the command said: its first line of standard output, else of standard error.
std::string CommandText(const CommandOutcome& outcome);
// "OK", "WARNING", "CRITICAL" or "UNKNOWN" for an exit code of the convention.
const char* StateName(int nExitCode);
// The check's description and info id of an outcome; the info id tells
// outcomes apart, so that a repeated error of the same kind belongs to the
// same problem.
void DescribeOutcome(const CommandOutcome& outcome, const CCommandCheckConfig& config,
                     PluginCheckResult& result);
// PLUGIN_CHECK_ERROR when the outcome is an error signal with these settings.
int32_t CheckStatus(const CommandOutcome& outcome, const CCommandCheckConfig& config);
