#include "AddressDialog.h"

#include "AddressBook.h"
#include "tarn/LUSendMailDialog.h"

#include <dlfcn.h>

namespace {

void CollectChosen(void* context, const char* displayName) {
    static_cast<std::vector<std::string>*>(context)->push_back(displayName ? displayName : "");
}

} // namespace

std::string CAddressDialog::ModulePath() {
    Dl_info self{};
    if (::dladdr(reinterpret_cast<void*>(&CAddressDialog::ModulePath), &self) == 0 ||
        !self.dli_fname)
        return LUSENDMAIL_DIALOG_MODULE;
    std::string path = self.dli_fname;
    const size_t slash = path.rfind('/');
    return (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) +
           LUSENDMAIL_DIALOG_MODULE;
}

bool CAddressDialog::Show(const std::string& caption, const CAddressBook& book,
                          const std::vector<std::string>& initial,
                          std::vector<std::string>& chosen) {
    // Toolkits do not survive being unloaded, so the module stays once loaded.
    void* module = ::dlopen(ModulePath().c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (!module)
        return false;
    const auto show =
        reinterpret_cast<PFN_LUSendMailAddressDialog>(::dlsym(module, LUSENDMAIL_DIALOG_EXPORT));
    bool confirmed = false;
    if (show) {
        std::vector<AddressBookEntry> entries;
        for (const Mailbox& entry : book.Entries())
            entries.push_back({entry.displayName.c_str(), entry.address.c_str()});
        std::vector<const char*> names;
        for (const std::string& name : initial)
            names.push_back(name.c_str());
        chosen.clear();
        confirmed =
            show(caption.c_str(), entries.data(), static_cast<int32_t>(entries.size()),
                 names.data(), static_cast<int32_t>(names.size()), CollectChosen, &chosen) == 0;
    }
    ::dlclose(module);
    return confirmed;
}
