// What the plug-in host shows the user. The desktop interface supplies one
// with message boxes; CHeadlessPluginUI serves servers and the command line.
// Every text arrives finished (loaded from the string table and filled in);
// the id says which message it is.
#pragma once

#include <string>

class IPluginUI {
public:
    virtual ~IPluginUI() = default;

    // An error message box: caption 1100, stop icon.
    virtual void ShowError(unsigned nMessageID, const std::string& strText) = 0;
    // A warning message box: caption 1100, warning icon.
    virtual void ShowWarning(unsigned nMessageID, const std::string& strText) = 0;
    // A yes/no question; true for yes.
    virtual bool AskYesNo(unsigned nMessageID, const std::string& strText) = 0;
    // A message a plug-in asks the host to show: the application title as the
    // caption and an OK button. May be called from any thread; called from a
    // worker thread it must not wait for the user interface thread (post the
    // box and return), since that thread may be waiting for the worker's check.
    virtual void ShowPluginMessage(const std::string& strText) = 0;
};
