// Changing auditions while both worker threads run: an audition deleted,
// renamed or deactivated during its plug-in check is changed only once the
// check has ended, its instance is stopped and released after Check returned,
// and a synchronisation loop racing the passes loses no change.
#include "EngineFixture.h"
#include "PluginTestSupport.h"

#include <future>
#include <map>

namespace {

constexpr int32_t kPluginType = 7001; // the test plug-in "good"

class LiveReconfigurationTest : public ConsoleEngineTest {
protected:
    void SetUp() override {
        ConsoleEngineTest::SetUp();
        DBPlugin plugin;
        plugin.PLUGIN_TYPE = kPluginType;
        plugin.PLUGIN_NAME = "Testplugin";
        plugin.PLUGIN_MODULE = TestPluginPath("good");
        ASSERT_TRUE(m_database.SetPlugin(plugin));
        m_settings.SetReactivate(true);
        // The test's own reference keeps the library and its log of calls
        // loaded after the engine has unloaded its plug-ins.
        ASSERT_EQ(m_plugin.Load(TestPluginPath("good"), kTarnVersionText), CPlugin::LoadOk);
    }
    void TearDown() override {
        m_plugin.Unload();
        ConsoleEngineTest::TearDown();
    }
    // A network audition that always gets its reply: it never stops by itself.
    int32_t StoreNetAudition(const std::string& name, bool active) {
        return StoreAudition(AuditionType::Net, name, active, [](DBAudition& audition) {
            audition.Net.IP_ADDRESS = "127.0.0.1";
            audition.Net.CHECK_INTERVAL = 1;
            audition.Net.TIMEOUT = 1;
        });
    }
    int32_t StorePluginAudition(const std::string& name, bool active) {
        return StoreAudition(AuditionType::Plugin, name, active, [](DBAudition& audition) {
            audition.Plugin.PLUGIN_TYPE = kPluginType;
            audition.Plugin.PLUGIN_NAME = "Testplugin";
        });
    }
    // Holds the plug-in's next check, runs the change and a synchronisation
    // on another thread, checks that the synchronisation waits for the check,
    // then lets the check go; returns the plug-in's calls from the hold on.
    std::string SynchronizeDuringCheck(CConsoleEngine& engine,
                                       const std::function<void()>& change) {
        const CPlugin& plugin = m_plugin;
        HoldTestChecks(plugin, true);
        EXPECT_TRUE(WaitForHeldTestCheck(plugin));
        TakeTestCalls(plugin);
        change();
        auto sync = std::async(std::launch::async, [&] { engine.SynchronizeAuditionList(); });
        EXPECT_EQ(sync.wait_for(std::chrono::milliseconds(300)), std::future_status::timeout)
            << "the synchronisation did not wait for the check";
        HoldTestChecks(plugin, false);
        sync.get();
        return TakeTestCalls(plugin);
    }

    CPlugin m_plugin;
    static size_t Position(const std::string& calls, const std::string& call) {
        const size_t position = calls.find(call);
        EXPECT_NE(position, std::string::npos) << call << " missing in " << calls;
        return position;
    }
};

TEST_F(LiveReconfigurationTest, DeletedDuringItsCheckTheInstanceIsReleasedAfterCheckReturned) {
    const int32_t id = StorePluginAudition("plug", true);
    auto engine = Start(std::chrono::milliseconds(5));
    const std::string calls =
        SynchronizeDuringCheck(*engine, [&] { ASSERT_TRUE(m_database.DeleteAudition(id)); });
    const size_t checkEnd = Position(calls, "CheckEnd()");
    EXPECT_LT(checkEnd, Position(calls, "Stop;"));
    EXPECT_LT(Position(calls, "Stop;"), Position(calls, "Destroy()"));
    CAuditionListLock lock(engine->GetAuditionList());
    EXPECT_EQ(engine->GetAuditionList().GetSize(), 0);
}

TEST_F(LiveReconfigurationTest, RenamedAndDeactivatedDuringItsCheckTheEntryFollowsAfterwards) {
    const int32_t id = StorePluginAudition("plug", true);
    auto engine = Start(std::chrono::milliseconds(5));
    const std::string calls = SynchronizeDuringCheck(*engine, [&] {
        DBAudition changed;
        ASSERT_TRUE(m_database.GetAudition(id, changed));
        changed.NAME = "renamed";
        changed.ACTIVE = false;
        ASSERT_TRUE(m_database.SetAudition(changed));
    });
    EXPECT_LT(Position(calls, "CheckEnd()"), Position(calls, "Stop;"));
    EXPECT_EQ(calls.find("Destroy"), std::string::npos) << calls;
    {
        CAuditionList& list = engine->GetAuditionList();
        CAuditionListLock lock(list);
        ASSERT_EQ(list.GetSize(), 1);
        EXPECT_EQ(list.GetAt(0).Definition.NAME, "renamed");
        EXPECT_FALSE(list.GetAt(0).Running);
    }
    engine->ShutdownFrame();
    EXPECT_NE(TakeTestCalls(m_plugin).find("Destroy()"), std::string::npos);
}

// A few hundred auditions, passes every millisecond, and the operator's
// changes (renames, activation, deletion, new auditions) synchronised in a
// loop: afterwards the list is the database's, and every instance created
// has been released once the engine is shut down.
TEST_F(LiveReconfigurationTest, SynchronisingInALoopWhilePassesRunLosesNoChange) {
    std::vector<int32_t> ids;
    for (int i = 0; i < 200; ++i)
        ids.push_back(i % 2 ? StorePluginAudition("p" + std::to_string(i), true)
                            : StoreNetAudition("n" + std::to_string(i), true));
    auto engine = Start(std::chrono::milliseconds(1));
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    for (int round = 0; std::chrono::steady_clock::now() < end; ++round) {
        DBAudition changed;
        const size_t slot = static_cast<size_t>(round * 7) % ids.size();
        ASSERT_TRUE(m_database.GetAudition(ids[slot], changed));
        changed.NAME = "round " + std::to_string(round);
        changed.ACTIVE = !changed.ACTIVE;
        ASSERT_TRUE(m_database.SetAudition(changed));
        if (round % 5 == 0) {
            const size_t gone = static_cast<size_t>(round * 13 + 1) % ids.size();
            ASSERT_TRUE(m_database.DeleteAudition(ids[gone]));
            ids[gone] = StorePluginAudition("new " + std::to_string(round), true);
        }
        engine->SynchronizeAuditionList();
    }
    DBAuditionList stored;
    ASSERT_TRUE(m_database.GetAllAuditions(stored));
    {
        CAuditionList& list = engine->GetAuditionList();
        CAuditionListLock lock(list);
        ASSERT_EQ(list.GetSize(), static_cast<int>(stored.size()));
        for (const DBAudition& audition : stored) {
            const int index = list.FindIndex(audition.AUDITION_ID);
            ASSERT_GE(index, 0) << audition.NAME;
            const AuditionEntry entry = list.GetAt(index);
            EXPECT_EQ(entry.Definition.NAME, audition.NAME);
            EXPECT_EQ(entry.Running, audition.ACTIVE) << audition.NAME;
        }
    }
    engine->ShutdownFrame();
    const std::string calls = TakeTestCalls(m_plugin);
    std::map<std::string, int> counts;
    for (size_t at = 0; (at = calls.find_first_of("CD", at)) != std::string::npos; ++at) {
        if (calls.compare(at, 7, "Create(") == 0)
            ++counts["Create"];
        else if (calls.compare(at, 8, "Destroy(") == 0)
            ++counts["Destroy"];
    }
    EXPECT_GT(counts["Create"], 100);
    EXPECT_EQ(counts["Create"], counts["Destroy"]);
}

} // namespace
