#include "MailLibrary.h"

#include "AppPaths.h"
#include "LUTool.h"

#include <dlfcn.h>

namespace {

template <class Function> Function Bind(void* handle, const char* name) {
    if (!handle)
        return nullptr;
    void* symbol = ::dlsym(handle, name);
    if (!symbol)
        LUTool().Trace(1, "Mail library: entry point %s missing", name);
    return reinterpret_cast<Function>(symbol);
}

} // namespace

CMailLibrary::CMailLibrary(const std::string& libraryPath)
    // NODELETE: the library keeps process-wide data (its text locale) that an
    // unmapping would lose; releasing the handle is all the unload needs.
    : m_handle(::dlopen(libraryPath.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE)),
      m_pfnSendMailMessage(Bind<PFN_SendMailMessage>(m_handle, "SendMailMessage")),
      m_pfnSendMailLogon(Bind<PFN_SendMailLogon>(m_handle, "SendMailLogon")),
      m_pfnSendMailLogoff(Bind<PFN_SendMailLogoff>(m_handle, "SendMailLogoff")),
      m_pfnGetAddressList(Bind<PFN_GetAddressList>(m_handle, "GetAddressList")) {
    if (!m_handle)
        LUTool().Trace(1, "Mail library %s not loaded: %s", libraryPath.c_str(), ::dlerror());
}

CMailLibrary::~CMailLibrary() {
    if (m_handle)
        ::dlclose(m_handle);
}

std::string CMailLibrary::DefaultPath() {
    return GetProgramDirectory() + "libLUSendMail.so";
}

int32_t CMailLibrary::SendMailMessage(SendMailInfo& info) const {
    return m_pfnSendMailMessage ? m_pfnSendMailMessage(&info) : MAIL_LIBRARY_MISSING;
}

int32_t CMailLibrary::SendMailLogon(SendMailLogonRecord& logon, const SendMailInfo& info) const {
    return m_pfnSendMailLogon ? m_pfnSendMailLogon(&logon, &info) : MAIL_LIBRARY_MISSING;
}

int32_t CMailLibrary::SendMailLogoff(SendMailLogonRecord& logon) const {
    return m_pfnSendMailLogoff ? m_pfnSendMailLogoff(&logon) : MAIL_LIBRARY_MISSING;
}

int32_t CMailLibrary::GetAddressList(SendMailLogonRecord& logon, AddressListInfo& request) const {
    return m_pfnGetAddressList ? m_pfnGetAddressList(&logon, &request) : MAIL_LIBRARY_MISSING;
}
