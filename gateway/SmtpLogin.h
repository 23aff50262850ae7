// The login for the mail server, kept in the installation's file
// smtp-login.ini (never in the databases, never logged): one section per mail
// server, named as the server is configured, e.g.
//
//     [mail.example.org:587]
//     User=tarn@example.org
//     Password=secret
//     ; optional: the certificate authorities to trust instead of the system's
//     CAFile=/etc/tarn/mail-ca.pem
//
// The file is only read when it is a regular file of the gateway's account
// that group and others can neither read nor write.
#pragma once

#include <optional>
#include <string>
#include <string_view>

struct SmtpLogin {
    std::string User; // empty: no login, only CAFile
    std::string Password;
    std::string CaFile; // empty: the system's store
};

class CSmtpLogin {
public:
    static constexpr const char* kFileName = "smtp-login.ini";

    // The login of the server from the file at path; none when the file is
    // missing or has no section for the server with a user or a CAFile. A file that is
    // not safe to read gives none and a reason in problem.
    static std::optional<SmtpLogin> Read(const std::string& path, std::string_view server,
                                         std::string& problem);
};
