#include "ComputerList.h"

#include <gtest/gtest.h>
#include <thread>

namespace {

TEST(ComputerList, FindOrAddIsCaseSensitiveAndCreatesDefaults) {
    CComputerList list;
    EXPECT_EQ(list.FindOrAdd("alpha"), 0);
    EXPECT_EQ(list.FindOrAdd("Alpha"), 1);
    EXPECT_EQ(list.FindOrAdd("alpha"), 0);
    AgentComputer fresh = list.GetAt(1);
    EXPECT_EQ(fresh.Name, "Alpha");
    EXPECT_TRUE(fresh.Alive);
    EXPECT_FALSE(fresh.RestartPending);
    EXPECT_FALSE(fresh.ActionTimedOut);
    EXPECT_EQ(fresh.AuditionCount, 0);
    EXPECT_TRUE(fresh.LogFile.empty());
}

TEST(ComputerList, ByNameSettersCreateAndChangeOneField) {
    CComputerList list;
    list.SetRestartPending("beta", true);
    list.SetActionTimedOut("beta", true);
    list.SetLogFile("beta", "/d/beta/beta.log");
    list.CountAudition("beta");
    list.CountAudition("beta");
    ASSERT_EQ(list.GetSize(), 1);
    AgentComputer beta = list.GetAgentComputer("beta");
    EXPECT_TRUE(beta.RestartPending);
    EXPECT_TRUE(beta.ActionTimedOut);
    EXPECT_EQ(beta.LogFile, "/d/beta/beta.log");
    EXPECT_EQ(beta.AuditionCount, 2);
}

TEST(ComputerList, InvalidIndexTouchesNothing) {
    CComputerList list;
    list.FindOrAdd("one");
    AgentComputer other;
    other.Name = "other";
    list.SetAt(1, other);
    list.SetAt(-1, other);
    EXPECT_EQ(list.GetAt(5).Name, "");
    ASSERT_EQ(list.GetSize(), 1);
    EXPECT_EQ(list.GetAt(0).Name, "one");
}

TEST(ComputerList, ConcurrentCountingLosesNothing) {
    CComputerList list;
    auto count = [&] {
        for (int i = 0; i < 1000; ++i)
            list.CountAudition("gamma");
    };
    std::thread a(count), b(count);
    a.join();
    b.join();
    EXPECT_EQ(list.GetSize(), 1);
    EXPECT_EQ(list.GetAgentComputer("gamma").AuditionCount, 2000);
}

} // namespace
