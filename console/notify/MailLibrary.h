// The mail library, loaded by name from the program directory when the
// console starts and freed when it ends. A missing library or entry point
// leaves the addresses null; MS-Mail then fails without a send.
#pragma once

#include <tarn/LUSendMail.h>

#include <string>

class CMailLibrary {
public:
    CMailLibrary() = default;
    ~CMailLibrary() { Free(); }
    CMailLibrary(const CMailLibrary&) = delete;
    CMailLibrary& operator=(const CMailLibrary&) = delete;

    // Loads "libLUSendMail.so" from the directory (with a trailing "/");
    // false when it cannot be loaded. Nothing is reported.
    bool Load(const std::string& programDirectory);
    void Free();
    bool IsLoaded() const { return m_hModule != nullptr; }

    PFN_SendMailMessage m_pfnSendMailMessage = nullptr;
    PFN_GetAddressList m_pfnGetAddressList = nullptr;
    PFN_SendMailLogon m_pfnSendMailLogon = nullptr;
    PFN_SendMailLogoff m_pfnSendMailLogoff = nullptr;

private:
    void* m_hModule = nullptr;
};
