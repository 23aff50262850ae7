// The audition thread's pass over the list: daily windows, the agent gate,
// errors taken from agent log files, plug-in and log file checks, event view
// lines, and the thread's start and end.
#include "AuditThreadFixture.h"
#include "MessageText.h"

#include "../core/TraceCapture.h"
#include "StringTable.h"

#include <stdexcept>

namespace {

const std::string kNow = "20240115120000";

class AuditThreadTest : public AuditThreadFixture {};

// ---- Daily windows --------------------------------------------------------------

struct WindowCase {
    int32_t begin, end;
    int hour;
    bool inside;
};

TEST(ActiveWindow, BeginEndAndWholeDay) {
    const WindowCase cases[] = {
        {22, 6, 23, true},  {22, 6, 5, true},   {22, 6, 6, false}, {22, 6, 21, false},
        {22, 6, 22, true},  {22, 6, 0, true},   {8, 17, 8, true},  {8, 17, 16, true},
        {8, 17, 17, false}, {8, 17, 7, false},  {8, 8, 0, true},   {8, 8, 8, true},
        {8, 8, 23, true},   {0, 24, 0, true},   {0, 24, 23, true}, {24, 0, 12, false},
        {24, 0, 0, false},  {23, 24, 23, true}, {0, 1, 0, true},   {0, 1, 1, false},
    };
    for (const WindowCase& c : cases)
        EXPECT_EQ(IsInActiveWindow(c.begin, c.end, c.hour), c.inside)
            << c.begin << " to " << c.end << " at " << c.hour;
}

TEST_F(AuditThreadTest, WindowAcrossMidnightDecidesWhetherTheCheckRuns) {
    struct TimeCase {
        int hour, minute;
        bool checked;
    };
    const TimeCase cases[] = {{23, 0, true}, {5, 59, true}, {6, 0, false}, {21, 59, false}};
    DBAudition audition = Net(1, "gamma", "10.0.0.1");
    audition.ACTIVE_BEGIN = 22;
    audition.ACTIVE_END = 6;
    AddStarted(audition);
    for (const TimeCase& c : cases) {
        m_now = LocalTime(c.hour, c.minute);
        AuditionEntry entry = Entry(1);
        m_pinger.requests.clear();
        m_thread.CheckEntry(entry);
        EXPECT_EQ(m_pinger.requests.size(), c.checked ? 1u : 0u) << c.hour << ":" << c.minute;
        EXPECT_EQ(entry.FirstCheck, !c.checked) << c.hour << ":" << c.minute;
    }
}

TEST_F(AuditThreadTest, PausedAndStoppedEntriesAreNotChecked) {
    AddStarted(Net(1, "gamma", "10.0.0.1"));
    AuditionEntry paused = Entry(1);
    paused.Paused = true;
    EXPECT_FALSE(m_thread.CheckEntry(paused));
    AuditionEntry stopped = Entry(1);
    stopped.Running = false;
    EXPECT_FALSE(m_thread.CheckEntry(stopped));
    EXPECT_TRUE(m_pinger.requests.empty());
}

// ---- Agent-reported auditions ---------------------------------------------------

TEST_F(AuditThreadTest, TwoErrorLinesGiveTwoSignalsInTwoPasses) {
    WriteAgent("alpha", {"EXPLORER.EXE"}, {});
    LogLine first;
    first.module = "explorer.exe";
    first.description = "first crash";
    LogLine second = first;
    second.description = "second crash";
    WriteLog("alpha", {first, second});
    AddStarted(App(1, "alpha", "EXPLORER.EXE"));

    m_thread.RunPass();
    ASSERT_EQ(m_host.errors.size(), 1u);
    const DBHEvent& signal = m_host.errors[0].Signal;
    EXPECT_EQ(signal.EVENT_ID, 1);
    EXPECT_EQ(signal.DATE, kNow);
    EXPECT_EQ(signal.COMPUTER, "alpha");
    EXPECT_EQ(signal.SOURCE_MODULE_NAME, "explorer.exe");
    EXPECT_EQ(signal.CATEGORY, 1);
    EXPECT_EQ(signal.EVENT_DESCRIPTION, "first crash");
    EXPECT_EQ(m_host.errors[0].LastErrorTime, m_now);
    std::vector<std::string> lines = LogLines("alpha");
    EXPECT_EQ(lines[0].substr(0, 14), "00000000000000");
    EXPECT_EQ(lines[1].substr(0, 14), "20240115100000");

    m_now += 15;
    m_thread.RunPass();
    ASSERT_EQ(m_host.errors.size(), 2u);
    EXPECT_EQ(m_host.errors[1].Signal.EVENT_ID, 2);
    EXPECT_EQ(m_host.errors[1].Signal.EVENT_DESCRIPTION, "second crash");
    EXPECT_EQ(m_host.errors[1].Signal.DATE, FormatTimeStamp(m_now));

    m_thread.RunPass();
    EXPECT_EQ(m_host.errors.size(), 2u);
    EXPECT_EQ(m_host.Texts(EVENT_VIEW_ERROR), std::vector<std::string>(2, LoadTarnString(1113)));
    EXPECT_EQ(m_host.checkedIds, (std::vector<int32_t>{1, 1, 1}));
}

TEST_F(AuditThreadTest, LaterPassesGoOnWhereTheLastScanOfTheLogEnded) {
    WriteAgent("alpha", {"explorer.exe"}, {});
    LogLine other;
    other.module = "winword.exe";
    LogLine match;
    match.module = "explorer.exe";
    WriteLog("alpha", {other, other});
    AddStarted(App(1, "alpha", "explorer.exe"));

    m_thread.RunPass();
    EXPECT_TRUE(m_host.errors.empty());
    EXPECT_EQ(Entry(1).AgentLogResume.Line(), 3); // both lines were passed over

    WriteLog("alpha", {other, other, match});
    m_now += 15;
    m_thread.RunPass();
    ASSERT_EQ(m_host.errors.size(), 1u);
    EXPECT_EQ(m_host.errors[0].Signal.EVENT_ID, 3);
    EXPECT_EQ(Entry(1).AgentLogResume.Line(), 3); // taken now: passed over next time
}

// A signal whose store is refused (a full disk) leaves its line unmarked and
// says so; the next pass takes the same line again.
TEST_F(AuditThreadTest, LineIsMarkedOnlyOnceItsSignalIsStored) {
    WriteAgent("alpha", {"explorer.exe"}, {});
    LogLine crash;
    crash.module = "explorer.exe";
    WriteLog("alpha", {crash});
    AddStarted(App(1, "alpha", "explorer.exe"));

    m_host.refuseStore = true;
    m_thread.RunPass();
    EXPECT_EQ(LogLines("alpha")[0].substr(0, 14), "20240115100000");
    EXPECT_EQ(m_host.Texts(EVENT_VIEW_ERROR),
              (std::vector<std::string>{LoadTarnString(1113), LoadTarnString(7005)}));

    m_host.refuseStore = false;
    m_thread.RunPass();
    ASSERT_EQ(m_host.errors.size(), 1u);
    EXPECT_EQ(m_host.errors[0].Signal.EVENT_ID, 1);
    EXPECT_EQ(LogLines("alpha")[0].substr(0, 14), "00000000000000");
    m_thread.RunPass();
    EXPECT_EQ(m_host.errors.size(), 1u);
}

TEST_F(AuditThreadTest, LinesOfOtherComputersAndModulesStayUnprocessed) {
    WriteAgent("alpha", {"explorer.EXE"}, {});
    LogLine otherComputer;
    otherComputer.computer = "beta";
    otherComputer.module = "explorer.exe";
    LogLine otherModule;
    otherModule.module = "winword.exe";
    LogLine serviceError;
    serviceError.category = 2;
    serviceError.module = "explorer.exe";
    LogLine match;
    match.computer = "ALPHA";
    match.module = "Explorer.exe  ";
    WriteLog("alpha", {otherComputer, otherModule, serviceError, match});
    AddStarted(App(1, "alpha", "explorer.EXE"));

    m_thread.RunPass();
    ASSERT_EQ(m_host.errors.size(), 1u);
    EXPECT_EQ(m_host.errors[0].Signal.EVENT_ID, 4);
    std::vector<std::string> lines = LogLines("alpha");
    ASSERT_EQ(lines.size(), 4u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(lines[i].substr(0, 14), "20240115100000") << "line " << i + 1;
    EXPECT_EQ(lines[3].substr(0, 14), "00000000000000");
}

TEST_F(AuditThreadTest, ServiceMatchesItsNameIgnoringCaseAndTrailingBlanks) {
    WriteAgent("alpha", {}, {"spooler"});
    LogLine appError;
    appError.sourceName = "Spooler";
    LogLine otherService;
    otherService.category = 2;
    otherService.sourceName = "Netlogon";
    LogLine match;
    match.category = 2;
    match.sourceName = "SPOOLER \t";
    WriteLog("alpha", {appError, otherService, match});
    AddStarted(Service(1, "alpha", "spooler", "Spooler"));

    m_thread.RunPass();
    ASSERT_EQ(m_host.errors.size(), 1u);
    EXPECT_EQ(m_host.errors[0].Signal.EVENT_ID, 3);
    EXPECT_EQ(m_host.errors[0].Signal.SOURCE_NAME, "SPOOLER \t");
}

TEST_F(AuditThreadTest, ModuleMatchesIgnoringCaseOfEveryLetter) {
    WriteAgent("alpha", {"MÜLLER.EXE"}, {});
    LogLine match;
    match.module = "müller.exe";
    WriteLog("alpha", {match});
    AddStarted(App(1, "alpha", "MÜLLER.EXE"));

    m_thread.RunPass();
    ASSERT_EQ(m_host.errors.size(), 1u);
    EXPECT_EQ(m_host.errors[0].Signal.SOURCE_MODULE_NAME, "müller.exe");
}

TEST_F(AuditThreadTest, UndatedLineIsNeverSignalledAndNamedOnce) {
    WriteAgent("alpha", {"explorer.exe"}, {});
    LogLine undated;
    undated.date = "";
    undated.module = "explorer.exe";
    WriteLog("alpha", {undated});
    AddStarted(App(1, "alpha", "explorer.exe"));

    for (int pass = 0; pass < 3; ++pass)
        m_thread.RunPass();
    EXPECT_TRUE(m_host.errors.empty());
    const std::string logPath = m_dir + "alpha/alpha.log";
    EXPECT_EQ(m_host.Texts(EVENT_VIEW_WARNING),
              std::vector<std::string>{FillMessage(LoadTarnString(7003), {"1", logPath})});
    EXPECT_EQ(LogLines("alpha")[0], undated.Text() + "\r");
}

TEST_F(AuditThreadTest, EventLogDescriptionNamesSourceAndEventId) {
    WriteAgent("alpha", {}, {});
    LogLine line;
    line.source = 2;
    line.sourceName = "Disk";
    line.type = 2;
    line.category = 0;
    line.infoId = "7";
    line.description = "bad block";
    WriteLog("alpha", {line});
    AddStarted(EventLog(1, "alpha"));

    m_thread.RunPass();
    ASSERT_EQ(m_host.errors.size(), 1u);
    EXPECT_EQ(m_host.errors[0].Signal.EVENT_DESCRIPTION, "Disk (7): bad block");
    EXPECT_EQ(m_host.errors[0].Signal.INFO_ID, "7");
}

TEST_F(AuditThreadTest, LongDescriptionsReachTheFrameCutTo254Characters) {
    WriteAgent("alpha", {"a.exe", "b.exe"}, {});
    LogLine ascii;
    ascii.module = "a.exe";
    ascii.description = std::string(300, 'x');
    LogLine umlauts;
    umlauts.module = "b.exe";
    umlauts.description.clear();
    for (int i = 0; i < 300; ++i)
        umlauts.description += "ä";
    LogLine exact = ascii;
    exact.description = std::string(254, 'y');
    WriteLog("alpha", {ascii, umlauts, exact});
    AddStarted(App(1, "alpha", "a.exe"));
    AddStarted(App(2, "alpha", "b.exe"));

    m_thread.RunPass();
    m_thread.RunPass();
    ASSERT_EQ(m_host.errors.size(), 3u);
    EXPECT_EQ(m_host.errors[0].Signal.EVENT_DESCRIPTION, std::string(254, 'x'));
    std::string expected;
    for (int i = 0; i < 254; ++i)
        expected += "ä";
    EXPECT_EQ(m_host.errors[1].Signal.EVENT_DESCRIPTION, expected);
    EXPECT_EQ(m_host.errors[2].Signal.EVENT_DESCRIPTION, std::string(254, 'y'));
    EXPECT_EQ(Entry(1).Signal.EVENT_DESCRIPTION, std::string(254, 'y'));
}

TEST_F(AuditThreadTest, MissingAgentLogStopsTheAudition) {
    WriteAgent("alpha", {"explorer.exe"}, {});
    AddStarted(App(1, "alpha", "explorer.exe"));
    m_host.lines.clear();

    m_thread.RunPass();
    EXPECT_TRUE(m_host.errors.empty());
    const std::string path = m_dir + "alpha/alpha.log";
    ASSERT_EQ(m_host.lines.size(), 2u);
    EXPECT_EQ(m_host.lines[0].kind, EVENT_VIEW_ERROR);
    EXPECT_EQ(m_host.lines[0].text, "Überwachungsdatei <" + path +
                                        "> nicht vorhanden. Überwachung kann nicht durchgeführt "
                                        "werden.");
    EXPECT_EQ(m_host.lines[0].computer, "alpha");
    EXPECT_EQ(m_host.lines[0].audition, "audition 1");
    EXPECT_EQ(m_host.lines[1].kind, EVENT_VIEW_INFO);
    EXPECT_EQ(m_host.lines[1].text, LoadTarnString(1117));
    EXPECT_EQ(m_openWaits, LMLogFile::kOpenAttempts);
    const AuditionEntry entry = Entry(1);
    EXPECT_FALSE(entry.Running);
    EXPECT_FALSE(entry.FirstCheck);

    // It stays stopped: no further attempts and lines.
    m_thread.RunPass();
    EXPECT_EQ(m_host.lines.size(), 2u);
}

struct GateCase {
    const char* name;
    bool listed, agentRunning, restartPending, performs;
};

TEST_F(AuditThreadTest, AgentGateKeepsTheLogUntouched) {
    const GateCase cases[] = {
        {"open gate", true, true, false, true},
        {"agent not alive", true, false, false, false},
        {"restart pending", true, true, true, false},
        {"computer not listed", false, true, false, false},
    };
    for (const GateCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string computer = std::string("c") + std::to_string(&c - cases);
        WriteAgent(c.listed ? computer : "other", {"app.exe"}, {});
        WriteFile(computer + "/" + computer + ".INI", "[Information]\r\nTARNStartDate=1\r\n");
        LogLine line;
        line.computer = computer;
        line.module = "app.exe";
        WriteLog(computer, {line});
        const int32_t id = static_cast<int32_t>(&c - cases) + 1;
        AddStarted(App(id, computer, "app.exe"));
        int nIndex = m_computers.FindOrAdd(computer);
        AgentComputer record = m_computers.GetAt(nIndex);
        record.Alive = c.agentRunning;
        record.RestartPending = c.restartPending;
        m_computers.SetAt(nIndex, record);

        AuditionEntry entry = Entry(id);
        m_agents.RegisterAgentComputer(entry);
        EXPECT_EQ(m_thread.CheckEntry(entry), c.performs);
        EXPECT_EQ(LogLines(computer)[0].substr(0, 1), "2"); // marked only once stored
        // FirstCheck is cleared only by a check that passed the gate.
        EXPECT_EQ(entry.FirstCheck, !c.performs);
        EXPECT_EQ(entry.AgentPerforms, c.listed && c.agentRunning);
    }
}

// ---- Plug-in auditions ------------------------------------------------------------

TEST_F(AuditThreadTest, OnlyPluginStatus201SignalsAnError) {
    for (int32_t status : {200, 201, 202, 0, -1}) {
        SCOPED_TRACE(status);
        FakePluginInstance instance;
        instance.status = status;
        {
            CAuditionListLock lock(m_list);
            while (m_list.GetSize() > 0)
                m_list.RemoveAt(0);
        }
        AddStarted(Plugin(1, ""), &instance);
        AuditionEntry entry = Entry(1);
        const bool error = m_thread.CheckEntry(entry);
        EXPECT_EQ(error, status == PLUGIN_CHECK_ERROR);
        EXPECT_EQ(instance.checks, 1);
        EXPECT_EQ(instance.seenInfoId, "0");
        EXPECT_EQ(instance.seenDescription, "");
        EXPECT_FALSE(entry.FirstCheck);
    }
}

TEST_F(AuditThreadTest, PluginErrorFillsTheSignal) {
    WriteAgent("delta", {}, {});
    FakePluginInstance instance;
    instance.status = PLUGIN_CHECK_ERROR;
    AddStarted(Plugin(1, "delta"), &instance);
    m_thread.RunPass();
    ASSERT_EQ(m_host.errors.size(), 1u);
    const DBHEvent& signal = m_host.errors[0].Signal;
    EXPECT_EQ(signal.SOURCE, 3);
    EXPECT_EQ(signal.TYPE, 1);
    EXPECT_EQ(signal.CATEGORY, 5);
    EXPECT_EQ(signal.SOURCE_MODULE_NAME, "DiskPlug");
    EXPECT_EQ(signal.COMPUTER, "delta");
    EXPECT_EQ(signal.INFO_ID, "17");
    EXPECT_EQ(signal.EVENT_DESCRIPTION, "disk full");
    EXPECT_EQ(signal.DATE, kNow);
}

TEST_F(AuditThreadTest, PluginOnADeadAgentsComputerIsNotChecked) {
    WriteAgent("delta", {}, {}, false);
    FakePluginInstance instance;
    instance.status = PLUGIN_CHECK_ERROR;
    AddStarted(Plugin(1, "delta"), &instance);
    m_thread.RunPass(); // the first pass learns that the agent is gone
    m_thread.RunPass();
    EXPECT_EQ(instance.checks, 1);
    EXPECT_EQ(m_host.Texts(EVENT_VIEW_WARNING),
              (std::vector<std::string>{LoadTarnString(1022), LoadTarnString(1020)}));
}

TEST_F(AuditThreadTest, PluginWithoutInstanceIsNotStartedAndSaysWhy) {
    AddStarted(Plugin(1, ""));
    m_thread.RunPass();
    EXPECT_FALSE(Entry(1).Running);
    EXPECT_TRUE(m_host.Texts(EVENT_VIEW_INFO).empty());
    EXPECT_EQ(m_host.Texts(EVENT_VIEW_ERROR),
              std::vector<std::string>{
                  FillMessage(LoadTarnString(7702), {FillMessage(LoadTarnString(7705), {"9"})})});
}

// ---- Log file auditions --------------------------------------------------------------

TEST_F(AuditThreadTest, ExistingWatchedFileSignalsAnError) {
    WriteFile("watched.txt", "x");
    AddStarted(Logfile(1, m_dir + "watched.txt", 0));
    m_thread.RunPass();
    ASSERT_EQ(m_host.errors.size(), 1u);
    EXPECT_EQ(m_host.errors[0].Signal.CATEGORY, 3);
    EXPECT_EQ(m_host.errors[0].Signal.SOURCE_MODULE_NAME, m_dir + "watched.txt");
    EXPECT_EQ(m_host.errors[0].Signal.DATE, kNow);
    EXPECT_EQ(m_host.errors[0].NextFileCheck, m_now + 6 * 60);
    EXPECT_EQ(m_host.lines.back().computer, "");
    // Not due again before the interval plus one minute.
    m_now += 6 * 60 - 1;
    m_thread.RunPass();
    EXPECT_EQ(m_host.errors.size(), 1u);
    m_now += 1;
    m_thread.RunPass();
    EXPECT_EQ(m_host.errors.size(), 2u);
}

TEST_F(AuditThreadTest, MissingFileThatMustChangeStopsTheAudition) {
    AddStarted(Logfile(1, m_dir + "gone.txt", 1));
    m_thread.RunPass();
    EXPECT_TRUE(m_host.errors.empty());
    EXPECT_FALSE(Entry(1).Running);
    const std::vector<std::string> errors = m_host.Texts(EVENT_VIEW_ERROR);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("<" + m_dir + "gone.txt>"), std::string::npos);
}

// ---- Start, stop and event view lines ------------------------------------------------

TEST_F(AuditThreadTest, StartAndStopWriteTheirLinesOnlyOnChange) {
    AuditionEntry entry;
    entry.Definition = Service(1, "alpha", "spooler", "Spooler");
    entry.Paused = true;
    entry.AgentPerforms = false;
    entry.PingFailures = 2;
    entry.FirstCheck = false;
    m_thread.StartAudition(entry);
    EXPECT_TRUE(entry.Running);
    EXPECT_FALSE(entry.Paused);
    EXPECT_TRUE(entry.AgentPerforms);
    EXPECT_TRUE(entry.FirstCheck);
    EXPECT_EQ(entry.PingFailures, 0);
    entry.PingFailures = 1;
    m_thread.StartAudition(entry); // already running: left alone
    EXPECT_EQ(entry.PingFailures, 1);
    m_thread.StopAudition(entry, false);
    m_thread.StopAudition(entry, false);
    EXPECT_FALSE(entry.Running);
    ASSERT_EQ(m_host.lines.size(), 2u);
    EXPECT_EQ(m_host.lines[0].text, "Überwachung gestartet");
    EXPECT_EQ(m_host.lines[1].text, "Überwachung angehalten");
    EXPECT_EQ(m_host.lines[0].computer, "alpha");
    EXPECT_EQ(m_host.lines[0].audition, "audition 1");
    m_thread.StartAudition(entry);
    m_thread.StopAudition(entry, true);
    EXPECT_EQ(m_host.lines.size(), 3u);
}

TEST_F(AuditThreadTest, NetworkLinesNameTheWatchedComputer) {
    AuditionEntry entry;
    entry.Definition = Net(1, "gamma", "10.0.0.1");
    m_thread.AddAuditionEventLine(entry, EVENT_VIEW_WARNING, "text");
    ASSERT_EQ(m_host.lines.size(), 1u);
    EXPECT_EQ(m_host.lines[0].computer, "gamma");
    EXPECT_EQ(m_host.lines[0].kind, EVENT_VIEW_WARNING);
}

TEST_F(AuditThreadTest, StoppingAPluginAuditionCallsTheInstance) {
    FakePluginInstance instance;
    AddStarted(Plugin(1, ""), &instance);
    AuditionEntry entry = Entry(1);
    m_thread.StopAudition(entry, true);
    m_thread.StopAudition(entry, true);
    EXPECT_EQ(instance.stops, 1);
}

// An audition that cannot run gets one error line with its reason, however
// often it is started, and is never checked.
TEST_F(AuditThreadTest, AuditionThatCannotRunGetsOneErrorLineAndIsNeverChecked) {
    DBAudition noDetails = Net(2, "gamma", "10.0.0.1");
    noDetails.DetailsRead = false;
    const struct {
        DBAudition audition;
        std::string reason;
    } cases[] = {
        {Base(1, static_cast<AuditionType>(9), ""), FillMessage(LoadTarnString(7703), {"9"})},
        {noDetails, LoadTarnString(7704)},
    };
    for (const auto& c : cases) {
        TraceCapture trace;
        m_host.lines.clear();
        AddStarted(c.audition);
        AuditionEntry entry = Entry(c.audition.AUDITION_ID);
        m_thread.StartAudition(entry);
        m_thread.RunPass();
        EXPECT_FALSE(entry.Running);
        EXPECT_TRUE(m_host.errors.empty());
        EXPECT_TRUE(m_pinger.requests.empty());
        EXPECT_TRUE(trace.AssertDescriptions().empty());
        ASSERT_EQ(m_host.lines.size(), 1u) << c.reason;
        EXPECT_EQ(m_host.lines[0].kind, EVENT_VIEW_ERROR);
        EXPECT_EQ(m_host.lines[0].audition, c.audition.NAME);
        EXPECT_EQ(m_host.lines[0].text, FillMessage(LoadTarnString(7702), {c.reason}));
    }
}

TEST_F(AuditThreadTest, FrameSeesTheWrittenBackEntryWhenAnErrorArrives) {
    WriteFile("watched.txt", "x");
    AddStarted(Logfile(1, m_dir + "watched.txt", 0));
    std::time_t listedErrorTime = 0;
    m_host.onAuditionError = [&](const AuditionEntry&) {
        listedErrorTime = Entry(1).LastErrorTime;
    };
    m_thread.RunPass();
    EXPECT_EQ(listedErrorTime, m_now);
}

TEST_F(AuditThreadTest, StopByTheFrameBeforeTheCheckIsKept) {
    WriteFile("watched.txt", "x");
    AddStarted(Logfile(1, m_dir + "watched.txt", 0));
    m_host.onCheckOpenProblems = [&](AuditionEntry& entry) { m_thread.StopAudition(entry, false); };
    m_thread.RunPass();
    EXPECT_TRUE(m_host.errors.empty());
    EXPECT_FALSE(Entry(1).Running);
}

TEST_F(AuditThreadTest, RemovedAuditionIsNotWrittenBack) {
    WriteFile("watched.txt", "x");
    AddStarted(Logfile(1, m_dir + "watched.txt", 0));
    AddStarted(Logfile(2, m_dir + "watched.txt", 0));
    m_host.onCheckOpenProblems = [&](AuditionEntry& entry) {
        if (entry.Definition.AUDITION_ID != 1)
            return;
        CAuditionListLock lock(m_list);
        m_list.RemoveAt(m_list.FindIndex(1));
    };
    m_thread.RunPass();
    // The list shrank under the pass: the entry after the removed one moved to index 0
    // and is not reached in this pass; nothing is added back.
    CAuditionListLock lock(m_list);
    EXPECT_EQ(m_list.GetSize(), 1);
    EXPECT_EQ(m_host.errors.size(), 1u);
    EXPECT_EQ(m_host.checkedIds, std::vector<int32_t>{1});
}

// ---- The thread ------------------------------------------------------------------------

TEST_F(AuditThreadTest, StopDuringAPassEndsAfterThePass) {
    FakePluginInstance instance;
    AddStarted(Plugin(1, ""), &instance);
    AddStarted(Net(2, "gamma", "10.0.0.1"));
    AddStarted(Plugin(3, ""), &instance);
    m_host.onCheckOpenProblems = [&](AuditionEntry& entry) {
        if (entry.Definition.AUDITION_ID == 1)
            m_stop.Set();
    };
    m_host.lines.clear();
    m_thread.Start();
    m_thread.Join();
    EXPECT_FALSE(m_thread.IsThreadRunning());
    EXPECT_EQ(m_host.checkedIds, (std::vector<int32_t>{1, 2, 3}));
    EXPECT_EQ(instance.checks, 2);
    EXPECT_EQ(m_pinger.requests.size(), 1u);
    for (int32_t id : {1, 2, 3})
        EXPECT_FALSE(Entry(id).Running) << id;
    EXPECT_EQ(instance.stops, 2);
    EXPECT_TRUE(m_host.lines.empty()); // the final stop is silent
}

TEST_F(AuditThreadTest, StopBeforeTheFirstPassRunsNoPass) {
    FakePluginInstance instance;
    AddStarted(Plugin(1, ""), &instance);
    CAuditThread thread(m_host, m_list, m_agents, m_pinger, m_stop, Options(std::chrono::hours(1)));
    thread.Start();
    EXPECT_TRUE(thread.IsThreadRunning());
    m_stop.Set();
    thread.Join();
    EXPECT_FALSE(thread.IsThreadRunning());
    EXPECT_TRUE(m_host.checkedIds.empty());
    EXPECT_EQ(instance.checks, 0);
    EXPECT_EQ(instance.stops, 1);
    EXPECT_FALSE(Entry(1).Running);
}

TEST_F(AuditThreadTest, PassesRepeatUntilTheStopEvent) {
    FakePluginInstance instance;
    AddStarted(Plugin(1, ""), &instance);
    int passes = 0;
    m_host.onCheckOpenProblems = [&](AuditionEntry&) {
        if (++passes == 5)
            m_stop.Set();
    };
    m_thread.Start();
    m_thread.Join();
    EXPECT_EQ(passes, 5);
    EXPECT_EQ(instance.checks, 5);
    EXPECT_EQ(m_thread.GetPassCount(), 5u); // the pass during which the stop came is finished
}

// A check that throws is reported in the trace file; the rest of the pass and
// the following passes run, and the thread goes on until it is stopped.
TEST_F(AuditThreadTest, AThrowingCheckIsReportedAndThePassesGoOn) {
    class ThrowingPinger : public IPinger {
    public:
        explicit ThrowingPinger(CEvent& stop) : m_stop(stop) {}
        int32_t Ping(const std::string& host, uint32_t) override {
            hosts.push_back(host);
            if (hosts.size() == 4)
                m_stop.Set();
            if (host == "10.0.0.1")
                throw std::runtime_error("Gateway verschwunden");
            return PING_ANSWER_REPLY;
        }
        std::vector<std::string> hosts;

    private:
        CEvent& m_stop;
    };
    TraceCapture trace;
    ThrowingPinger pinger(m_stop);
    AddStarted(Net(1, "", "10.0.0.1"));
    AddStarted(Net(2, "", "10.0.0.2"));
    CAuditThread thread(m_host, m_list, m_agents, pinger, m_stop, Options());
    thread.Start();
    thread.Join();
    // The throwing audition keeps its first check (its write-back is dropped)
    // and pings again in the next pass; the second audition pinged once.
    EXPECT_EQ(pinger.hosts,
              (std::vector<std::string>{"10.0.0.1", "10.0.0.2", "10.0.0.1", "10.0.0.1"}));
    EXPECT_EQ(trace.AssertCount(), 3u);
    const std::string text = trace.Text();
    EXPECT_NE(text.find("Bedingung: Gateway verschwunden"), std::string::npos) << text;
    EXPECT_NE(text.find("Unerwartete Ausnahme in tarn-audit"), std::string::npos) << text;
    EXPECT_FALSE(Entry(1).Running); // stopped at the end as every entry
}

} // namespace
