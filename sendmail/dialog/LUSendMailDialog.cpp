// The entry point of libLUSendMailDialog.so (tarn/LUSendMailDialog.h).
#include "tarn/LUSendMailDialog.h"

#include "AddressBook.h"
#include "AddressDialogWindow.h"
#include "DialogApplication.h"

#include <string>
#include <vector>

namespace {

constexpr int32_t kConfirmed = 0;
constexpr int32_t kNotConfirmed = 1;

std::string Text(const char* text) {
    return text ? text : "";
}

bool ValidRequest(const AddressBookEntry* book, int32_t bookSize, const char* const* initial,
                  int32_t initialCount, AddressDialogChosen chosen) {
    return chosen && bookSize >= 0 && initialCount >= 0 && (bookSize == 0 || book) &&
           (initialCount == 0 || initial);
}

std::vector<Mailbox> Entries(const AddressBookEntry* book, int32_t bookSize) {
    std::vector<Mailbox> entries;
    for (int32_t i = 0; i < bookSize; ++i)
        entries.push_back({Text(book[i].displayName), Text(book[i].address)});
    return entries;
}

std::vector<std::string> Names(const char* const* initial, int32_t initialCount) {
    std::vector<std::string> names;
    for (int32_t i = 0; i < initialCount; ++i)
        names.push_back(Text(initial[i]));
    return names;
}

int32_t ShowDialog(const char* caption, const AddressBookEntry* book, int32_t bookSize,
                   const char* const* initial, int32_t initialCount, AddressDialogChosen chosen,
                   void* context) {
    if (!ValidRequest(book, bookSize, initial, initialCount, chosen))
        return kNotConfirmed;
    CDialogApplication application;
    if (!application.Ready())
        return kNotConfirmed;
    const CAddressBook addressBook(Entries(book, bookSize));
    std::vector<std::string> names;
    {
        CAddressDialogWindow window(QString::fromUtf8(Text(caption)), addressBook,
                                    Names(initial, initialCount));
        if (window.exec() != QDialog::Accepted)
            return kNotConfirmed;
        names = window.Chosen();
    }
    for (const std::string& name : names)
        chosen(context, name.c_str());
    return kConfirmed;
}

} // namespace

extern "C" __attribute__((visibility("default"))) int32_t
LUSendMailAddressDialog(const char* caption, const AddressBookEntry* book, int32_t bookSize,
                        const char* const* initial, int32_t initialCount,
                        AddressDialogChosen chosen, void* context) {
    // Nothing may cross into the C caller: out of memory counts as not confirmed.
    try {
        return ShowDialog(caption, book, bookSize, initial, initialCount, chosen, context);
    } catch (...) {
        return kNotConfirmed;
    }
}
