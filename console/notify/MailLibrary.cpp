#include "MailLibrary.h"

#include <dlfcn.h>

namespace {

template <class Function> Function Bind(void* module, const char* name) {
    return reinterpret_cast<Function>(::dlsym(module, name));
}

} // namespace

bool CMailLibrary::Load(const std::string& programDirectory) {
    Free();
    m_hModule = ::dlopen((programDirectory + "libLUSendMail.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!m_hModule)
        return false;
    m_pfnSendMailMessage = Bind<PFN_SendMailMessage>(m_hModule, "SendMailMessage");
    m_pfnGetAddressList = Bind<PFN_GetAddressList>(m_hModule, "GetAddressList");
    m_pfnSendMailLogon = Bind<PFN_SendMailLogon>(m_hModule, "SendMailLogon");
    m_pfnSendMailLogoff = Bind<PFN_SendMailLogoff>(m_hModule, "SendMailLogoff");
    return true;
}

void CMailLibrary::Free() {
    m_pfnSendMailMessage = nullptr;
    m_pfnGetAddressList = nullptr;
    m_pfnSendMailLogon = nullptr;
    m_pfnSendMailLogoff = nullptr;
    if (m_hModule)
        ::dlclose(m_hModule);
    m_hModule = nullptr;
}
