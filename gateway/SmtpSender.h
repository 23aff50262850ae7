// Sends one Internet mail over SMTP (through libcurl), as the gateway answers it.
#pragma once

#include "tarn/GatewayRequest.h"

#include <cstdint>
#include <string>
#include <string_view>

class CSmtpSender {
public:
    // Sends MailSubject and MailBody from MailFrom to MailTo through MailServer,
    // with STARTTLS when the server offers it and the login of smtp-login.ini
    // (SmtpLogin.h) when it has one for the server.
    // Answers GATEWAY_MAIL_SENT (0), GATEWAY_MAIL_INCOMPLETE (1),
    // GATEWAY_MAIL_NO_CONNECTION (2) or GATEWAY_MAIL_REFUSED (3).
    static int32_t Send(const GatewayRequest& request);

    // The message text: "From: " F CR LF "To: " R CR LF "Subject: " S CR LF CR LF T,
    // with every bare LF of the body sent as CR LF. Line breaks inside F, R and S
    // become blanks so that they cannot start header lines of their own.
    static std::string ComposeMessage(std::string_view from, std::string_view to,
                                      std::string_view subject, std::string_view body);
    // "host" or "host:port" (defaultPort when none); IPv6 addresses as
    // "[addr]:port" or bare. Returns false for a text without a host or with a
    // bad port. A leading "smtps://" (implicit TLS, port 465 when none) or
    // "smtp://" is taken off by Send before.
    static bool SplitServer(std::string_view server, std::string& host, unsigned& port,
                            unsigned defaultPort = 25);
    // The address inside "<...>" when the text has one, else the text itself.
    static std::string_view EnvelopeAddress(std::string_view address);
    // False for an envelope address with a control character: a CR or LF in
    // it would end the MAIL FROM or RCPT TO command and start one of its own.
    static bool IsUsableEnvelope(std::string_view address);
};
