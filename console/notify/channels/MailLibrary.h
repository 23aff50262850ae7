// The mail library libLUSendMail.so, loaded by name from the program directory
// when the console starts and kept until it ends. When the library or one of
// its entry points is missing, the missing calls answer 1 without a call.
#pragma once

#include "tarn/LUSendMail.h"

#include <string>

// The answer of an entry point that could not be found.
inline constexpr int32_t MAIL_LIBRARY_MISSING = 1;

class CMailLibrary {
public:
    // Loads libraryPath (normally the program directory's libLUSendMail.so).
    explicit CMailLibrary(const std::string& libraryPath);
    ~CMailLibrary();
    CMailLibrary(const CMailLibrary&) = delete;
    CMailLibrary& operator=(const CMailLibrary&) = delete;

    // The library file of the program directory.
    static std::string DefaultPath();

    bool IsLoaded() const { return m_handle != nullptr; }
    int32_t SendMailMessage(SendMailInfo& info) const;
    int32_t SendMailLogon(SendMailLogonRecord& logon, const SendMailInfo& info) const;
    int32_t SendMailLogoff(SendMailLogonRecord& logon) const;
    int32_t GetAddressList(SendMailLogonRecord& logon, AddressListInfo& request) const;

private:
    void* m_handle = nullptr;
    PFN_SendMailMessage m_pfnSendMailMessage = nullptr;
    PFN_SendMailLogon m_pfnSendMailLogon = nullptr;
    PFN_SendMailLogoff m_pfnSendMailLogoff = nullptr;
    PFN_GetAddressList m_pfnGetAddressList = nullptr;
};
