#include "CHeadlessPluginUI.h"

#include "MessageIds.h"
#include "StringTable.h"

void CHeadlessPluginUI::Print(const char* strKind, const std::string& strText) {
    std::lock_guard guard(m_lock);
    m_out << strKind << ": " << strText << std::endl;
}

void CHeadlessPluginUI::ShowError(unsigned, const std::string& strText) {
    Print(LoadTarnString(IDS_ERROR_CAPTION).c_str(), strText);
}

void CHeadlessPluginUI::ShowWarning(unsigned, const std::string& strText) {
    Print(LoadTarnString(IDS_ERROR_CAPTION).c_str(), strText);
}

bool CHeadlessPluginUI::AskYesNo(unsigned, const std::string& strText) {
    Print("?", strText);
    Print("?", m_bAnswerYes ? "ja (--yes)" : "nein (ohne --yes wird nicht bestätigt)");
    return m_bAnswerYes;
}

void CHeadlessPluginUI::ShowPluginMessage(const std::string& strText) {
    Print("Plug-In", strText);
}
