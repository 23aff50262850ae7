// The plug-in host's messages while the plug-in sheet installs or removes a
// plug-in: modal boxes over the sheet, so that a refusal is read before the
// sheet goes on. The sheet's calls run on the user interface thread.
#pragma once

#include "IPluginUI.h"

#include <QString>

class QWidget;

class CPluginSheetUI : public IPluginUI {
public:
    CPluginSheetUI(QWidget& sheet, QString applicationTitle);

    void ShowError(unsigned nMessageID, const std::string& strText) override;
    void ShowWarning(unsigned nMessageID, const std::string& strText) override;
    bool AskYesNo(unsigned nMessageID, const std::string& strText) override;
    void ShowPluginMessage(const std::string& strText) override;

private:
    QWidget& m_sheet;
    QString m_strTitle;
};
