#include "CCommandCheckInstance.h"

#include "CCommandCheckConfig.h"
#include "CDialogModule.h"
#include "CommandCheckDialogModule.h"
#include "CommandCheckResult.h"
#include "TextEncoding.h"

void CCommandCheckInstance::Configure() {
    if (CDialogModule::Show(CCommandCheckConfig::FileName(), m_nAuditionID, m_strComputer) ==
        COMMANDCHECK_DIALOG_UNAVAILABLE)
        ShowWhereSettingsLive();
}

void CCommandCheckInstance::ShowWhereSettingsLive() {
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
    CommandOutcome outcome = RunCheckCommand(config, m_nAuditionID, m_strComputer);
    DescribeOutcome(outcome, config, *pResult);
    return CheckStatus(outcome, config);
}
