#include "AgentExchange.h"
#include "StringTable.h"
#include "TARNTool.h"

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct Line {
    int kind;
    std::string computer, audition, text;
};

class RecordingSink : public IEventViewSink {
public:
    void AddEventViewLine(int kind, const std::string& computer, const std::string& audition,
                          const std::string& text) override {
        lines.push_back({kind, computer, audition, text});
    }
    std::vector<Line> lines;
};

class AgentExchangeTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tarn-agents-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_dir = std::string(pattern) + "/";
    }
    void TearDown() override { fs::remove_all(m_dir); }

    void WriteFile(const std::string& relative, const std::string& text) {
        fs::path path = m_dir + relative;
        fs::create_directories(path.parent_path());
        std::ofstream(path) << text;
    }
    void SetAgentRunning(const std::string& computer, bool running) {
        WriteFile(computer + "/" + computer + ".INI",
                  std::string("[Information]\r\nTARNStartDate=") + (running ? "19980301" : "") +
                      "\r\nLastTouch=x\r\n");
    }
    AuditionEntry Entry(AuditionType type, const std::string& computer,
                        const std::string& module = "") {
        AuditionEntry entry;
        entry.Definition.AUDITION_ID = 1;
        entry.Definition.NAME = "watch";
        entry.Definition.AUDITION_TYPE = static_cast<int32_t>(type);
        entry.Definition.AgentComputer = computer;
        entry.Definition.Service.SERVICE_MODULE = module;
        entry.Definition.App.APP_MODULE = module;
        return entry;
    }

    std::string m_dir;
    CComputerList m_computers;
    RecordingSink m_sink;
    CAgentExchange m_exchange{m_computers, m_sink, [this] { return m_dir; }};
};

TEST_F(AgentExchangeTest, RegistrationSetsPathsAndCounts) {
    AuditionEntry entry = Entry(AuditionType::Service, "alpha");
    m_exchange.RegisterAgentComputer(entry);
    m_exchange.RegisterAgentComputer(entry);
    m_exchange.RegisterAgentComputer(Entry(AuditionType::Logfile, ""));
    ASSERT_EQ(m_computers.GetSize(), 1);
    AgentComputer alpha = m_exchange.GetAgentComputer("alpha");
    EXPECT_EQ(alpha.Directory, m_dir + "alpha/");
    EXPECT_EQ(alpha.LogFile, m_dir + "alpha/alpha.log");
    EXPECT_EQ(alpha.InfoFile, m_dir + "alpha/alpha.INI");
    EXPECT_EQ(alpha.AuditionCount, 2);
}

TEST_F(AgentExchangeTest, LivenessIsReportedOncePerChange) {
    m_exchange.RegisterAgentComputer(Entry(AuditionType::App, "alpha"));
    SetAgentRunning("alpha", true);
    m_exchange.CheckAgentLiveness();
    EXPECT_TRUE(m_sink.lines.empty());

    SetAgentRunning("alpha", false);
    m_exchange.CheckAgentLiveness();
    m_exchange.CheckAgentLiveness();
    ASSERT_EQ(m_sink.lines.size(), 1u);
    EXPECT_EQ(m_sink.lines[0].kind, EVENT_VIEW_WARNING);
    EXPECT_EQ(m_sink.lines[0].computer, "alpha");
    EXPECT_EQ(m_sink.lines[0].audition, "");
    EXPECT_EQ(m_sink.lines[0].text, LoadTarnString(1022));

    SetAgentRunning("alpha", true);
    m_exchange.CheckAgentLiveness();
    m_exchange.CheckAgentLiveness();
    ASSERT_EQ(m_sink.lines.size(), 2u);
    EXPECT_EQ(m_sink.lines[1].kind, EVENT_VIEW_INFO);
    EXPECT_EQ(m_sink.lines[1].text, LoadTarnString(1023));
    EXPECT_EQ(m_exchange.GetAgentComputer("alpha").TARNStartDate, "19980301");
    EXPECT_EQ(m_exchange.GetAgentComputer("alpha").LastTouch, "x");
}

TEST_F(AgentExchangeTest, MissingInfoFileMeansNotAlive) {
    m_exchange.RegisterAgentComputer(Entry(AuditionType::App, "ghost"));
    m_exchange.CheckAgentLiveness();
    ASSERT_EQ(m_sink.lines.size(), 1u);
    EXPECT_EQ(m_sink.lines[0].text, LoadTarnString(1022));
    EXPECT_FALSE(m_exchange.GetAgentComputer("ghost").Alive);
}

struct PerformsCase {
    const char* name;
    const char* config;
    AuditionType type;
    const char* computer;
    const char* module;
    bool alive;
    bool expected;
};

class AgentPerformsTest : public AgentExchangeTest,
                          public ::testing::WithParamInterface<PerformsCase> {};

TEST_P(AgentPerformsTest, Decides) {
    const PerformsCase& c = GetParam();
    WriteFile("TARN.CFG", c.config);
    m_computers.FindOrAdd(c.computer);
    AgentComputer record = m_exchange.GetAgentComputer(c.computer);
    record.Alive = c.alive;
    m_computers.SetAt(m_computers.FindOrAdd(c.computer), record);

    AuditionEntry entry = Entry(c.type, c.computer, c.module);
    EXPECT_EQ(m_exchange.CheckAgentPerforms(entry), c.expected);
    EXPECT_EQ(entry.AgentPerforms, c.expected);
}

const char* kConfig = "[Server]\nServer1=alpha\nServer2=beta\n"
                      "[alpha]\nService1=Spooler;Druck;Druckwarteschlange\nApp1=winword.exe\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, AgentPerformsTest,
    ::testing::Values(
        PerformsCase{"ServiceListed", kConfig, AuditionType::Service, "alpha", "Spooler", true,
                     true},
        PerformsCase{"ServiceNotListed", kConfig, AuditionType::Service, "alpha", "Other", true,
                     false},
        PerformsCase{"AppListed", kConfig, AuditionType::App, "alpha", "winword.exe", true, true},
        PerformsCase{"CaseDiffers", kConfig, AuditionType::Service, "ALPHA", "Spooler", true,
                     false},
        PerformsCase{"AgentNotAlive", kConfig, AuditionType::Service, "alpha", "Spooler", false,
                     false},
        PerformsCase{"ServerNotListed", "[Server]\nServer1=beta\n[alpha]\nService1=Spooler;a;b\n",
                     AuditionType::Service, "alpha", "Spooler", true, false},
        PerformsCase{"Server1Missing", "[Server]\nServer2=alpha\n", AuditionType::NTEvtLog, "alpha",
                     "", true, false},
        PerformsCase{"EventLogNeedsOnlyServer", kConfig, AuditionType::NTEvtLog, "beta", "", true,
                     true},
        PerformsCase{"NoConfigFile", "", AuditionType::Plugin, "alpha", "", true, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(AgentExchangeTest, PerformsChangesAreReportedOnce) {
    WriteFile("TARN.CFG", "[Server]\nServer1=alpha\n");
    AuditionEntry entry = Entry(AuditionType::NTEvtLog, "alpha");
    EXPECT_TRUE(m_exchange.CheckAgentPerforms(entry));
    EXPECT_TRUE(m_sink.lines.empty());

    fs::remove(m_dir + "TARN.CFG");
    EXPECT_FALSE(m_exchange.CheckAgentPerforms(entry));
    EXPECT_FALSE(m_exchange.CheckAgentPerforms(entry));
    ASSERT_EQ(m_sink.lines.size(), 1u);
    EXPECT_EQ(m_sink.lines[0].kind, EVENT_VIEW_WARNING);
    EXPECT_EQ(m_sink.lines[0].audition, "watch");
    EXPECT_EQ(m_sink.lines[0].text, LoadTarnString(1020));

    WriteFile("TARN.CFG", "[Server]\nServer1=alpha\n");
    EXPECT_TRUE(m_exchange.CheckAgentPerforms(entry));
    ASSERT_EQ(m_sink.lines.size(), 2u);
    EXPECT_EQ(m_sink.lines[1].kind, EVENT_VIEW_INFO);
    EXPECT_EQ(m_sink.lines[1].text, LoadTarnString(1021));
}

TEST_F(AgentExchangeTest, LogfileAndNetAuditionsNeedNoAgent) {
    AuditionEntry entry = Entry(AuditionType::Net, "");
    EXPECT_TRUE(m_exchange.CheckAgentPerforms(entry));
    EXPECT_EQ(m_computers.GetSize(), 0);
}

TEST_F(AgentExchangeTest, UnsafeNamesNeverReachAPath) {
    WriteFile("TARN.CFG", "[Server]\nServer1=..\nServer2=a/b\n");
    const std::string names[] = {"..", ".", "a/b", "  ", std::string("x\0y", 3), "../../etc"};
    for (const std::string& name : names) {
        m_sink.lines.clear();
        AuditionEntry entry = Entry(AuditionType::NTEvtLog, name);
        m_exchange.RegisterAgentComputer(entry);
        EXPECT_FALSE(m_exchange.CheckAgentPerforms(entry)) << name;
        EXPECT_FALSE(m_exchange.CheckAgentPerforms(entry)) << name;
        ASSERT_EQ(m_sink.lines.size(), 1u) << name;
        EXPECT_EQ(m_sink.lines[0].kind, EVENT_VIEW_ERROR);
        AgentComputer record = m_exchange.GetAgentComputer(name);
        EXPECT_TRUE(record.Directory.empty() && record.LogFile.empty() && record.InfoFile.empty())
            << name;
    }
    m_sink.lines.clear();
    m_exchange.CheckAgentLiveness();
    EXPECT_TRUE(m_sink.lines.empty());
}

TEST_F(AgentExchangeTest, InventorySkipsMalformedEntries) {
    WriteFile("TARN.CFG", "[Server]\nServer1=alpha\n"
                          "[alpha]\nService1=Spooler;Druck;Druckwarteschlange\nService2=bad;entry\n"
                          "App1=a.exe\nApp2=b;c\nServicelist1=x;y;z\n");
    auto inventory = BuildAgentInventory(m_dir + "TARN.CFG");
    ASSERT_EQ(inventory.size(), 1u);
    EXPECT_EQ(inventory[0].Name, "alpha");
    ASSERT_EQ(inventory[0].Services.size(), 1u);
    EXPECT_EQ(inventory[0].Services[0].DisplayName, "Druckwarteschlange");
    EXPECT_EQ(inventory[0].Apps, std::vector<std::string>{"a.exe"});
    ASSERT_EQ(inventory[0].InstalledServices.size(), 1u);
    EXPECT_EQ(inventory[0].InstalledServices[0].Module, "x");
}

// What an agent can plant in place of the information file or "TARN.CFG":
// a FIFO (it would block the audition thread for good), a link to a file
// outside the data directory, a file over the size limit. Each reads as
// missing, with one warning line naming it.
enum class Plant { Fifo, Link, Oversized };

struct PlantCase {
    const char* name;
    Plant plant;
};

class PlantedAgentFileTest : public AgentExchangeTest,
                             public ::testing::WithParamInterface<PlantCase> {
protected:
    void PlantAt(const std::string& relative, const std::string& realText) {
        const std::string path = m_dir + relative;
        fs::remove(path);
        switch (GetParam().plant) {
        case Plant::Fifo:
            ASSERT_EQ(::mkfifo(path.c_str(), 0666), 0);
            break;
        case Plant::Link: {
            const std::string outside = m_outside + relative.substr(relative.rfind('/') + 1);
            std::ofstream(outside) << realText;
            fs::create_symlink(outside, path);
            break;
        }
        case Plant::Oversized: {
            WriteFile(relative, realText);
            const int fd = ::open(path.c_str(), O_WRONLY);
            ASSERT_GE(fd, 0);
            ASSERT_EQ(::ftruncate(fd, off_t{5} << 20), 0);
            ::close(fd);
            break;
        }
        }
    }
    size_t Warnings(const std::string& path) const {
        size_t count = 0;
        for (const Line& line : m_sink.lines)
            count += line.kind == EVENT_VIEW_WARNING && line.text.find(path) != std::string::npos;
        return count;
    }
    void SetUp() override {
        AgentExchangeTest::SetUp();
        char pattern[] = "/tmp/tarn-outside-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_outside = std::string(pattern) + "/";
    }
    void TearDown() override {
        fs::remove_all(m_outside);
        AgentExchangeTest::TearDown();
    }

    std::string m_outside;
};

TEST_P(PlantedAgentFileTest, InformationFileReadsAsMissing) {
    SetAgentRunning("alpha", true);
    AuditionEntry entry = Entry(AuditionType::NTEvtLog, "alpha");
    m_exchange.RegisterAgentComputer(entry);
    m_exchange.CheckAgentLiveness();
    ASSERT_TRUE(m_exchange.GetAgentComputer("alpha").Alive);
    PlantAt("alpha/alpha.INI", "[Information]\r\nTARNStartDate=19980301\r\n");
    m_exchange.CheckAgentLiveness();
    m_exchange.CheckAgentLiveness();
    EXPECT_FALSE(m_exchange.GetAgentComputer("alpha").Alive);
    EXPECT_EQ(Warnings(m_dir + "alpha/alpha.INI"), 1u);
}

TEST_P(PlantedAgentFileTest, GlobalConfigurationReadsAsMissing) {
    SetAgentRunning("alpha", true);
    AuditionEntry entry = Entry(AuditionType::NTEvtLog, "alpha");
    m_exchange.RegisterAgentComputer(entry);
    PlantAt("TARN.CFG", "[Server]\nServer1=alpha\n");
    EXPECT_FALSE(m_exchange.CheckAgentPerforms(entry));
    EXPECT_FALSE(m_exchange.CheckAgentPerforms(entry));
    EXPECT_EQ(Warnings(m_dir + "TARN.CFG"), 1u);
    EXPECT_TRUE(BuildAgentInventory(m_dir + "TARN.CFG").empty());
}

INSTANTIATE_TEST_SUITE_P(Attacks, PlantedAgentFileTest,
                         ::testing::Values(PlantCase{"Fifo", Plant::Fifo},
                                           PlantCase{"Link", Plant::Link},
                                           PlantCase{"Oversized", Plant::Oversized}),
                         [](const auto& info) { return std::string(info.param.name); });

// Long lists are read in one pass: 32,000 entries, the last one counting.
TEST_F(AgentExchangeTest, LongServerListIsReadWhole) {
    std::string config = "[Server]\n";
    for (int i = 1; i <= 32000; ++i)
        config += "Server" + std::to_string(i) + "=host" + std::to_string(i) + "\n";
    config += "Server32001=alpha\n";
    WriteFile("TARN.CFG", config);
    AuditionEntry entry = Entry(AuditionType::NTEvtLog, "alpha");
    m_exchange.RegisterAgentComputer(entry);
    EXPECT_TRUE(m_exchange.CheckAgentPerforms(entry));
}

} // namespace
