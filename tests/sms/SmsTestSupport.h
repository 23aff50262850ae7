// Shared by the SMS tests: a temporary registry file naming the simulated
// modem, the test-only time scale, and the protocol bytes spelled out.
#pragma once

#include "ModemSimulator.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace smstest {

inline const std::string STX = "\x02", ETX = "\x03", EOT = "\x04", ACK = "\x06", CR = "\r",
                         NAK = "\x15", ESC = "\x1b";

// Every character as two upper-case hexadecimal digits.
inline std::string Hex(const std::string& bytes) {
    std::string hex;
    char digits[3];
    for (unsigned char c : bytes) {
        std::snprintf(digits, sizeof digits, "%02X", c);
        hex += digits;
    }
    return hex;
}

// The letters and digits of a text, for test names.
inline std::string NameOf(const std::string& text) {
    std::string name;
    for (unsigned char c : text) {
        if (std::isalnum(c)) {
            name += static_cast<char>(c);
        }
    }
    return name.substr(0, 40);
}

// Every wait of the library multiplied by this factor (test-only variable).
inline void SetTimeScale(double scale) {
    setenv("TARN_SMS_TIME_SCALE", std::to_string(scale).c_str(), 1);
}

// A fresh directory with a registry file that TARN_REGISTRY points at.
class CTempRegistry {
public:
    CTempRegistry() {
        char pattern[] = "/tmp/tarn-sms-test-XXXXXX";
        m_dir = mkdtemp(pattern);
        m_path = m_dir + "/registry.ini";
        setenv("TARN_REGISTRY", m_path.c_str(), 1);
        Write({});
    }
    ~CTempRegistry() {
        std::error_code ignored;
        std::filesystem::remove_all(m_dir, ignored);
    }
    // The modem key with these "name=value" lines; no lines: no modem key at all.
    void Write(const std::vector<std::string>& modemValues) const {
        std::ofstream file(m_path, std::ios::trunc);
        file << "[SOFTWARE\\velda\\TARN!]\r\nDebugLevel=0\r\n";
        if (!modemValues.empty()) {
            file << "[SOFTWARE\\velda\\TARN!\\Modems]\r\n";
            for (const std::string& line : modemValues) {
                file << line << "\r\n";
            }
        }
    }
    const std::string& Dir() const { return m_dir; }

private:
    std::string m_dir;
    std::string m_path;
};

// A simulated modem on Line0, with a centre of the given kind behind it.
class SmsCallTest : public ::testing::Test {
protected:
    explicit SmsCallTest(SimCentreKind kind) : m_kind(kind) {}

    void SetUp() override {
        SetTimeScale(0.1);
        m_modem = std::make_unique<CModemSimulator>(m_kind);
        std::string error;
        if (!m_modem->Start(error)) {
            GTEST_SKIP() << "the modem simulator cannot start: " << error;
        }
        m_registry.Write({"Line0=" + m_modem->DevicePath()});
    }

    // The units the centre recognised, of one kind.
    std::vector<std::string> UnitsOf(const std::string& kind) const {
        std::vector<std::string> bytes;
        for (const SimUnit& unit : m_modem->Units()) {
            if (unit.kind == kind) {
                bytes.push_back(unit.bytes);
            }
        }
        return bytes;
    }
    std::vector<std::string> UnitKinds() const {
        std::vector<std::string> kinds;
        for (const SimUnit& unit : m_modem->Units()) {
            kinds.push_back(unit.kind);
        }
        return kinds;
    }
    // The call was taken down and the port closed.
    void ExpectHungUp(bool wasConnected) const {
        EXPECT_TRUE(m_modem->WaitForCloses(1, std::chrono::seconds(10))) << "port never closed";
        if (wasConnected) {
            EXPECT_EQ(m_modem->Escapes(), 1);
            EXPECT_GE(m_modem->HangUps(), 1);
        }
    }

    SimCentreKind m_kind;
    CTempRegistry m_registry;
    std::unique_ptr<CModemSimulator> m_modem;
};

class UcpCallTest : public SmsCallTest {
protected:
    UcpCallTest() : SmsCallTest(SimCentreKind::Ucp) {}
};

class TapCallTest : public SmsCallTest {
protected:
    TapCallTest() : SmsCallTest(SimCentreKind::Tap) {}
};

} // namespace smstest
