// The contract files: agent log lines, "TARN.CFG" updates under the lock, the
// log's locking against the console and its trimming, and files that others
// may have planted in the data directory.
#include "AgentSandbox.h"
#include "ContractFiles.h"
#include "DataDirectory.h"
#include "ErrorLogFile.h"
#include "IniFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// Holds the console's lock (an open file description write lock) on a file.
class ConsoleLock {
public:
    explicit ConsoleLock(const std::string& path) : m_fd(::open(path.c_str(), O_RDWR)) {
        struct flock lock {};
        lock.l_type = F_WRLCK;
        lock.l_whence = SEEK_SET;
        m_bLocked = m_fd >= 0 && ::fcntl(m_fd, F_OFD_SETLK, &lock) == 0;
    }
    ~ConsoleLock() { ::close(m_fd); }
    bool Locked() const { return m_bLocked; }

private:
    int m_fd;
    bool m_bLocked = false;
};

TEST(ErrorLineTest, EveryLineHasNineFieldsAndNoBreaks) {
    struct Case {
        std::string description, expected;
    } cases[] = {
        {"Dienst angehalten", "Dienst angehalten"},
        {"a;b\r\nc", "a,b  c"},
        {std::string("Fehler \xE4"), "Fehler \xC3\xA4"}, // Windows-1252 read as such
        {std::string(300, 'x'), std::string(254, 'x')},
    };
    for (const Case& c : cases) {
        ErrorLine line;
        line.When = 1700000000;
        line.SourceName = "cron;service";
        line.Category = kCategoryService;
        line.Description = c.description;
        const std::string text = FormatErrorLine("alpha", line);
        ASSERT_EQ(text.back(), '\n');
        std::vector<std::string> fields = Fields(text.substr(0, text.size() - 1));
        ASSERT_EQ(fields.size(), 9u) << text;
        EXPECT_EQ(fields[0], TimeStampText(1700000000));
        EXPECT_EQ(fields[0].size(), 14u);
        EXPECT_EQ(fields[3], "cron,service");
        EXPECT_EQ(fields[6], "2");
        EXPECT_EQ(fields[8], c.expected);
    }
}

TEST(GlobalConfigTest, OwnSectionIsReplacedAndEverythingElseKept) {
    const std::string others = "; Agents of the network\r\n[Server]\r\nServer1=beta\r\n\r\n"
                               "[beta]\r\nService1=x.service;x.service;X\r\nApp1=y\r\n";
    const std::string before = others +
                               "\r\n[alpha]\r\nService1=old;old;\r\nService2=gone;gone;\r\n"
                               "App1=a\r\nApp2=b\r\nApp3=c\r\n";
    WatchLists lists;
    lists.Services = {{"cron.service", "Cron; daemon"}};
    lists.Apps = {"nginx"};
    lists.Installed = {{"cron.service", "Cron"}, {"ssh.service", ""}};
    const std::string after = ApplyWatchLists(before, "alpha", lists);
    CIniFile ini = CIniFile::Parse(after);
    EXPECT_EQ(ini.GetList("Server", "Server"), (std::vector<std::string>{"beta", "alpha"}));
    EXPECT_EQ(ini.GetList("alpha", "Service"),
              (std::vector<std::string>{"cron.service;cron.service;Cron, daemon"}));
    EXPECT_EQ(ini.GetList("alpha", "App"), (std::vector<std::string>{"nginx"}));
    EXPECT_FALSE(ini.GetValue("alpha", "App2").has_value());
    EXPECT_FALSE(ini.GetValue("alpha", "Service2").has_value());
    EXPECT_EQ(
        ini.GetList("alpha", "Servicelist"),
        (std::vector<std::string>{"cron.service;cron.service;Cron", "ssh.service;ssh.service;"}));
    // The other agent's lines are untouched, byte for byte.
    const std::string expectedStart = "; Agents of the network\r\n[Server]\r\nServer1=beta\r\n"
                                      "Server2=alpha\r\n\r\n[beta]\r\n"
                                      "Service1=x.service;x.service;X\r\nApp1=y\r\n";
    EXPECT_EQ(after.substr(0, expectedStart.size()), expectedStart);
    EXPECT_EQ(ApplyWatchLists(after, "alpha", lists), after) << "a second update changes nothing";
}

TEST(GlobalConfigTest, ConcurrentAgentsKeepEachOthersSections) {
    CAgentSandbox sandbox;
    auto data = CDataDirectory::Open(sandbox.Data());
    ASSERT_TRUE(data);
    const std::string foreign = "[gamma]\r\nApp1=kept exactly  \r\n";
    sandbox.WriteFile(sandbox.Data() + "TARN.CFG", foreign);
    auto update = [&](const std::string& computer) {
        for (int round = 0; round < 30; ++round) {
            WatchLists lists;
            lists.Apps = {computer + "-app" + std::to_string(round)};
            EXPECT_TRUE(CContractFiles(*data, *data, computer).UpdateGlobalConfig(lists));
        }
    };
    std::thread first(update, "alpha"), second(update, "beta");
    first.join();
    second.join();
    const std::string text = sandbox.ReadFile(sandbox.Data() + "TARN.CFG");
    CIniFile ini = CIniFile::Parse(text);
    std::vector<std::string> servers = ini.GetList("Server", "Server");
    std::sort(servers.begin(), servers.end());
    EXPECT_EQ(servers, (std::vector<std::string>{"alpha", "beta"}));
    EXPECT_EQ(ini.GetList("alpha", "App"), (std::vector<std::string>{"alpha-app29"}));
    EXPECT_EQ(ini.GetList("beta", "App"), (std::vector<std::string>{"beta-app29"}));
    EXPECT_NE(text.find(foreign), std::string::npos);
}

class ErrorLogFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(m_sandbox.Exchange());
        m_exchange = CDataDirectory::Open(m_sandbox.Exchange());
        ASSERT_TRUE(m_exchange);
    }
    std::string LogPath() const { return m_sandbox.Exchange() + "alpha.log"; }
    static ErrorLine Line(const std::string& description) {
        ErrorLine line;
        line.When = 1700000000;
        line.Category = kCategoryApplication;
        line.Module = "nginx";
        line.Description = description;
        return line;
    }

    CAgentSandbox m_sandbox;
    std::optional<CDataDirectory> m_exchange;
};

TEST_F(ErrorLogFileTest, AppendWaitsWhileTheConsoleHoldsTheLog) {
    CErrorLogFile log(*m_exchange, "alpha", 1 << 20);
    ASSERT_TRUE(log.EnsureExists());
    auto console = std::make_unique<ConsoleLock>(LogPath());
    ASSERT_TRUE(console->Locked());
    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        console.reset();
    });
    log.Add(Line("eins"));
    EXPECT_TRUE(log.Flush());
    release.join();
    ASSERT_EQ(m_sandbox.LogLines().size(), 1u);
    EXPECT_EQ(Fields(m_sandbox.LogLines()[0])[8], "eins");
}

TEST_F(ErrorLogFileTest, LinesWaitForTheNextRoundWhenTheConsoleKeepsTheLog) {
    CErrorLogFile log(*m_exchange, "alpha", 1 << 20);
    ASSERT_TRUE(log.EnsureExists());
    {
        ConsoleLock console(LogPath());
        ASSERT_TRUE(console.Locked());
        log.Add(Line("eins"));
        EXPECT_FALSE(log.Flush());
        EXPECT_TRUE(log.HasQueuedLines());
    }
    log.Add(Line("zwei"));
    EXPECT_TRUE(log.Flush());
    ASSERT_EQ(m_sandbox.LogLines().size(), 2u);
    EXPECT_EQ(Fields(m_sandbox.LogLines()[0])[8], "eins");
    EXPECT_EQ(Fields(m_sandbox.LogLines()[1])[8], "zwei");
}

TEST_F(ErrorLogFileTest, TrimmingDropsOnlyMarkedLines) {
    std::string text;
    std::vector<std::string> unmarked;
    for (int i = 0; i < 200; ++i) {
        std::string line = "2024011510" + std::to_string(1000 + i) + ";alpha;1;;app;1;1;0;Zeile " +
                           std::to_string(i) + std::string(40, '.');
        if (i % 3 == 0) {
            unmarked.push_back(line);
        } else {
            line.replace(0, 14, "00000000000000");
        }
        text += line + (i % 2 ? "\r\n" : "\n");
    }
    m_sandbox.WriteFile(LogPath(), text);
    CErrorLogFile log(*m_exchange, "alpha", 4096);
    ASSERT_TRUE(log.Trim());
    std::vector<std::string> kept;
    for (std::string line : m_sandbox.LogLines()) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        kept.push_back(line);
    }
    EXPECT_EQ(kept, unmarked);
    // Below the limit nothing is rewritten.
    const std::string small = m_sandbox.ReadFile(LogPath());
    ASSERT_TRUE(CErrorLogFile(*m_exchange, "alpha", 1 << 20).Trim());
    EXPECT_EQ(m_sandbox.ReadFile(LogPath()), small);
}

TEST_F(ErrorLogFileTest, PlantedLinksAndPipesAreNeverFollowed) {
    const std::string victim = m_sandbox.Root() + "victim";
    m_sandbox.WriteFile(victim, "unchanged");
    fs::create_symlink(victim, m_sandbox.Exchange() + "alpha.INI");
    ASSERT_EQ(::mkfifo((m_sandbox.Exchange() + "alpha.log").c_str(), 0600), 0);
    CContractFiles contract(*m_exchange, *m_exchange, "alpha");
    EXPECT_TRUE(contract.WriteInformation("20240115100000", 1700000000, 0));
    EXPECT_EQ(m_sandbox.ReadFile(victim), "unchanged");
    EXPECT_FALSE(fs::is_symlink(m_sandbox.Exchange() + "alpha.INI"));
    CErrorLogFile log(*m_exchange, "alpha", 1 << 20);
    EXPECT_FALSE(log.EnsureExists()) << "a pipe is no log and opening it does not block";
    log.Add(Line("eins"));
    EXPECT_FALSE(log.Flush());
    std::string content;
    fs::create_symlink(victim, m_sandbox.Exchange() + "TARN001.TRA");
    EXPECT_FALSE(m_exchange->ReadFile("TARN001.TRA", 1024, content));
}

} // namespace
