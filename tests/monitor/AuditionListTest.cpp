#include "AuditionList.h"

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

} // namespace
