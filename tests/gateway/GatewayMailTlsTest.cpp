// Mail through the gateway to a loopback server that requires TLS and a
// login: STARTTLS, implicit TLS for smtps://, the login file of the
// installation, and the certificate check.
#include "GatewayLink.h"
#include "GatewayTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

// An installation directory (TARN_HOME of the gateways this test starts) with
// a self-signed certificate for 127.0.0.1 made for the test.
class CTlsHome {
public:
    CTlsHome() {
        char pattern[] = "/tmp/tarn-smtp-tls-XXXXXX";
        if (const char* dir = ::mkdtemp(pattern))
            m_dir = std::string(dir) + "/";
        m_made = !m_dir.empty() &&
                 Shell("openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 "
                       "-nodes -days 1 -subj /CN=localhost -addext subjectAltName=IP:127.0.0.1 "
                       "-keyout '" +
                       Key() + "' -out '" + Certificate() + "' >/dev/null 2>&1");
        ::setenv("TARN_HOME", m_dir.c_str(), 1);
    }
    ~CTlsHome() {
        ::unsetenv("TARN_HOME");
        std::error_code ignored;
        fs::remove_all(m_dir, ignored);
    }
    bool Made() const { return m_made; }
    std::string Certificate() const { return m_dir + "cert.pem"; }
    std::string Key() const { return m_dir + "key.pem"; }
    // Writes smtp-login.ini with one section (no user when password is
    // empty), with the given mode.
    void WriteLogin(const std::string& server, const std::string& password, bool trustTestCa,
                    mode_t mode) const {
        const std::string path = m_dir + "smtp-login.ini";
        std::ofstream(path) << "[" << server << "]\n"
                            << (password.empty() ? "" : "User=tarn\nPassword=" + password + "\n")
                            << (trustTestCa ? "CAFile=" + Certificate() + "\n" : "");
        ::chmod(path.c_str(), mode);
    }

private:
    std::string m_dir;
    bool m_made = false;
};

struct TlsCase {
    const char* name;
    bool implicitTls;
    const char* password;
    bool trustTestCa;
    mode_t loginMode;
    int32_t answer;
};

void PrintTo(const TlsCase& c, std::ostream* out) {
    *out << c.name;
}

class GatewayMailTlsTest : public ::testing::TestWithParam<TlsCase> {};

TEST_P(GatewayMailTlsTest, AnswersAsTheServerDecides) {
    const TlsCase& c = GetParam();
    CTestRuntimeDir runtime;
    CTlsHome home;
    if (!home.Made())
        GTEST_SKIP() << "openssl could not make a test certificate";
    CSmtpTestServer server({c.implicitTls ? "--implicit-tls" : "--starttls", home.Certificate(),
                            home.Key(), "--login", "tarn:richtig"});
    if (server.Port() == 0)
        GTEST_SKIP() << "the loopback SMTP server (/usr/bin/python3 with aiosmtpd) did not start";
    const std::string address = (c.implicitTls ? "smtps://" : "") + server.Address();
    home.WriteLogin(address, c.password, c.trustTestCa, c.loginMode);
    CGatewayLink link(GatewayProgram());
    EXPECT_EQ(link.SendMail("alarm@tarn.example", address, "Alarm", "Dienst angehalten\n",
                            "admin@example.org"),
              c.answer);
    EXPECT_EQ(server.Messages().size(), c.answer == GATEWAY_MAIL_SENT ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Logins, GatewayMailTlsTest,
    ::testing::Values(
        TlsCase{"starttls_and_login", false, "richtig", true, 0600, GATEWAY_MAIL_SENT},
        TlsCase{"implicit_tls_and_login", true, "richtig", true, 0600, GATEWAY_MAIL_SENT},
        TlsCase{"wrong_password", false, "falsch", true, 0600, GATEWAY_MAIL_REFUSED},
        TlsCase{"tls_without_login", false, "", true, 0600, GATEWAY_MAIL_REFUSED},
        // A file that others may read is not used at all: no trust, no login.
        TlsCase{"login_file_readable_by_others", false, "richtig", true, 0644,
                GATEWAY_MAIL_NO_CONNECTION},
        TlsCase{"certificate_not_trusted", false, "richtig", false, 0600,
                GATEWAY_MAIL_NO_CONNECTION}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
