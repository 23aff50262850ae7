// A stand-in for the address-book dialog module: instead of asking a user it
// answers as the test scripted, and it keeps what the library passed to it.
#include "tarn/LUSendMailDialog.h"

#include <string>
#include <vector>

namespace {

int32_t g_result = 1;
std::vector<std::string> g_picks;
std::string g_caption;
std::string g_initial;
std::string g_book;

} // namespace

extern "C" {

__attribute__((visibility("default"))) void
FakeDialogScript(int32_t result, const char* const* picks, int32_t count) {
    g_result = result;
    g_picks.clear();
    for (int32_t i = 0; i < count; ++i)
        g_picks.emplace_back(picks[i] ? picks[i] : "");
}

// What the last call received: the caption, the initial names joined with "|",
// and the book's entries as "name=address" joined with "|".
__attribute__((visibility("default"))) const char* FakeDialogCaption() {
    return g_caption.c_str();
}
__attribute__((visibility("default"))) const char* FakeDialogInitial() {
    return g_initial.c_str();
}
__attribute__((visibility("default"))) const char* FakeDialogBook() {
    return g_book.c_str();
}

__attribute__((visibility("default"))) int32_t
LUSendMailAddressDialog(const char* caption, const AddressBookEntry* book, int32_t bookSize,
                        const char* const* initial, int32_t initialCount,
                        AddressDialogChosen chosen, void* context) {
    g_caption = caption ? caption : "(null)";
    g_initial.clear();
    for (int32_t i = 0; i < initialCount; ++i)
        g_initial += (i ? "|" : "") + std::string(initial[i]);
    g_book.clear();
    for (int32_t i = 0; i < bookSize; ++i)
        g_book += (i ? "|" : "") + std::string(book[i].displayName) + "=" + book[i].address;
    if (g_result == 0) {
        for (const std::string& pick : g_picks)
            chosen(context, pick.c_str());
    }
    return g_result;
}

} // extern "C"
