// Shared vocabulary: codes, names, reports, rules.
#include "TARNTool.h"

#include "StringTable.h"
#include "TraceCapture.h"

#include <gtest/gtest.h>

namespace {

const AuditionType kAllAuditionTypes[] = {AuditionType::App,     AuditionType::Service,
                                          AuditionType::Logfile, AuditionType::NTEvtLog,
                                          AuditionType::Net,     AuditionType::Plugin};
const ActionType kAllActions[] = {
    ACTION_RESTART_APP, ACTION_RESTART_SERVICE, ACTION_RESTART_SYSTEM, ACTION_STOP_SERVICE,
    ACTION_STOP_APP,    ACTION_START_SERVICE,   ACTION_START_APP};

AuditionType Audition(int32_t code) {
    return static_cast<AuditionType>(code);
}

class VocabularyTest : public ::testing::Test {
protected:
    void SetUp() override { ResetTarnStrings(); }
    TraceCapture trace;
};

TEST_F(VocabularyTest, CodesAreTheStoredValues) {
    EXPECT_EQ(static_cast<int32_t>(AuditionType::App), 1);
    EXPECT_EQ(static_cast<int32_t>(AuditionType::Service), 2);
    EXPECT_EQ(static_cast<int32_t>(AuditionType::Logfile), 3);
    EXPECT_EQ(static_cast<int32_t>(AuditionType::NTEvtLog), 4);
    EXPECT_EQ(static_cast<int32_t>(AuditionType::Net), 5);
    EXPECT_EQ(static_cast<int32_t>(AuditionType::Plugin), 6);
    EXPECT_EQ(AUDITION_ID_NEW, -1);
    EXPECT_EQ(static_cast<uint32_t>(AUDITION_ID_NEW), 0xFFFFFFFFu); // all bits set
    EXPECT_EQ(ACTION_RESTART_APP, 1);
    EXPECT_EQ(ACTION_RESTART_SERVICE, 2);
    EXPECT_EQ(ACTION_RESTART_SYSTEM, 3);
    EXPECT_EQ(ACTION_STOP_SERVICE, 4);
    EXPECT_EQ(ACTION_STOP_APP, 5);
    EXPECT_EQ(ACTION_START_SERVICE, 6);
    EXPECT_EQ(ACTION_START_APP, 7);
    EXPECT_EQ(NOTIFY_STAGE_OCCURRED, 1);
    EXPECT_EQ(NOTIFY_STAGE_UNRESOLVED, 2);
    EXPECT_EQ(NOTIFY_STAGE_RESOLVED, 3);
    EXPECT_EQ(PROBLEM_OPEN, 1);
    EXPECT_EQ(PROBLEM_UNRESOLVED, 2);
    EXPECT_EQ(PROBLEM_RESOLVED, 4);
    EXPECT_EQ(EVENT_CATEGORY_ACTION, 10);
    EXPECT_EQ(EVENT_CATEGORY_NOTIFICATION, 11);
    EXPECT_EQ(EVENT_VIEW_INFO, 1);
    EXPECT_EQ(EVENT_VIEW_WARNING, 2);
    EXPECT_EQ(EVENT_VIEW_ERROR, 3);
    EXPECT_EQ(EVENT_VIEW_PROBLEM_OPENED, 4);
    EXPECT_EQ(EVENT_VIEW_PROBLEM_UNRESOLVED, 5);
    EXPECT_EQ(EVENT_VIEW_PROBLEM_RESOLVED, 6);
    EXPECT_EQ(ACTION_SPECIAL_NO_AGENT, 1);
}

TEST_F(VocabularyTest, AuditionTypeNames) {
    EXPECT_EQ(GetAuditionTypeName(AuditionType::App), "Applikation");
    EXPECT_EQ(GetAuditionTypeName(AuditionType::Service), "Service");
    EXPECT_EQ(GetAuditionTypeName(AuditionType::Logfile), "Logdatei (individuell)");
    EXPECT_EQ(GetAuditionTypeName(AuditionType::NTEvtLog), "NT-Eventlog");
    EXPECT_EQ(GetAuditionTypeName(AuditionType::Net), "Netzwerk");
    EXPECT_EQ(GetAuditionTypeName(AuditionType::Plugin), "Plug-In");
    EXPECT_EQ(trace.AssertCount(), 0u);
    for (AuditionType type : kAllAuditionTypes)
        EXPECT_TRUE(IsValidAuditionType(type));
    EXPECT_FALSE(IsValidAuditionType(Audition(0)));
    EXPECT_FALSE(IsValidAuditionType(Audition(7)));
    EXPECT_FALSE(IsValidAuditionType(Audition(-1)));
}

TEST_F(VocabularyTest, UnknownAuditionTypeIsReportedAndEmpty) {
    for (int32_t code : {0, 7, -1, 1000}) {
        EXPECT_EQ(GetAuditionTypeName(Audition(code)), "");
        EXPECT_EQ(GetAuditionComputer(Audition(code), "SRV1"), "");
    }
    EXPECT_EQ(trace.AssertCount(), 8u);
    for (const std::string& description : trace.AssertDescriptions())
        EXPECT_EQ(description, "Unbekannter Überwachungstyp");
    // The condition of a report from a name function is "FALSE".
    EXPECT_NE(trace.Text().find("Bedingung: FALSE \n"), std::string::npos);
}

TEST_F(VocabularyTest, ActionTypeNamesAndCommandWords) {
    EXPECT_EQ(GetActionTypeName(ACTION_RESTART_APP), "Applikation neu starten");
    EXPECT_EQ(GetActionTypeName(ACTION_RESTART_SERVICE), "Service neu starten");
    EXPECT_EQ(GetActionTypeName(ACTION_RESTART_SYSTEM), "System neu starten");
    EXPECT_EQ(GetActionTypeName(ACTION_STOP_SERVICE), "Service beenden");
    EXPECT_EQ(GetActionTypeName(ACTION_STOP_APP), "Applikation beenden");
    EXPECT_EQ(GetActionTypeName(ACTION_START_SERVICE), "Service starten");
    EXPECT_EQ(GetActionTypeName(ACTION_START_APP), "Applikation starten");
    EXPECT_EQ(GetActionCommandWord(ACTION_RESTART_APP), "START_APP");
    EXPECT_EQ(GetActionCommandWord(ACTION_RESTART_SERVICE), "START_SERVICE");
    EXPECT_EQ(GetActionCommandWord(ACTION_RESTART_SYSTEM), "SHUTDOWN_SYSTEM");
    EXPECT_EQ(GetActionCommandWord(ACTION_STOP_SERVICE), "STOP_SERVICE");
    EXPECT_EQ(GetActionCommandWord(ACTION_STOP_APP), "STOP_APP");
    EXPECT_EQ(GetActionCommandWord(ACTION_START_SERVICE), "START_SERVICE");
    EXPECT_EQ(GetActionCommandWord(ACTION_START_APP), "START_APP");
    EXPECT_EQ(trace.AssertCount(), 0u);

    EXPECT_EQ(GetActionTypeName(static_cast<ActionType>(0)), "");
    EXPECT_EQ(GetActionTypeName(static_cast<ActionType>(8)), "");
    EXPECT_EQ(GetActionCommandWord(static_cast<ActionType>(8)), "");
    ASSERT_EQ(trace.AssertCount(), 3u);
    for (const std::string& description : trace.AssertDescriptions())
        EXPECT_EQ(description, "Unbekannter Actiontyp");
}

TEST_F(VocabularyTest, NotifyStageTexts) {
    EXPECT_EQ(GetNotifyStageText(NOTIFY_STAGE_OCCURRED), "Das Problem trat zum ersten Mal auf.");
    EXPECT_EQ(GetNotifyStageText(NOTIFY_STAGE_UNRESOLVED),
              "Das Problem konnte nicht behoben werden.");
    EXPECT_EQ(GetNotifyStageText(NOTIFY_STAGE_RESOLVED), "Das Problem konnte behoben werden.");
    EXPECT_EQ(trace.AssertCount(), 0u);
    EXPECT_EQ(GetNotifyStageText(static_cast<NotifyStage>(0)), "");
    EXPECT_EQ(GetNotifyStageText(static_cast<NotifyStage>(4)), "");
    ASSERT_EQ(trace.AssertCount(), 2u);
    for (const std::string& description : trace.AssertDescriptions())
        EXPECT_EQ(description, "Unbekannter Benachrichtigungstyp");
}

TEST_F(VocabularyTest, ProblemStatusNamesAndImages) {
    EXPECT_EQ(GetProblemStatusName(PROBLEM_OPEN), "Offen");
    EXPECT_EQ(GetProblemStatusName(PROBLEM_UNRESOLVED), "ungelöst");
    EXPECT_EQ(GetProblemStatusName(PROBLEM_RESOLVED), "gelöst");
    EXPECT_EQ(GetProblemStatusImage(PROBLEM_OPEN), 2);
    EXPECT_EQ(GetProblemStatusImage(PROBLEM_UNRESOLVED), 3);
    EXPECT_EQ(GetProblemStatusImage(PROBLEM_RESOLVED), 4);
    EXPECT_EQ(trace.AssertCount(), 0u);
}

// Status 3 is not a status.
TEST_F(VocabularyTest, ProblemStatusThreeIsNotAStatus) {
    EXPECT_EQ(GetProblemStatusName(static_cast<ProblemStatus>(3)), "");
    ASSERT_EQ(trace.AssertCount(), 1u);
    EXPECT_EQ(trace.AssertDescriptions().at(0), "Unbekannter Benachrichtigungstyp");
    EXPECT_EQ(GetProblemStatusImage(static_cast<ProblemStatus>(3)), 0);
    EXPECT_EQ(trace.AssertCount(), 1u); // the image function does not report
}

TEST_F(VocabularyTest, EventCategoryLabels) {
    EXPECT_EQ(GetEventCategoryName(EVENT_CATEGORY_ACTION), "Aktion");
    EXPECT_EQ(GetEventCategoryName(EVENT_CATEGORY_NOTIFICATION), "Benachrichtigung");
    EXPECT_EQ(GetEventCategoryImage(EVENT_CATEGORY_ACTION), 2);
    EXPECT_EQ(GetEventCategoryImage(EVENT_CATEGORY_NOTIFICATION), 3);
    for (int32_t other : {0, 1, 2, 3, 4, 5, 9, 12, -1}) {
        EXPECT_EQ(GetEventCategoryName(other), "Fehlersignal");
        EXPECT_EQ(GetEventCategoryImage(other), 1);
    }
    EXPECT_EQ(trace.AssertCount(), 0u);
}

TEST_F(VocabularyTest, EventViewKindWords) {
    EXPECT_EQ(GetEventViewKindWord(EVENT_VIEW_INFO), "Info");
    EXPECT_EQ(GetEventViewKindWord(EVENT_VIEW_WARNING), "Warnung");
    EXPECT_EQ(GetEventViewKindWord(EVENT_VIEW_ERROR), "Fehler");
    EXPECT_EQ(GetEventViewKindWord(EVENT_VIEW_PROBLEM_OPENED), "Info");
    EXPECT_EQ(GetEventViewKindWord(EVENT_VIEW_PROBLEM_UNRESOLVED), "Info");
    EXPECT_EQ(GetEventViewKindWord(EVENT_VIEW_PROBLEM_RESOLVED), "Info");
    EXPECT_EQ(trace.AssertCount(), 0u);
    EXPECT_EQ(GetEventViewKindWord(static_cast<EventViewKind>(7)), "");
    ASSERT_EQ(trace.AssertCount(), 1u);
    EXPECT_EQ(trace.AssertDescriptions().at(0), "Unbekannter Ereignistyp");
}

TEST_F(VocabularyTest, ActiveState) {
    EXPECT_EQ(GetActiveStateText(true), "Ja");
    EXPECT_EQ(GetActiveStateText(false), "Nein");
    EXPECT_EQ(GetActiveStateImage(true), 2);
    EXPECT_EQ(GetActiveStateImage(false), 1);
}

// The whole rule, every audition type against every action.
TEST_F(VocabularyTest, IsActionApplicableTable) {
    using A = AuditionType;
    struct Row {
        ActionType action;
        bool app, service, logfile, ntevtlog, net, plugin;
    };
    const Row rows[] = {
        {ACTION_RESTART_APP, true, false, false, false, false, false},
        {ACTION_RESTART_SERVICE, false, true, false, false, false, false},
        {ACTION_RESTART_SYSTEM, true, true, false, true, false, false},
        {ACTION_STOP_SERVICE, false, false, false, false, false, false},
        {ACTION_STOP_APP, false, false, false, false, false, false},
        {ACTION_START_SERVICE, false, false, false, false, false, false},
        {ACTION_START_APP, false, false, false, false, false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.action);
        EXPECT_EQ(IsActionApplicable(A::App, row.action), row.app);
        EXPECT_EQ(IsActionApplicable(A::Service, row.action), row.service);
        EXPECT_EQ(IsActionApplicable(A::Logfile, row.action), row.logfile);
        EXPECT_EQ(IsActionApplicable(A::NTEvtLog, row.action), row.ntevtlog);
        EXPECT_EQ(IsActionApplicable(A::Net, row.action), row.net);
        EXPECT_EQ(IsActionApplicable(A::Plugin, row.action), row.plugin);
    }
    // The cases that matter most.
    EXPECT_FALSE(IsActionApplicable(A::Plugin, ACTION_RESTART_SYSTEM));
    EXPECT_TRUE(IsActionApplicable(A::NTEvtLog, ACTION_RESTART_SYSTEM));
    EXPECT_FALSE(IsActionApplicable(A::App, ACTION_RESTART_SERVICE));
    EXPECT_EQ(trace.AssertCount(), 0u);
}

TEST_F(VocabularyTest, IsActionApplicableUnknownAction) {
    EXPECT_FALSE(IsActionApplicable(AuditionType::App, static_cast<ActionType>(0)));
    EXPECT_FALSE(IsActionApplicable(AuditionType::NTEvtLog, static_cast<ActionType>(8)));
    ASSERT_EQ(trace.AssertCount(), 2u);
    for (const std::string& description : trace.AssertDescriptions())
        EXPECT_EQ(description, "Unbekannter Aktionstyp");
    // The plug-in test comes before the table: no report for a plug-in.
    EXPECT_FALSE(IsActionApplicable(AuditionType::Plugin, static_cast<ActionType>(8)));
    EXPECT_EQ(trace.AssertCount(), 2u);
}

TEST_F(VocabularyTest, AuditionComputer) {
    EXPECT_EQ(GetAuditionComputer(AuditionType::App, "SRV-APP"), "SRV-APP");
    EXPECT_EQ(GetAuditionComputer(AuditionType::Service, "SRV-SVC"), "SRV-SVC");
    EXPECT_EQ(GetAuditionComputer(AuditionType::NTEvtLog, "SRV-EVT"), "SRV-EVT");
    EXPECT_EQ(GetAuditionComputer(AuditionType::Net, "10.0.0.1"), "10.0.0.1");
    EXPECT_EQ(GetAuditionComputer(AuditionType::Plugin, "SRV-PLG"), "SRV-PLG");
    EXPECT_EQ(GetAuditionComputer(AuditionType::Logfile, "SRV-LOG"), "");
    EXPECT_EQ(trace.AssertCount(), 0u);
}

// A Logfile audition has no computer, shown as "unbekannt".
TEST_F(VocabularyTest, LogfileComputerIsShownAsUnknown) {
    const std::string computer = GetAuditionComputer(AuditionType::Logfile, "");
    EXPECT_EQ(computer, "");
    EXPECT_EQ(GetComputerDisplayText(computer), "unbekannt");
    EXPECT_EQ(GetComputerDisplayText("SRV1"), "SRV1");
}

TEST_F(VocabularyTest, AgentComputer) {
    EXPECT_TRUE(IsAgentAuditionType(AuditionType::App));
    EXPECT_TRUE(IsAgentAuditionType(AuditionType::Service));
    EXPECT_TRUE(IsAgentAuditionType(AuditionType::NTEvtLog));
    EXPECT_TRUE(IsAgentAuditionType(AuditionType::Plugin));
    EXPECT_FALSE(IsAgentAuditionType(AuditionType::Logfile));
    EXPECT_FALSE(IsAgentAuditionType(AuditionType::Net)); // the console pings
    EXPECT_FALSE(IsAgentAuditionType(Audition(0)));
    EXPECT_EQ(GetAgentComputer(AuditionType::Service, "SRV"), "SRV");
    EXPECT_EQ(GetAgentComputer(AuditionType::Net, "SRV"), "");
    EXPECT_EQ(GetAgentComputer(AuditionType::Logfile, "SRV"), "");
    EXPECT_EQ(trace.AssertCount(), 0u);
}

TEST_F(VocabularyTest, NamesFollowAReplacedText) {
    SetTarnString(1109, "Application");
    EXPECT_EQ(GetAuditionTypeName(AuditionType::App), "Application");
    ResetTarnStrings();
    EXPECT_EQ(GetAuditionTypeName(AuditionType::App), "Applikation");
}

TEST_F(VocabularyTest, EveryKnownCodeHasANonEmptyName) {
    for (AuditionType type : kAllAuditionTypes)
        EXPECT_FALSE(GetAuditionTypeName(type).empty());
    for (ActionType action : kAllActions) {
        EXPECT_FALSE(GetActionTypeName(action).empty());
        EXPECT_FALSE(GetActionCommandWord(action).empty());
    }
    EXPECT_EQ(trace.AssertCount(), 0u);
}

} // namespace
