#include "CCommandCheckInstance.h"

#include "CCommandCheckConfig.h"

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

// The first nCharacters UTF-8 characters of the text.
std::string CutToCharacters(const std::string& strText, size_t nCharacters) {
    size_t nCount = 0;
    for (size_t i = 0; i < strText.size(); ++i) {
        bool bStartsCharacter = (static_cast<unsigned char>(strText[i]) & 0xC0) != 0x80;
        if (bStartsCharacter && nCount++ == nCharacters)
            return strText.substr(0, i);
    }
    return strText;
}

// What the command said: its first line of standard output, else of standard error.
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

// The description of an outcome; the info id tells outcomes apart, so that a
// repeated error of the same kind belongs to the same problem.
void Describe(const CommandOutcome& outcome, const CCommandCheckConfig& config,
              PluginCheckResult& result) {
    std::string strText = CommandText(outcome);
    switch (outcome.Result) {
    case CommandOutcome::Kind::Exited:
        result.InfoId = std::to_string(outcome.ExitCode);
        if (outcome.ExitCode > kExitUnknown)
            result.Description = "Der Befehl endete mit dem unerwarteten Exit-Code " +
                                 std::to_string(outcome.ExitCode) +
                                 (strText.empty() ? "" : ": " + strText);
        else
            result.Description = strText.empty()
                                     ? std::string(StateName(outcome.ExitCode)) + " (ohne Ausgabe)"
                                     : strText;
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
        result.Description = "Der Befehl hat mehr als " +
                             std::to_string(CCommandCheckInstance::kOutputLimit) +
                             " Bytes ausgegeben und wurde abgebrochen";
        break;
    }
    result.Description =
        CutToCharacters(result.Description, CCommandCheckInstance::kDescriptionCharacters);
}

int32_t Status(const CommandOutcome& outcome, const CCommandCheckConfig& config) {
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

} // namespace

void CCommandCheckInstance::Configure() {
    if (!m_pHost)
        return;
    CCommandCheckConfig config = CCommandCheckConfig::Read(m_nAuditionID);
    m_pHost->ShowMessage(
        "Die Befehlsprüfung dieser Überwachung wird in der Datei\n" +
        CCommandCheckConfig::FileName() + "\nim Abschnitt [" +
        CCommandCheckConfig::SectionName(m_nAuditionID) +
        "] eingestellt (Command, Timeout, WarningIsError, UnknownIsError).\n\nBefehl: " +
        (config.Command.empty() ? "(keiner)" : config.Command));
}

int32_t CCommandCheckInstance::IsConfigured() {
    return CCommandCheckConfig::Read(m_nAuditionID).Command.empty() ? 0 : 1;
}

int32_t CCommandCheckInstance::Check(PluginCheckResult* pResult) {
    CCommandCheckConfig config = CCommandCheckConfig::Read(m_nAuditionID);
    if (config.Command.empty()) {
        pResult->InfoId = "config";
        pResult->Description = "Für diese Überwachung ist kein Befehl eingestellt ([" +
                               CCommandCheckConfig::SectionName(m_nAuditionID) + "] in " +
                               CCommandCheckConfig::FileName() + ")";
        pResult->Description = CutToCharacters(pResult->Description, kDescriptionCharacters);
        return PLUGIN_CHECK_ERROR;
    }
    CCommandRunner runner(std::chrono::seconds(config.Timeout), kOutputLimit);
    CommandOutcome outcome =
        runner.Run(config.Command, {"TARN_AUDITION_ID=" + std::to_string(m_nAuditionID),
                                    "TARN_COMPUTER=" + m_strComputer});
    Describe(outcome, config, *pResult);
    return Status(outcome, config);
}
