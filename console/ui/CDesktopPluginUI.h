// The plug-in host's messages on the desktop. Errors, warnings and plug-in
// messages are posted to the user interface thread (they may come while the
// engine starts or from a worker thread); the yes/no question is modal and is
// only asked on the user interface thread (elsewhere it answers no).
#pragma once

#include "IPluginUI.h"

#include <QString>

class CDesktopPluginUI : public IPluginUI {
public:
    explicit CDesktopPluginUI(QString applicationTitle);

    void ShowError(unsigned nMessageID, const std::string& strText) override;
    void ShowWarning(unsigned nMessageID, const std::string& strText) override;
    bool AskYesNo(unsigned nMessageID, const std::string& strText) override;
    void ShowPluginMessage(const std::string& strText) override;

private:
    QString m_strTitle;
};
