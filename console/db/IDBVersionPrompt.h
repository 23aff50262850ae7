// The messages and the question of the start-up version check.
//
// Threading rule: called on the thread that runs the check (the start-up
// routine on the user-interface thread), never on the database thread and
// never while a database request is pending, so an implementation may block
// in a modal message box.
#pragma once

#include <string>

enum class DBPromptAnswer { Yes, No, Cancel };

class IDBVersionPrompt {
public:
    virtual ~IDBVersionPrompt() = default;

    // An error message: caption 1100, stop icon.
    virtual void ShowError(const std::string& strText) = 0;
    // A question with the buttons Yes, No and Cancel and the exclamation icon.
    virtual DBPromptAnswer AskYesNoCancel(const std::string& strText,
                                          const std::string& strCaption) = 0;
};
