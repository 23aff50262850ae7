// The address-book dialog, shown by the dialog module that the user interface
// provides (see tarn/LUSendMailDialog.h). The library itself has no toolkit.
#pragma once

#include <string>
#include <vector>

class CAddressBook;

class CAddressDialog {
public:
    // Shows the book with the initial names in the "To" well. True when the
    // user confirmed; chosen then holds the well's display names in order
    // (empty for an entry without one). False when the module is missing, the
    // dialog failed, or the user cancelled.
    static bool Show(const std::string& caption, const CAddressBook& book,
                     const std::vector<std::string>& initial, std::vector<std::string>& chosen);

private:
    // The module's path: beside this library.
    static std::string ModulePath();
};
