#include "AuditionList.h"
#include "AuditionClaim.h"

#include <atomic>
#include <chrono>
#include <thread>

#include <gtest/gtest.h>

namespace {

DBAudition MakeAudition(int32_t id, const std::string& name) {
    DBAudition audition;
    audition.AUDITION_ID = id;
    audition.NAME = name;
    return audition;
}

TEST(AuditionList, NewEntryHasInitialRuntimeValues) {
    CAuditionList list;
    list.AddAudition(MakeAudition(7, "a"));
    AuditionEntry entry = list.GetAt(0);
    EXPECT_FALSE(entry.Running);
    EXPECT_FALSE(entry.Paused);
    EXPECT_TRUE(entry.FirstCheck);
    EXPECT_TRUE(entry.AgentPerforms);
    EXPECT_EQ(entry.LastErrorTime, 0);
    EXPECT_EQ(entry.PingFailures, 0);
    EXPECT_EQ(entry.PluginInstance, nullptr);
    EXPECT_EQ(entry.Definition.NAME, "a");
}

TEST(AuditionList, FindIndexAndUpdateEntry) {
    CAuditionList list;
    EXPECT_EQ(list.FindIndex(1), -1);
    list.AddAudition(MakeAudition(1, "one"));
    list.AddAudition(MakeAudition(2, "two"));
    list.AddAudition(MakeAudition(2, "second two"));
    EXPECT_EQ(list.FindIndex(2), 1); // the first of two entries with the same key

    AuditionEntry entry = list.GetAt(1);
    entry.PingFailures = 3;
    list.UpdateEntry(entry);
    EXPECT_EQ(list.GetAt(1).PingFailures, 3);
    EXPECT_EQ(list.GetAt(2).PingFailures, 0);

    AuditionEntry gone = entry;
    gone.Definition.AUDITION_ID = 99;
    list.UpdateEntry(gone); // the audition was removed meanwhile: dropped silently
    EXPECT_EQ(list.GetSize(), 3);
}

TEST(AuditionList, RemoveFirstOfThreeKeepsOrder) {
    CAuditionList list;
    for (int32_t id = 1; id <= 3; ++id)
        list.AddAudition(MakeAudition(id, "x"));
    list.RemoveAt(0);
    ASSERT_EQ(list.GetSize(), 2);
    EXPECT_EQ(list.GetAt(0).Definition.AUDITION_ID, 2);
    EXPECT_EQ(list.GetAt(1).Definition.AUDITION_ID, 3);
}

// Entries are found by their id after every kind of change of the list.
TEST(AuditionList, FindIndexFollowsReplacementsAndRemovals) {
    CAuditionList list;
    for (int32_t id = 1; id <= 5; ++id)
        list.AddAudition(MakeAudition(id, "x"));
    AuditionEntry replacement = list.GetAt(1);
    replacement.Definition.AUDITION_ID = 9;
    list.SetAt(1, replacement); // 1 9 3 4 5
    list.RemoveAt(0);           // 9 3 4 5
    list.RemoveEntry(4);        // 9 3 5
    list.AddAudition(MakeAudition(2, "new"));
    const std::pair<int32_t, int> expected[] = {{9, 0}, {3, 1}, {5, 2}, {2, 3}, {1, -1}, {4, -1}};
    for (const auto& [id, index] : expected)
        EXPECT_EQ(list.FindIndex(id), index) << id;
}

TEST(AuditionList, InvalidIndexTouchesNothing) {
    CAuditionList list;
    list.AddAudition(MakeAudition(1, "only"));
    AuditionEntry entry;
    entry.Definition.AUDITION_ID = 5;
    for (int bad : {-1, 1, 100}) {
        EXPECT_EQ(list.GetAt(bad).Definition.AUDITION_ID, 0);
        list.SetAt(bad, entry);
        list.RemoveAt(bad);
    }
    ASSERT_EQ(list.GetSize(), 1);
    EXPECT_EQ(list.GetAt(0).Definition.AUDITION_ID, 1);
}

TEST(AuditionList, CopiesOutNeverAliasTheList) {
    CAuditionList list;
    list.AddAudition(MakeAudition(1, "before"));
    AuditionEntry copy = list.GetAt(0);
    copy.Definition.NAME = "after";
    EXPECT_EQ(list.GetAt(0).Definition.NAME, "before");
}

// The audition thread's write-back: the run state of its copy, never the
// definition, the notify plan or the instance that the synchronisation set.
TEST(AuditionList, UpdateRunStateKeepsTheConfigurationOfTheListedEntry) {
    CAuditionList list;
    list.AddAudition(MakeAudition(7, "renamed"));
    AuditionEntry listed = list.GetAt(0);
    listed.NotifyProfiles = "3;9;0";
    auto* instance = reinterpret_cast<IPluginInstance*>(&listed);
    listed.PluginInstance = instance;
    list.SetAt(0, listed);

    AuditionEntry checked;
    checked.Definition = MakeAudition(7, "old name");
    checked.Running = true;
    checked.FirstCheck = false;
    checked.LastErrorTime = 99;
    checked.PingFailures = 2;
    checked.Signal.EVENT_DESCRIPTION = "down";
    checked.ReportedUnmarkableLine = 4;
    list.UpdateRunState(checked);

    const AuditionEntry stored = list.GetAt(0);
    EXPECT_EQ(stored.Definition.NAME, "renamed");
    EXPECT_EQ(stored.NotifyProfiles, "3;9;0");
    EXPECT_EQ(stored.PluginInstance, instance);
    EXPECT_TRUE(stored.Running);
    EXPECT_FALSE(stored.FirstCheck);
    EXPECT_EQ(stored.LastErrorTime, 99);
    EXPECT_EQ(stored.PingFailures, 2);
    EXPECT_EQ(stored.Signal.EVENT_DESCRIPTION, "down");
    EXPECT_EQ(stored.ReportedUnmarkableLine, 4);
}

// A change by another thread waits while the entry is claimed; the claim
// holder's own write goes through.
TEST(AuditionList, ChangesOfAClaimedEntryWaitForTheClaim) {
    CAuditionList list;
    {
        CAuditionListLock lock(list);
        list.AddAudition(MakeAudition(7, "a"));
    }
    std::atomic<bool> changed{false};
    std::thread other;
    {
        CAuditionClaim claim = CAuditionClaim::OfAudition(list, 7);
        ASSERT_TRUE(claim);
        other = std::thread([&] {
            AuditionEntry entry = claim.Entry();
            entry.Definition.NAME = "from the other thread";
            CAuditionListLock lock(list);
            list.UpdateEntry(entry);
            changed = true;
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        EXPECT_FALSE(changed);
        claim.Entry().Definition.NAME = "from the holder";
        claim.WriteBack();
        CAuditionListLock lock(list);
        EXPECT_EQ(list.GetAt(0).Definition.NAME, "from the holder");
    }
    other.join();
    EXPECT_TRUE(changed);
    CAuditionListLock lock(list);
    EXPECT_EQ(list.GetAt(0).Definition.NAME, "from the other thread");
}

} // namespace
