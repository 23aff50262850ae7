// The command-check plug-in shipped in the program directory, installed into
// a fresh installation folder and driven through the plug-in interface with
// real check commands and shell scripts.
#include "CPluginHost.h"
#include "CPluginManager.h"
#include "PluginTestSupport.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <sys/stat.h>

namespace {

const std::string kChecks = "/usr/lib/nagios/plugins/";

// Whether a process has ended (gone, or a zombie nobody has reaped yet).
bool HasEnded(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string strLine;
    if (!std::getline(stat, strLine))
        return true;
    size_t nParen = strLine.rfind(')');
    return nParen != std::string::npos && nParen + 2 < strLine.size() && strLine[nParen + 2] == 'Z';
}

// A killed process that is not our child ends a moment after the kill.
bool EndsSoon(pid_t pid) {
    for (int i = 0; i < 500 && !HasEnded(pid); ++i)
        ::usleep(10000);
    return HasEnded(pid);
}

pid_t ReadPid(const std::string& strFile) {
    std::ifstream in(strFile);
    pid_t pid = 0;
    in >> pid;
    return pid;
}

class CommandCheckTest : public ::testing::Test {
protected:
    void SetUp() override {
        CMemoryPluginStore store;
        CRecordingPluginUI ui;
        CPluginList list;
        CPluginManager manager(list, store, ui, m_strPlugins);
        ASSERT_EQ(manager.Install(std::string(TARN_BIN_DIR) + "/CommandCheck.spi"),
                  PluginInstallResult::Installed);
        ASSERT_TRUE(list.Find(100, m_plugin));
        EXPECT_EQ(m_plugin.GetPluginInfo().Name, "Befehlsprüfung");
    }
    void TearDown() override {
        if (m_pInstance)
            m_plugin.DestroyInstance(m_pInstance);
        m_plugin.Unload();
    }

    void Configure(const std::string& strSettings) {
        std::ofstream(m_strPlugins + "CommandCheck.ini", std::ios::app) << "[Audition 17]\n"
                                                                        << strSettings << "\n";
    }
    std::string Script(const std::string& strBody) {
        std::string strPath = m_dir.Path("check" + std::to_string(++m_nScripts) + ".sh");
        TempDir::Write(strPath, "#!/bin/sh\n" + strBody + "\n");
        ::chmod(strPath.c_str(), 0755);
        return strPath;
    }
    IPluginInstance& Instance() {
        if (!m_pInstance) {
            EXPECT_EQ(m_plugin.CreateInstance(17, "alpha", nullptr, &m_pInstance), 0);
        }
        return *m_pInstance;
    }
    int32_t Check() {
        m_result = PluginCheckResult{};
        return Instance().Check(&m_result);
    }

    TempDir m_dir;
    std::string m_strPlugins = m_dir.Path("Plugins/");
    CPlugin m_plugin;
    IPluginInstance* m_pInstance = nullptr;
    PluginCheckResult m_result;
    int m_nScripts = 0;
};

struct DummyCase {
    const char* arguments;
    const char* settings;
    int32_t status;
    const char* description;
    const char* infoId;
};

class CommandCheckDummyTest : public CommandCheckTest,
                              public ::testing::WithParamInterface<DummyCase> {};

TEST_P(CommandCheckDummyTest, MapsTheExitStatus) {
    if (::access((kChecks + "check_dummy").c_str(), X_OK) != 0)
        GTEST_SKIP() << "check_dummy of monitoring-plugins-basic is not installed";
    Configure("Command=" + kChecks + "check_dummy " + GetParam().arguments + "\n" +
              GetParam().settings);
    EXPECT_EQ(Check(), GetParam().status);
    EXPECT_EQ(m_result.Description, GetParam().description);
    EXPECT_EQ(m_result.InfoId, GetParam().infoId);
}

INSTANTIATE_TEST_SUITE_P(
    States, CommandCheckDummyTest,
    ::testing::Values(
        DummyCase{"0 'alles gut'", "", PLUGIN_CHECK_OK, "OK: alles gut", "0"},
        DummyCase{"1 voll", "", PLUGIN_CHECK_NO_ERROR, "WARNING: voll", "1"},
        DummyCase{"1 voll", "WarningIsError=1", PLUGIN_CHECK_ERROR, "WARNING: voll", "1"},
        DummyCase{"2 'Dienst weg'", "", PLUGIN_CHECK_ERROR, "CRITICAL: Dienst weg", "2"},
        DummyCase{"2 'Dienst weg'", "WarningIsError=1\nUnknownIsError=1", PLUGIN_CHECK_ERROR,
                  "CRITICAL: Dienst weg", "2"},
        DummyCase{"3 seltsam", "", PLUGIN_CHECK_NO_ERROR, "UNKNOWN: seltsam", "3"},
        DummyCase{"3 seltsam", "UnknownIsError=1", PLUGIN_CHECK_ERROR, "UNKNOWN: seltsam", "3"}));

TEST_F(CommandCheckTest, FileAge) {
    if (::access((kChecks + "check_file_age").c_str(), X_OK) != 0)
        GTEST_SKIP() << "check_file_age of monitoring-plugins-basic is not installed";
    std::string strFile = m_dir.Path("watched");
    TempDir::Write(strFile, "x");
    Configure("Command=" + kChecks + "check_file_age -w 3600 -c 7200 -f '" + strFile + "'");
    EXPECT_EQ(Check(), PLUGIN_CHECK_OK);
    EXPECT_EQ(m_result.Description.rfind("FILE_AGE OK", 0), 0u) << m_result.Description;
    std::remove(strFile.c_str());
    EXPECT_EQ(Check(), PLUGIN_CHECK_ERROR);
    EXPECT_EQ(m_result.Description, "FILE_AGE CRITICAL: File not found - " + strFile);
    EXPECT_EQ(m_result.InfoId, "2");
}

TEST_F(CommandCheckTest, ScriptSeesTheAuditionAndOnlyItsFirstLineCounts) {
    Configure("Command=" + Script("echo \"$TARN_AUDITION_ID auf $TARN_COMPUTER\"\n"
                                  "echo zweite Zeile\nexit 2"));
    EXPECT_EQ(Check(), PLUGIN_CHECK_ERROR);
    EXPECT_EQ(m_result.Description, "17 auf alpha");
}

TEST_F(CommandCheckTest, LongFirstLineIsCutToFit) {
    Configure("Command=" + Script("printf 'ä%.0s' $(seq 1 300); echo; exit 2"));
    EXPECT_EQ(Check(), PLUGIN_CHECK_ERROR);
    std::string strExpected;
    for (int i = 0; i < 254; ++i)
        strExpected += "ä";
    EXPECT_EQ(m_result.Description, strExpected);
}

TEST_F(CommandCheckTest, SilentCommandNamesItsState) {
    Configure("Command=" + Script("exit 2"));
    EXPECT_EQ(Check(), PLUGIN_CHECK_ERROR);
    EXPECT_EQ(m_result.Description, "CRITICAL (ohne Ausgabe)");
}

TEST_F(CommandCheckTest, CommandThatCannotBeStarted) {
    Configure("Command=" + m_dir.Path("no-such-check") + " -w 1");
    EXPECT_EQ(Check(), PLUGIN_CHECK_ERROR);
    EXPECT_EQ(m_result.InfoId, "127");
    EXPECT_EQ(
        m_result.Description.rfind("Der Befehl endete mit dem unerwarteten Exit-Code 127: ", 0), 0u)
        << m_result.Description;
    EXPECT_NE(m_result.Description.find("no-such-check"), std::string::npos);
}

TEST_F(CommandCheckTest, CommandKilledBySignal) {
    Configure("Command=echo bye; kill -TERM $$");
    EXPECT_EQ(Check(), PLUGIN_CHECK_ERROR);
    EXPECT_EQ(m_result.InfoId, "signal");
    EXPECT_NE(m_result.Description.find("Signal 15"), std::string::npos) << m_result.Description;
}

TEST_F(CommandCheckTest, HangingCommandIsKilledAtTheTimeOut) {
    std::string strPids = m_dir.Path("pids");
    Configure("Timeout=2\nCommand=" + Script("echo $$ > " + strPids + "\necho working\nsleep 600"));
    auto begin = std::chrono::steady_clock::now();
    EXPECT_EQ(Check(), PLUGIN_CHECK_ERROR);
    EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(60));
    EXPECT_EQ(m_result.InfoId, "timeout");
    EXPECT_EQ(m_result.Description,
              "Der Befehl hat nach 2 Sekunden nicht geendet und wurde abgebrochen");
    pid_t pid = ReadPid(strPids);
    ASSERT_GT(pid, 0);
    EXPECT_TRUE(EndsSoon(pid));
}

TEST_F(CommandCheckTest, LeftOverProcessesOfTheCommandAreEnded) {
    std::string strPid = m_dir.Path("pid");
    Configure("Command=" +
              Script("sleep 600 >/dev/null 2>&1 &\necho $! > " + strPid + "\necho fertig"));
    EXPECT_EQ(Check(), PLUGIN_CHECK_OK);
    EXPECT_EQ(m_result.Description, "fertig");
    pid_t pid = ReadPid(strPid);
    ASSERT_GT(pid, 0);
    EXPECT_TRUE(EndsSoon(pid));
}

TEST_F(CommandCheckTest, FloodOfOutputIsCutOff) {
    Configure("Timeout=60\nCommand=head -c 8000000 /dev/zero | tr '\\0' x; exit 0");
    EXPECT_EQ(Check(), PLUGIN_CHECK_ERROR);
    EXPECT_EQ(m_result.InfoId, "output");
    EXPECT_EQ(m_result.Description,
              "Der Befehl hat mehr als 65536 Bytes ausgegeben und wurde abgebrochen");
}

TEST_F(CommandCheckTest, WithoutCommandTheAuditionIsNotConfigured) {
    EXPECT_EQ(Instance().IsConfigured(), 0);
    EXPECT_EQ(Check(), PLUGIN_CHECK_ERROR);
    EXPECT_EQ(m_result.InfoId, "config");
    EXPECT_NE(m_result.Description.find("[Audition 17]"), std::string::npos);
    Configure("Command=true");
    EXPECT_NE(Instance().IsConfigured(), 0);
    EXPECT_EQ(Check(), PLUGIN_CHECK_OK);
}

// Without a desktop (no widget application here) there is no dialog to show.
TEST_F(CommandCheckTest, ConfigureShowsWhereTheSettingsLive) {
    CRecordingPluginUI ui;
    CPluginHost host([] { return std::string(); }, ui);
    Configure("Command=true");
    IPluginInstance* pInstance = nullptr;
    ASSERT_EQ(m_plugin.CreateInstance(17, "", &host, &pInstance), 0);
    pInstance->Configure();
    m_plugin.DestroyInstance(pInstance);
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_NE(ui.Messages()[0].Text.find(m_strPlugins + "CommandCheck.ini"), std::string::npos);
    EXPECT_NE(ui.Messages()[0].Text.find("Befehl: true"), std::string::npos);
}

} // namespace
