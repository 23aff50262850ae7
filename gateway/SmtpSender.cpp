#include "SmtpSender.h"

#include "AppPaths.h"
#include "SmtpLogin.h"
#include "SmtpReplyTracker.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <curl/curl.h>
#include <memory>
#include <optional>
#include <unistd.h>

namespace {

constexpr unsigned kDefaultSmtpPort = 25;
constexpr unsigned kDefaultSmtpsPort = 465;
// A server text with this scheme speaks TLS from the first byte.
constexpr std::string_view kImplicitTlsScheme = "smtps://";
constexpr std::string_view kPlainScheme = "smtp://";
// The console waits 2000 ms longer than this for the whole request.
constexpr long kMailTimeoutMs = 15000;

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

void AppendHeader(std::string& message, std::string_view name, std::string_view value) {
    message += name;
    for (char c : value)
        message += (c == '\r' || c == '\n') ? ' ' : c;
    message += "\r\n";
}

int OnCurlDebug(CURL*, curl_infotype type, char* data, size_t size, void* user) {
    auto* tracker = static_cast<CSmtpReplyTracker*>(user);
    if (type == CURLINFO_HEADER_OUT)
        tracker->OnCommand({data, size});
    else if (type == CURLINFO_HEADER_IN)
        tracker->OnReply({data, size});
    return 0;
}

struct CUploadSource {
    std::string_view text;
    size_t offset = 0;
};

size_t OnCurlRead(char* buffer, size_t size, size_t count, void* user) {
    auto* source = static_cast<CUploadSource*>(user);
    const size_t chunk = std::min(size * count, source->text.size() - source->offset);
    source->text.copy(buffer, chunk, source->offset);
    source->offset += chunk;
    return chunk;
}

std::string LocalHostName() {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0 || !name[0])
        return "localhost";
    return name;
}

using CurlHandle = std::unique_ptr<CURL, decltype(&curl_easy_cleanup)>;
using CurlUrl = std::unique_ptr<CURLU, decltype(&curl_url_cleanup)>;
using CurlList = std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)>;

// The server text without "smtps://" or "smtp://"; implicitTls tells which.
std::string_view WithoutScheme(std::string_view server, bool& implicitTls) {
    server = Trimmed(server);
    implicitTls = server.substr(0, kImplicitTlsScheme.size()) == kImplicitTlsScheme;
    if (implicitTls)
        return server.substr(kImplicitTlsScheme.size());
    if (server.substr(0, kPlainScheme.size()) == kPlainScheme)
        return server.substr(kPlainScheme.size());
    return server;
}

// The server's address as a URL; the path is the name the client greets with.
CurlUrl ServerUrl(std::string_view server, bool implicitTls) {
    CurlUrl url(curl_url(), curl_url_cleanup);
    std::string host;
    unsigned port = 0;
    if (!url || !CSmtpSender::SplitServer(server, host, port,
                                          implicitTls ? kDefaultSmtpsPort : kDefaultSmtpPort))
        return CurlUrl(nullptr, curl_url_cleanup);
    if (host.find(':') != std::string::npos)
        host = "[" + host + "]";
    const std::string path = "/" + LocalHostName();
    if (curl_url_set(url.get(), CURLUPART_SCHEME, implicitTls ? "smtps" : "smtp", 0) != CURLUE_OK ||
        curl_url_set(url.get(), CURLUPART_HOST, host.c_str(), 0) != CURLUE_OK ||
        curl_url_set(url.get(), CURLUPART_PORT, std::to_string(port).c_str(), 0) != CURLUE_OK ||
        curl_url_set(url.get(), CURLUPART_PATH, path.c_str(), CURLU_URLENCODE) != CURLUE_OK)
        return CurlUrl(nullptr, curl_url_cleanup);
    return url;
}

// The login of the configured server from the installation's login file.
std::optional<SmtpLogin> ReadLogin(std::string_view server) {
    std::string problem;
    std::optional<SmtpLogin> login = CSmtpLogin::Read(
        GetInstallationDirectory() + CSmtpLogin::kFileName, Trimmed(server), problem);
    if (!problem.empty())
        std::fprintf(stderr, "TARN_Gateway: %s; mail is sent without a login\n", problem.c_str());
    return login;
}

// TLS: implicit for smtps://, else STARTTLS whenever the server offers it,
// and always before a password is sent. The server's certificate is verified
// against the system's store (or the login's CAFile).
void SetSecurity(CURL* handle, bool implicitTls, const std::optional<SmtpLogin>& login) {
    const bool withUser = login && !login->User.empty();
    if (!implicitTls)
        curl_easy_setopt(handle, CURLOPT_USE_SSL,
                         static_cast<long>(withUser ? CURLUSESSL_ALL : CURLUSESSL_TRY));
    curl_easy_setopt(handle, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(handle, CURLOPT_SSL_VERIFYHOST, 2L);
    if (withUser) {
        curl_easy_setopt(handle, CURLOPT_USERNAME, login->User.c_str());
        curl_easy_setopt(handle, CURLOPT_PASSWORD, login->Password.c_str());
    }
    if (login && !login->CaFile.empty())
        curl_easy_setopt(handle, CURLOPT_CAINFO, login->CaFile.c_str());
}

} // namespace

std::string CSmtpSender::ComposeMessage(std::string_view from, std::string_view to,
                                        std::string_view subject, std::string_view body) {
    std::string message;
    message.reserve(from.size() + to.size() + subject.size() + 2 * body.size() + 32);
    AppendHeader(message, "From: ", from);
    AppendHeader(message, "To: ", to);
    AppendHeader(message, "Subject: ", subject);
    message += "\r\n";
    // SMTP lines end in CR LF and servers refuse bare line feeds. Leading dots are
    // doubled by libcurl, which recognises a line start by the CR LF before it.
    for (size_t i = 0; i < body.size(); ++i) {
        if (body[i] == '\n' && (i == 0 || body[i - 1] != '\r'))
            message += '\r';
        message += body[i];
    }
    return message;
}

bool CSmtpSender::SplitServer(std::string_view server, std::string& host, unsigned& port,
                              unsigned defaultPort) {
    server = Trimmed(server);
    std::string_view portText;
    if (!server.empty() && server.front() == '[') {
        const auto close = server.find(']');
        if (close == std::string_view::npos)
            return false;
        host = server.substr(1, close - 1);
        const std::string_view rest = server.substr(close + 1);
        if (!rest.empty() && (rest.front() != ':' || rest.size() == 1))
            return false;
        if (!rest.empty())
            portText = rest.substr(1);
    } else if (const auto colon = server.find(':');
               colon != std::string_view::npos && server.find(':', colon + 1) == server.npos) {
        host = server.substr(0, colon);
        portText = server.substr(colon + 1);
        if (portText.empty())
            return false;
    } else {
        host = server; // a name, a dotted address or a bare IPv6 address
    }
    port = defaultPort;
    if (!portText.empty()) {
        const auto [end, error] =
            std::from_chars(portText.data(), portText.data() + portText.size(), port);
        if (error != std::errc() || end != portText.data() + portText.size() || port == 0 ||
            port > 65535)
            return false;
    }
    return !host.empty();
}

std::string_view CSmtpSender::EnvelopeAddress(std::string_view address) {
    const auto open = address.find('<');
    const auto close = address.find('>', open);
    if (open != std::string_view::npos && close != std::string_view::npos)
        return address.substr(open + 1, close - open - 1);
    return Trimmed(address);
}

bool CSmtpSender::IsUsableEnvelope(std::string_view address) {
    return !address.empty() && std::none_of(address.begin(), address.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || c == '\x7f';
    });
}

int32_t CSmtpSender::Send(const GatewayRequest& request) {
    const std::string_view from = GatewayFieldText(request.MailFrom);
    const std::string_view server = GatewayFieldText(request.MailServer);
    const std::string_view to = GatewayFieldText(request.MailTo);
    if (from.empty() || server.empty() || to.empty())
        return GATEWAY_MAIL_INCOMPLETE;

    bool implicitTls = false;
    const std::string_view address = WithoutScheme(server, implicitTls);
    CurlUrl url = ServerUrl(address, implicitTls);
    CurlHandle curl(curl_easy_init(), curl_easy_cleanup);
    if (!url || !curl)
        return GATEWAY_MAIL_NO_CONNECTION;

    const std::string sender(EnvelopeAddress(from));
    const std::string recipient(EnvelopeAddress(to));
    if (!IsUsableEnvelope(sender) || !IsUsableEnvelope(recipient))
        return GATEWAY_MAIL_INCOMPLETE;
    const std::string message = ComposeMessage(from, to, GatewayFieldText(request.MailSubject),
                                               GatewayFieldText(request.MailBody));
    CurlList recipients(curl_slist_append(nullptr, recipient.c_str()), curl_slist_free_all);
    CUploadSource source{message};
    CSmtpReplyTracker tracker;

    CURL* handle = curl.get();
    curl_easy_setopt(handle, CURLOPT_CURLU, url.get());
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "smtp,smtps");
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_TIMEOUT_MS, kMailTimeoutMs);
    curl_easy_setopt(handle, CURLOPT_MAIL_FROM, sender.c_str());
    curl_easy_setopt(handle, CURLOPT_MAIL_RCPT, recipients.get());
    curl_easy_setopt(handle, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(handle, CURLOPT_READFUNCTION, OnCurlRead);
    curl_easy_setopt(handle, CURLOPT_READDATA, &source);
    curl_easy_setopt(handle, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(message.size()));
    // The debug callback sees every command and reply; it replaces the verbose print.
    curl_easy_setopt(handle, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(handle, CURLOPT_DEBUGFUNCTION, OnCurlDebug);
    curl_easy_setopt(handle, CURLOPT_DEBUGDATA, &tracker);
    const std::optional<SmtpLogin> login = ReadLogin(server);
    SetSecurity(handle, implicitTls, login);

    if (curl_easy_perform(handle) == CURLE_OK)
        return GATEWAY_MAIL_SENT;
    return tracker.RefusedAfterConnect() ? GATEWAY_MAIL_REFUSED : GATEWAY_MAIL_NO_CONNECTION;
}
