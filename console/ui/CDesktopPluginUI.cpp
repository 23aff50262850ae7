#include "CDesktopPluginUI.h"

#include "CMessageBox.h"
#include "MessageIds.h"
#include "TARNTool.h"
#include "UiText.h"

#include <QApplication>
#include <QThread>

CDesktopPluginUI::CDesktopPluginUI(QString applicationTitle)
    : m_strTitle(std::move(applicationTitle)) {}

void CDesktopPluginUI::ShowError(unsigned, const std::string& strText) {
    CMessageBox::Post(QMessageBox::Critical, ToQString(strText), UiText(IDS_ERROR_CAPTION));
}

void CDesktopPluginUI::ShowWarning(unsigned, const std::string& strText) {
    CMessageBox::Post(QMessageBox::Warning, ToQString(strText), UiText(IDS_ERROR_CAPTION));
}

bool CDesktopPluginUI::AskYesNo(unsigned, const std::string& strText) {
    if (QThread::currentThread() != qApp->thread())
        return false;
    return CMessageBox::Ask(QApplication::activeWindow(), ToQString(strText), m_strTitle,
                            QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void CDesktopPluginUI::ShowPluginMessage(const std::string& strText) {
    CMessageBox::Post(QMessageBox::Information, ToQString(strText), m_strTitle);
}
