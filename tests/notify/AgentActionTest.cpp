// Command files, result files and the pending actions, against real files in
// an exchange directory and real history files.
#include "NotifyTestSupport.h"

namespace {

class AgentActionTest : public NotifyFixture {
protected:
    void SetUp() override {
        NotifyFixture::SetUp();
        m_exchange = AddComputer("alpha");
    }
    // A stored open problem of a service audition, with its entry.
    int32_t OpenServiceProblem(AuditionEntry& entry, bool restartService = true) {
        DBAudition audition = Audition(AuditionType::Service);
        audition.ACTION_RESTART_SERVICE = restartService;
        audition.RESTART_PARAMETERS = "-fast";
        entry = Signalled(Store(audition));
        return m_handler->OpenProblem(entry);
    }
    int32_t ErrorCount(int32_t problemId) {
        DBHProblem problem;
        EXPECT_TRUE(m_database.GetProblem(problemId, problem));
        return problem.ERROR_COUNT;
    }
    std::string LastActionText(int32_t problemId) {
        const DBHEventList events = Events(problemId);
        return events.empty() ? "" : events.back().EVENT_DESCRIPTION;
    }
    std::string Display(ActionType type) { return GetActionTypeName(type); }
    static std::string Fill(unsigned id, const std::string& a, const std::string& b = "") {
        std::string text = LoadTarnString(id);
        text.replace(text.find("%s"), 2, a);
        if (text.find("%s") != std::string::npos)
            text.replace(text.find("%s"), 2, b);
        return text;
    }

    std::string m_exchange;
};

TEST_F(AgentActionTest, ServiceRestartWritesItsCommandFileAndStaysPending) {
    AuditionEntry entry;
    const int32_t problem = OpenServiceProblem(entry);
    m_actions->StartRestartActions(problem, entry);
    EXPECT_EQ(ReadFile(m_exchange + "TARN000.TRA"),
              "[Commands]\r\nCommand1=START_SERVICE;Spooler;-fast\r\n");
    ASSERT_EQ(m_actions->GetPendingActions().size(), 1u);
    const PendingAction& pending = m_actions->GetPendingActions()[0];
    EXPECT_EQ(pending.ResultFile, m_exchange + "TARN000.RLT");
    EXPECT_EQ(pending.ProblemID, problem);
    const DBHEvent event = Events(problem).back();
    EXPECT_EQ(event.EVENT_DESCRIPTION, Fill(1123, Display(ACTION_RESTART_SERVICE)));
    EXPECT_EQ(event.SOURCE, EVENT_SOURCE_CONSOLE);
    EXPECT_EQ(event.TYPE, EVENT_TYPE_CONSOLE);
    EXPECT_EQ(event.CATEGORY, EVENT_CATEGORY_ACTION);
    EXPECT_EQ(event.INFO_ID, "2");
    EXPECT_EQ(event.COMPUTER, "alpha");
    // Only the command file is left behind: no temporary file.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_exchange), {}), 1);
}

TEST_F(AgentActionTest, ActionGoesToTheAuditionsComputerWhateverCaseTheLineUsed) {
    DBAudition audition = Audition(AuditionType::Service);
    audition.ACTION_RESTART_SYSTEM = true;
    AuditionEntry entry = Signalled(Store(audition));
    entry.Signal.COMPUTER = "ALPHA"; // as a Windows-style agent writes the name
    const int32_t problem = m_handler->OpenProblem(entry);
    m_actions->StartRestartActions(problem, entry);
    EXPECT_EQ(ReadFile(m_exchange + "TARN000.TRA"),
              "[Commands]\r\nCommand1=SHUTDOWN_SYSTEM;0;0\r\n");
    ASSERT_EQ(m_actions->GetPendingActions().size(), 1u);
    EXPECT_TRUE(m_computers.GetAgentComputer("alpha").RestartPending);
    EXPECT_EQ(LastActionText(problem), Fill(1123, Display(ACTION_RESTART_SYSTEM)));
    // A computer that is not the audition's own stays unknown.
    entry.Signal.COMPUTER = "ALPHA2";
    m_actions->StartRestartActions(problem, entry);
    EXPECT_EQ(LastActionText(problem), Fill(1126, Display(ACTION_RESTART_SYSTEM)));
}

TEST_F(AgentActionTest, LaterRestartRuleOverwritesEarlierOnes) {
    DBAudition audition = Audition(AuditionType::App);
    audition.ACTION_RESTART_APP = true;
    audition.ACTION_RESTART_SYSTEM = true;
    AuditionEntry entry = Signalled(Store(audition));
    const int32_t problem = m_handler->OpenProblem(entry);
    m_actions->StartRestartActions(problem, entry);
    EXPECT_EQ(ReadFile(m_exchange + "TARN000.TRA"),
              "[Commands]\r\nCommand1=SHUTDOWN_SYSTEM;0;0\r\n");
    EXPECT_FALSE(std::filesystem::exists(m_exchange + "TARN001.TRA"));
    EXPECT_TRUE(m_computers.GetAgentComputer("alpha").RestartPending);
}

struct ResultCase {
    const char* value;
    bool success;
    const char* code;
};

class ActionResultTest : public AgentActionTest,
                         public ::testing::WithParamInterface<ResultCase> {};

TEST_P(ActionResultTest, ResultFileIsReadRecordedAndDeleted) {
    const ResultCase& c = GetParam();
    AuditionEntry entry;
    const int32_t problem = OpenServiceProblem(entry);
    m_actions->StartRestartActions(problem, entry);
    WriteFile(m_exchange + "TARN000.RLT", std::string("[Results]\r\nResult1=") + c.value + "\r\n");
    const int32_t before = ErrorCount(problem);
    m_actions->CollectActionResults();
    EXPECT_TRUE(m_actions->GetPendingActions().empty());
    EXPECT_FALSE(std::filesystem::exists(m_exchange + "TARN000.RLT"));
    const std::string display = Display(ACTION_RESTART_SERVICE);
    if (c.success) {
        EXPECT_EQ(LastActionText(problem), Fill(1124, display));
        EXPECT_EQ(ErrorCount(problem), before);
    } else {
        EXPECT_EQ(LastActionText(problem), Fill(1125, display, c.code));
        EXPECT_EQ(ErrorCount(problem), before + 1);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Values, ActionResultTest,
    ::testing::Values(ResultCase{"0", true, ""}, ResultCase{"5", false, "5"},
                      ResultCase{"1,2", false, "-1"}, ResultCase{"", false, "-1"},
                      ResultCase{"0,0", false, "-1"}, ResultCase{"-7", false, "-7"},
                      ResultCase{"abc", false, "-1"}, ResultCase{"done", false, "-1"},
                      ResultCase{"5x", false, "-1"}));

TEST_F(AgentActionTest, ActionWithoutResultWaits) {
    AuditionEntry entry;
    const int32_t problem = OpenServiceProblem(entry);
    m_actions->StartRestartActions(problem, entry);
    m_now += 3600;
    m_actions->CollectActionResults();
    EXPECT_EQ(m_actions->GetPendingActions().size(), 1u);
}

TEST_F(AgentActionTest, UnansweredSystemRestartRunsOutAfterFifteenMinutes) {
    DBAudition audition = Audition(AuditionType::Service);
    audition.ACTION_RESTART_SYSTEM = true;
    AuditionEntry entry = Signalled(Store(audition));
    const int32_t problem = m_handler->OpenProblem(entry);
    const std::time_t issued = m_now;
    m_actions->StartRestartActions(problem, entry);
    ASSERT_TRUE(m_computers.GetAgentComputer("alpha").RestartPending);

    m_now = issued + 15 * 60;
    m_actions->CollectActionResults();
    ASSERT_EQ(m_actions->GetPendingActions().size(), 1u) << "the limit is strict";

    m_now = issued + 15 * 60 + 1;
    m_actions->CollectActionResults();
    EXPECT_TRUE(m_actions->GetPendingActions().empty());
    const AgentComputer computer = m_computers.GetAgentComputer("alpha");
    EXPECT_FALSE(computer.RestartPending);
    EXPECT_TRUE(computer.ActionTimedOut);
    EXPECT_EQ(LastActionText(problem), Fill(1137, Display(ACTION_RESTART_SYSTEM)));
    EXPECT_EQ(ErrorCount(problem), 1);
}

TEST_F(AgentActionTest, ActionNumbersWrapAfter999AndReuseDeletesAnOldResult) {
    AuditionEntry entry;
    const int32_t problem = OpenServiceProblem(entry);
    WriteFile(m_exchange + "TARN000.RLT", "[Results]\r\nResult1=0\r\n");
    m_actions->StartRestartActions(problem, entry);
    EXPECT_FALSE(std::filesystem::exists(m_exchange + "TARN000.RLT"))
        << "an old result of the number is removed";
    for (int sent = 1; sent < 1000; ++sent)
        m_actions->StartRestartActions(problem, entry);
    EXPECT_TRUE(std::filesystem::exists(m_exchange + "TARN999.TRA"));
    EXPECT_EQ(m_actions->GetActionCounter(), 0);
    std::filesystem::remove(m_exchange + "TARN000.TRA");
    m_actions->StartRestartActions(problem, entry); // the 1001st
    EXPECT_TRUE(std::filesystem::exists(m_exchange + "TARN000.TRA"));
    EXPECT_EQ(m_actions->GetPendingActions().back().CommandFile, m_exchange + "TARN000.TRA");
}

TEST_F(AgentActionTest, UndeliverableActionCountsAnErrorAndIsNotPending) {
    AuditionEntry entry;
    const int32_t problem = OpenServiceProblem(entry);
    std::filesystem::remove_all(m_exchange);
    m_actions->StartRestartActions(problem, entry);
    EXPECT_TRUE(m_actions->GetPendingActions().empty());
    EXPECT_EQ(LastActionText(problem), Fill(1126, Display(ACTION_RESTART_SERVICE)));
    EXPECT_EQ(ErrorCount(problem), 1);

    entry.Signal.COMPUTER = "../alpha"; // never a path outside the data directory
    m_actions->StartRestartActions(problem, entry);
    EXPECT_TRUE(m_actions->GetPendingActions().empty());
    EXPECT_EQ(ErrorCount(problem), 2);
}

TEST_F(AgentActionTest, PluginActionsAreSentInListOrderWithTheirTargets) {
    OfferingPluginInstance instance({
        {ACTION_STOP_SERVICE, "", "m", "", "Spooler", "", "-a", 0, 0},
        {9, "", "m", "", "s", "", "p", 0, 0},
        {ACTION_RESTART_SYSTEM, "", "m", "", "s", "", "p", 0, 0},
        {ACTION_START_APP, "", "calc.exe", "", "s", "", "-b", 0, 0},
    });
    AuditionEntry entry = Signalled(Store(Audition(AuditionType::Plugin)));
    entry.PluginInstance = &instance;
    const int32_t problem = m_handler->OpenProblem(entry);
    m_actions->StartRestartActions(problem, entry);
    EXPECT_EQ(ReadFile(m_exchange + "TARN000.TRA"),
              "[Commands]\r\nCommand1=STOP_SERVICE;Spooler;-a\r\n");
    EXPECT_EQ(ReadFile(m_exchange + "TARN001.TRA"),
              "[Commands]\r\nCommand1=SHUTDOWN_SYSTEM;0;0\r\n");
    EXPECT_EQ(ReadFile(m_exchange + "TARN002.TRA"),
              "[Commands]\r\nCommand1=START_APP;calc.exe;-b\r\n");
    ASSERT_EQ(m_actions->GetPendingActions().size(), 3u);
    EXPECT_EQ(m_actions->GetPendingActions()[2].DisplayText,
              GetActionTypeName(ACTION_START_APP) + " (calc.exe)");
}

} // namespace
