#include "ConsoleProcess.h"
#include "DBFixtureBuilder.h"
#include "StringTable.h"

#include <fstream>
#include <gtest/gtest.h>

namespace {

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::string FirstLine(const std::string& text) {
    return text.substr(0, text.find('\n'));
}

class ConsoleStartTest : public ::testing::Test {
public:
    CConsoleSandbox m_box;

    std::string Registry() const { return m_box.HomeDir() + "registry.ini"; }
    void Sql(const std::string& file, const std::string& statement) {
        ASSERT_EQ(m_box.Shell("sqlite3 '" + m_box.HomeDir() + file + "' '" + statement + "'"), 0);
    }
    void WriteCatalogue(const std::string& digits, const std::string& language,
                        const std::string& text1000) {
        std::string ts = m_box.ProgramDir() + "c" + digits + ".ts";
        m_box.WriteFile(ts, "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!DOCTYPE TS>\n"
                            "<TS version=\"2.1\" language=\"" +
                                language +
                                "\"><context><name>"
                                "</name><message id=\"1000\"><source>x</source><translation>" +
                                text1000 + "</translation></message></context></TS>\n");
        ASSERT_EQ(m_box.Shell("/usr/lib/qt6/bin/lrelease -idbased -silent '" + ts + "' -qm '" +
                              m_box.ProgramDir() + "TARN_C_LNG_" + digits + ".qm'"),
                  0);
    }
};

TEST_F(ConsoleStartTest, HelpExplainsOptionsAndEnvironment) {
    ProcessResult result = m_box.Run({"--help"}, 10);
    EXPECT_EQ(result.exitStatus, 0);
    for (const char* word : {"--headless", "--convert", "TARN_HOME", "TARN_REGISTRY"})
        EXPECT_TRUE(Contains(result.out, word)) << word;
}

TEST_F(ConsoleStartTest, DatabaseFailuresEndTheStartWithTheirMessage) {
    struct Case {
        const char* name;
        std::function<void(ConsoleStartTest&)> damage;
        unsigned message;
    };
    const Case cases[] = {
        {"no installation", [](ConsoleStartTest&) {}, 1000},
        {"configuration file of random bytes",
         [](ConsoleStartTest& t) {
             t.m_box.InitHome();
             t.m_box.WriteFile(t.m_box.HomeDir() + "TARN.MDB", std::string(4096, '\x5a'));
         },
         1000},
        {"history file missing",
         [](ConsoleStartTest& t) {
             t.m_box.InitHome();
             std::remove((t.m_box.HomeDir() + "HISTORY.MDB").c_str());
         },
         1002},
        {"configuration file too new",
         [](ConsoleStartTest& t) {
             t.m_box.InitHome();
             t.Sql("TARN.MDB", "UPDATE A_SYSTEM SET DB_VERSION=11");
         },
         1003},
        {"history file of another version",
         [](ConsoleStartTest& t) {
             t.m_box.InitHome();
             t.Sql("HISTORY.MDB", "UPDATE A_SYSTEM SET DB_VERSION=3");
         },
         1009},
    };
    for (const Case& c : cases) {
        c.damage(*this);
        ProcessResult result = m_box.Run({"--headless"}, 30);
        EXPECT_EQ(result.exitStatus, 1) << c.name;
        std::string expected = FirstLine(LoadTarnString(c.message));
        expected = expected.substr(0, expected.find('%'));
        EXPECT_TRUE(Contains(result.err, expected)) << c.name << ": " << result.err;
    }
}

// The message is followed by a line with the full path and what to do.
TEST_F(ConsoleStartTest, MissingOrUnreadableFileNamesItsPathAndTheFix) {
    m_box.Environment()["LANG"] = "de_DE.UTF-8";
    ProcessResult missing = m_box.Run({"--headless"}, 30);
    EXPECT_EQ(missing.exitStatus, 1);
    EXPECT_TRUE(
        Contains(missing.err, LoadTarnString(1000) + "\nDatei: " + m_box.HomeDir() + "TARN.MDB\n"))
        << missing.err;
    EXPECT_TRUE(Contains(missing.err, "tarn-admin init " + m_box.HomeDir())) << missing.err;

    ASSERT_TRUE(m_box.InitHome());
    m_box.WriteFile(m_box.HomeDir() + "HISTORY.MDB", std::string(4096, '\x5a'));
    ProcessResult unreadable = m_box.Run({"--headless"}, 30);
    EXPECT_EQ(unreadable.exitStatus, 1);
    EXPECT_TRUE(Contains(unreadable.err, "Datei: " + m_box.HomeDir() + "HISTORY.MDB\n"))
        << unreadable.err;
    EXPECT_TRUE(Contains(unreadable.err, "tarn-admin check " + m_box.HomeDir())) << unreadable.err;
}

TEST_F(ConsoleStartTest, CorruptConfigurationFileIsNeverReplaced) {
    std::string garbage(8192, '\0');
    for (size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = static_cast<char>(i * 7919 % 251);
    m_box.WriteFile(m_box.HomeDir() + "TARN.MDB", garbage);
    m_box.Run({"--headless"}, 30);
    EXPECT_EQ(m_box.ReadFile(m_box.HomeDir() + "TARN.MDB"), garbage);
}

TEST_F(ConsoleStartTest, GatewayThatNeverListensStopsTheStart) {
    ASSERT_TRUE(m_box.InitHome());
    std::string gateway = m_box.ProgramDir() + "TARN_Gateway";
    m_box.WriteFile(gateway, "#!/bin/sh\nsleep 30\n");
    ASSERT_EQ(m_box.Shell("chmod +x '" + gateway + "'"), 0);
    ProcessResult result = m_box.Run({"--headless"}, 30);
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_TRUE(Contains(result.err, FirstLine(LoadTarnString(1028)))) << result.err;
    m_box.Shell("pkill -f 'sleep 30' >/dev/null 2>&1");
}

TEST_F(ConsoleStartTest, HeadlessRunShowsTitlesLogsAndEndsCleanlyOnSigterm) {
    ASSERT_TRUE(m_box.InitHome());
    m_box.Start({"--headless"});
    ASSERT_TRUE(m_box.WaitForOutput("Console\n", 30));
    ProcessResult result = m_box.Stop(30);
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_TRUE(Contains(result.out, "velda TARN! 2.5\nvelda TARN! 2.5 Console\n")) << result.out;

    std::string protocol = m_box.ReadFile(m_box.HomeDir() + "protocol.log");
    EXPECT_TRUE(Contains(protocol, "] [Info] [] [unbekannt]: " + LoadTarnString(7001) + "\n"))
        << protocol;
    EXPECT_TRUE(Contains(protocol, "] [Info] [] [unbekannt]: " + LoadTarnString(7002) + "\n"));
    // Reactivation was on (value missing) and the key exists: written back as "1".
    EXPECT_TRUE(Contains(m_box.ReadFile(Registry()), "ReactivateSurv=1"));
}

// With an English locale the shipped English catalogue gives every text of
// the run in English: event lines on standard output and in the protocol file.
TEST_F(ConsoleStartTest, HeadlessRunInEnglishWritesEnglishEventLines) {
    ASSERT_TRUE(m_box.InitHome());
    m_box.Environment()["LANG"] = "en_US.UTF-8";
    m_box.Start({"--headless"});
    ASSERT_TRUE(m_box.WaitForOutput("TARN! has started.\n", 30));
    ProcessResult result = m_box.Stop(30);
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_FALSE(Contains(result.out, LoadTarnString(7001))) << result.out;

    std::string protocol = m_box.ReadFile(m_box.HomeDir() + "protocol.log");
    EXPECT_TRUE(Contains(protocol, "] [Info] [] [unknown]: TARN! has started.\n")) << protocol;
    EXPECT_TRUE(Contains(protocol, "] [Info] [] [unknown]: TARN! has stopped.\n")) << protocol;
    EXPECT_FALSE(Contains(protocol, "unbekannt")) << protocol;
}

TEST_F(ConsoleStartTest, OemNameAndReactivationFromTheRegistryFile) {
    ASSERT_TRUE(m_box.InitHome());
    m_box.WriteFile(Registry(), "[SOFTWARE\\velda\\TARN!]\nOEMName=acme\nReactivateSurv=0\n");
    m_box.Start({"--headless"});
    ASSERT_TRUE(m_box.WaitForOutput("Console\n", 30));
    ProcessResult result = m_box.Stop(30);
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_TRUE(Contains(result.out, "acme TARN! 2.5 Console")) << result.out;
    EXPECT_TRUE(Contains(m_box.ReadFile(Registry()), "ReactivateSurv=0"));
}

TEST_F(ConsoleStartTest, NoRegistryKeyIsCreatedOnExit) {
    ASSERT_TRUE(m_box.InitHome());
    m_box.WriteFile(Registry(), "[SOFTWARE\\other]\nx=1\n");
    m_box.Start({"--headless"});
    ASSERT_TRUE(m_box.WaitForOutput("Console\n", 30));
    EXPECT_EQ(m_box.Stop(30).exitStatus, 0);
    EXPECT_EQ(m_box.ReadFile(Registry()), "[SOFTWARE\\other]\nx=1\n");
}

TEST_F(ConsoleStartTest, LanguageCatalogueSelection) {
    WriteCatalogue("09", "en", "Configuration file not found.");
    struct Case {
        const char* lang;
        const char* expected;
    } cases[] = {{"en_US.UTF-8", "Configuration file not found."},
                 {"fr_FR.UTF-8", "Configuration file not found."},
                 {"de_DE.UTF-8", "Konfigurationsdatei nicht gefunden."}};
    for (const Case& c : cases) {
        m_box.Environment()["LANG"] = c.lang;
        ProcessResult result = m_box.Run({"--headless"}, 30);
        EXPECT_TRUE(Contains(result.err, c.expected)) << c.lang << ": " << result.err;
    }
    WriteCatalogue("0C", "fr", "Fichier de configuration introuvable.");
    m_box.Environment()["LANG"] = "fr_FR.UTF-8";
    EXPECT_TRUE(
        Contains(m_box.Run({"--headless"}, 30).err, "Fichier de configuration introuvable."));
}

} // namespace

namespace {

int ConfigVersion(CConsoleSandbox& box) {
    std::string out = box.HomeDir() + "version.txt";
    box.Shell("sqlite3 '" + box.HomeDir() + "TARN.MDB' 'SELECT DB_VERSION FROM A_SYSTEM' > '" +
              out + "'");
    return std::atoi(box.ReadFile(out).c_str());
}

TEST_F(ConsoleStartTest, OlderConfigurationIsConvertedOnlyWhenAllowed) {
    ASSERT_TRUE(m_box.InitHome());
    std::string config = m_box.HomeDir() + "TARN.MDB";
    std::remove(config.c_str());
    BuildConfigFile(config, 8);
    ASSERT_EQ(ConfigVersion(m_box), 8);

    ProcessResult refused = m_box.Run({"--headless"}, 30);
    EXPECT_EQ(refused.exitStatus, 1);
    EXPECT_TRUE(Contains(refused.err, FirstLine(LoadTarnString(4006)).substr(0, 20)))
        << refused.err;
    EXPECT_EQ(ConfigVersion(m_box), 8);

    m_box.Start({"--headless", "--convert"});
    ASSERT_TRUE(m_box.WaitForOutput("Console\n", 60));
    EXPECT_EQ(m_box.Stop(30).exitStatus, 0);
    EXPECT_EQ(ConfigVersion(m_box), 10);
}

} // namespace
