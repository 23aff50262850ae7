#include "CPluginSheetUI.h"

#include "CMessageBox.h"
#include "UiText.h"

CPluginSheetUI::CPluginSheetUI(QWidget& sheet, QString applicationTitle)
    : m_sheet(sheet), m_strTitle(std::move(applicationTitle)) {}

void CPluginSheetUI::ShowError(unsigned, const std::string& strText) {
    CMessageBox::Error(&m_sheet, ToQString(strText));
}

void CPluginSheetUI::ShowWarning(unsigned, const std::string& strText) {
    CMessageBox::Warning(&m_sheet, ToQString(strText));
}

bool CPluginSheetUI::AskYesNo(unsigned, const std::string& strText) {
    return CMessageBox::Ask(&m_sheet, ToQString(strText), m_strTitle,
                            QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

// A plug-in's own message may come from any thread: it is posted.
void CPluginSheetUI::ShowPluginMessage(const std::string& strText) {
    CMessageBox::Post(QMessageBox::Information, ToQString(strText), m_strTitle);
}
