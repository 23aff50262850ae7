// What an agent can plant in its exchange directory: links to files and
// directories outside the data directory, FIFOs and huge sparse files in
// place of result files. None of it leads out of the data directory or
// blocks the audition thread.
#include "MessageText.h"
#include "NotifyTestSupport.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class AgentFileAttackTest : public NotifyFixture {
protected:
    void SetUp() override {
        NotifyFixture::SetUp();
        m_exchange = AddComputer("alpha");
        m_outside = m_dir + "outside/";
        fs::create_directories(m_outside);
        WriteFile(m_outside + "passwd", "root:x:0:0\n");
    }
    int32_t SendServiceRestart() {
        DBAudition audition = Audition(AuditionType::Service);
        audition.ACTION_RESTART_SERVICE = true;
        AuditionEntry entry = Signalled(Store(audition));
        const int32_t problem = m_handler->OpenProblem(entry);
        m_actions->StartRestartActions(problem, entry);
        return problem;
    }
    std::string LastEventText(int32_t problem) {
        const DBHEventList events = Events(problem);
        return events.empty() ? "" : events.back().EVENT_DESCRIPTION;
    }
    bool Warned(const std::string& path) const {
        for (const std::string& text : m_view.Texts(EVENT_VIEW_WARNING))
            if (text.find(path) != std::string::npos)
                return true;
        return false;
    }

    std::string m_exchange;
    std::string m_outside;
};

TEST_F(AgentFileAttackTest, CommandFileLinkIsReplacedNotWrittenThrough) {
    fs::create_symlink(m_outside + "passwd", m_exchange + "TARN000.TRA");
    fs::create_symlink(m_outside + "passwd", m_exchange + "TARN000.RLT");
    SendServiceRestart();
    EXPECT_EQ(ReadFile(m_outside + "passwd"), "root:x:0:0\n");
    EXPECT_FALSE(fs::is_symlink(m_exchange + "TARN000.TRA"));
    EXPECT_EQ(ReadFile(m_exchange + "TARN000.TRA"),
              "[Commands]\r\nCommand1=START_SERVICE;Spooler;\r\n");
    EXPECT_FALSE(fs::exists(fs::symlink_status(m_exchange + "TARN000.RLT")));
    EXPECT_TRUE(fs::exists(m_outside + "passwd"));
}

TEST_F(AgentFileAttackTest, ExchangeDirectoryLinkReceivesNothing) {
    fs::remove_all(m_exchange);
    fs::create_directory_symlink(m_outside, m_dir + "data/alpha");
    WriteFile(m_outside + "TARN000.RLT", "[Results]\r\nResult1=0\r\n");
    const int32_t problem = SendServiceRestart();
    EXPECT_EQ(LastEventText(problem),
              FillMessage(LoadTarnString(1126), {GetActionTypeName(ACTION_RESTART_SERVICE)}));
    EXPECT_TRUE(m_actions->GetPendingActions().empty());
    EXPECT_TRUE(fs::exists(m_outside + "TARN000.RLT")); // not deleted through the link
    EXPECT_FALSE(fs::exists(m_outside + "TARN000.TRA"));
}

struct PlantedResult {
    const char* name;
    std::function<void(const std::string&)> plant;
};

class PlantedResultTest : public AgentFileAttackTest,
                          public ::testing::WithParamInterface<PlantedResult> {};

// A FIFO would block a reader for good; a 2 GiB sparse file would cost 2 GiB
// of memory; a link would read a file outside. Each is the failure "-1".
TEST_P(PlantedResultTest, IsTheFailureMinusOneWithOneWarning) {
    const int32_t problem = SendServiceRestart();
    ASSERT_EQ(m_actions->GetPendingActions().size(), 1u);
    const std::string result = m_exchange + "TARN000.RLT";
    GetParam().plant(result);
    m_actions->CollectActionResults();
    EXPECT_TRUE(m_actions->GetPendingActions().empty());
    EXPECT_EQ(LastEventText(problem),
              FillMessage(LoadTarnString(1125),
                          {GetActionTypeName(ACTION_RESTART_SERVICE), std::string("-1")}));
    EXPECT_TRUE(Warned(result));
    EXPECT_FALSE(fs::exists(fs::symlink_status(result)));
    EXPECT_EQ(ReadFile(m_outside + "passwd"), "root:x:0:0\n");
}

INSTANTIATE_TEST_SUITE_P(
    Attacks, PlantedResultTest,
    ::testing::Values(PlantedResult{"Fifo",
                                    [](const std::string& path) { ::mkfifo(path.c_str(), 0666); }},
                      PlantedResult{"SparseTwoGiB",
                                    [](const std::string& path) {
                                        const int fd =
                                            ::open(path.c_str(), O_WRONLY | O_CREAT, 0644);
                                        ASSERT_GE(fd, 0);
                                        ASSERT_EQ(::ftruncate(fd, off_t{2} << 30), 0);
                                        ::close(fd);
                                    }},
                      PlantedResult{"LinkToOutside",
                                    [](const std::string& path) {
                                        const std::string outside =
                                            path.substr(0, path.find("/data/")) + "/outside/passwd";
                                        fs::create_symlink(outside, path);
                                    }}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
