#include "CommandCheckResult.h"

#include "TextEncoding.h"

#include <cstring>

namespace {

constexpr int kExitOk = 0;
constexpr int kExitWarning = 1;
constexpr int kExitCritical = 2;
constexpr int kExitUnknown = 3;

// The first line of the text, without its line end.
std::string FirstLine(const std::string& strText) {
    std::string strLine = strText.substr(0, strText.find('\n'));
    if (!strLine.empty() && strLine.back() == '\r')
        strLine.pop_back();
    return strLine;
}

std::string ExitedText(const CommandOutcome& outcome, const std::string& strText) {
    if (outcome.ExitCode > kExitUnknown)
        return "Der Befehl endete mit dem unerwarteten Exit-Code " +
               std::to_string(outcome.ExitCode) + (strText.empty() ? "" : ": " + strText);
    return strText.empty() ? std::string(StateName(outcome.ExitCode)) + " (ohne Ausgabe)" : strText;
}

} // namespace

CommandOutcome RunCheckCommand(const CCommandCheckConfig& config, int32_t nAuditionID,
                               const std::string& strComputer, int nCancelFd) {
    CCommandRunner runner(std::chrono::seconds(config.Timeout), kCommandOutputLimit);
    return runner.Run(
        config.Command,
        {"TARN_AUDITION_ID=" + std::to_string(nAuditionID), "TARN_COMPUTER=" + strComputer},
        nCancelFd);
}

std::string CommandText(const CommandOutcome& outcome) {
    std::string strLine = FirstLine(outcome.Output);
    return strLine.empty() ? FirstLine(outcome.ErrorOutput) : strLine;
}

const char* StateName(int nExitCode) {
    switch (nExitCode) {
    case kExitOk:
        return "OK";
    case kExitWarning:
        return "WARNING";
    case kExitCritical:
        return "CRITICAL";
    default:
        return "UNKNOWN";
    }
}

void DescribeOutcome(const CommandOutcome& outcome, const CCommandCheckConfig& config,
                     PluginCheckResult& result) {
    switch (outcome.Result) {
    case CommandOutcome::Kind::Exited:
        result.InfoId = std::to_string(outcome.ExitCode);
        result.Description = ExitedText(outcome, CommandText(outcome));
        break;
    case CommandOutcome::Kind::Signalled:
        result.InfoId = "signal";
        result.Description = "Der Befehl wurde durch das Signal " + std::to_string(outcome.Signal) +
                             " (" + strsignal(outcome.Signal) + ") beendet";
        break;
    case CommandOutcome::Kind::NotStarted:
        result.InfoId = "start";
        result.Description = "Der Befehl konnte nicht gestartet werden: " + outcome.Error;
        break;
    case CommandOutcome::Kind::TimedOut:
        result.InfoId = "timeout";
        result.Description = "Der Befehl hat nach " + std::to_string(config.Timeout) +
                             " Sekunden nicht geendet und wurde abgebrochen";
        break;
    case CommandOutcome::Kind::OutputTooLarge:
        result.InfoId = "output";
        result.Description = "Der Befehl hat mehr als " + std::to_string(kCommandOutputLimit) +
                             " Bytes ausgegeben und wurde abgebrochen";
        break;
    case CommandOutcome::Kind::Cancelled:
        result.InfoId = "cancelled";
        result.Description = "Der Befehl wurde abgebrochen";
        break;
    }
    result.Description = CutToCharacters(result.Description, kDescriptionCharacters);
}

int32_t CheckStatus(const CommandOutcome& outcome, const CCommandCheckConfig& config) {
    if (outcome.Result != CommandOutcome::Kind::Exited)
        return PLUGIN_CHECK_ERROR;
    switch (outcome.ExitCode) {
    case kExitOk:
        return PLUGIN_CHECK_OK;
    case kExitWarning:
        return config.WarningIsError ? PLUGIN_CHECK_ERROR : PLUGIN_CHECK_NO_ERROR;
    case kExitUnknown:
        return config.UnknownIsError ? PLUGIN_CHECK_ERROR : PLUGIN_CHECK_NO_ERROR;
    default: // CRITICAL, and anything outside the convention (126/127: cannot run)
        return PLUGIN_CHECK_ERROR;
    }
}
