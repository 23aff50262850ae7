// The list of loaded plug-ins and the capability query.
#include "CPluginList.h"
#include "CScopedPluginInstance.h"
#include "PluginTestSupport.h"
#include "TraceCapture.h"

#include <gtest/gtest.h>

namespace {

class PluginListTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"good", "closeatonce", "stopaftererror", "stopafterclosing"}) {
            CPlugin plugin;
            ASSERT_EQ(plugin.Load(TestPluginPath(name), "2.5"), CPlugin::LoadOk) << name;
            m_list.Add(plugin);
        }
    }
    void TearDown() override {
        for (size_t i = 0; i < m_list.GetCount(); ++i)
            m_list.Get(i).Unload();
    }

    CPluginList m_list;
};

TEST_F(PluginListTest, FindsEntriesByType) {
    ASSERT_EQ(m_list.GetCount(), 4u);
    CPlugin plugin;
    ASSERT_TRUE(m_list.Find(7008, plugin));
    EXPECT_EQ(plugin.GetPluginInfo().Name, "Stopp");
    EXPECT_EQ(m_list.Get(1).GetType(), 7004);
    EXPECT_FALSE(m_list.Find(1234, plugin));
}

TEST_F(PluginListTest, RemoveTakesOutOnlyThatTypeAndKeepsTheModule) {
    CPlugin removed;
    ASSERT_TRUE(m_list.Find(7004, removed));
    EXPECT_TRUE(m_list.Remove(7004));
    EXPECT_FALSE(m_list.Remove(7004));
    EXPECT_EQ(m_list.GetCount(), 3u);
    CPlugin plugin;
    EXPECT_FALSE(m_list.Find(7004, plugin));
    EXPECT_TRUE(m_list.Find(7008, plugin));
    // The module is still usable through the copy taken before removal.
    IPluginInstance* pInstance = nullptr;
    ASSERT_EQ(removed.CreateInstance(1, "", nullptr, &pInstance), 0);
    removed.DestroyInstance(pInstance);
    removed.Unload();
}

TEST_F(PluginListTest, BadIndexAsserts) {
    TraceCapture trace;
    CPlugin plugin = m_list.Get(4);
    EXPECT_FALSE(plugin.IsLoaded());
    EXPECT_EQ(plugin.GetType(), 0);
    ASSERT_EQ(trace.AssertCount(), 1u);
    EXPECT_NE(trace.Text().find("Bedingung: IndexValid(nIndex)"), std::string::npos);
    EXPECT_EQ(trace.AssertDescriptions(), std::vector<std::string>{"Index ungültig"});
}

struct CapabilityCase {
    int32_t type;
    uint32_t flag;
    bool expected;
};

class PluginCapabilityTest : public PluginListTest,
                             public ::testing::WithParamInterface<CapabilityCase> {};

TEST_P(PluginCapabilityTest, AnswersFromTheFlags) {
    EXPECT_EQ(m_list.HasCapability(GetParam().type, GetParam().flag), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Flags, PluginCapabilityTest,
    ::testing::Values(CapabilityCase{7001, PLUGIN_CAP_CLOSE_AT_ONCE, false},
                      CapabilityCase{7001, PLUGIN_CAP_STOP_AFTER_ERROR, false},
                      CapabilityCase{7001, PLUGIN_CAP_STOP_AFTER_CLOSING, false},
                      CapabilityCase{7004, PLUGIN_CAP_CLOSE_AT_ONCE, true},
                      CapabilityCase{7004, PLUGIN_CAP_STOP_AFTER_ERROR, false},
                      CapabilityCase{7008, PLUGIN_CAP_STOP_AFTER_ERROR, true},
                      CapabilityCase{7008, PLUGIN_CAP_STOP_AFTER_CLOSING, false},
                      CapabilityCase{7016, PLUGIN_CAP_STOP_AFTER_CLOSING, true},
                      CapabilityCase{7016, PLUGIN_CAP_CLOSE_AT_ONCE, false},
                      // a type that is not loaded answers yes
                      CapabilityCase{9999, PLUGIN_CAP_CLOSE_AT_ONCE, true},
                      CapabilityCase{9999, PLUGIN_CAP_STOP_AFTER_CLOSING, true}));

} // namespace

namespace {

TEST_F(PluginListTest, ScopedInstanceIsGivenBack) {
    CPlugin plugin;
    ASSERT_TRUE(m_list.Find(7001, plugin));
    TakeTestCalls(plugin);
    {
        CScopedPluginInstance use(m_list, 7001, 8, "gamma", nullptr);
        EXPECT_TRUE(use.PluginFound());
        ASSERT_TRUE(use);
        EXPECT_EQ(use->IsConfigured(), 8);
    }
    EXPECT_EQ(TakeTestCalls(plugin), "Create(8,gamma);IsConfigured;Destroy(gamma);");
}

TEST_F(PluginListTest, ScopedInstanceOfAMissingOrRefusingPlugin) {
    CScopedPluginInstance missing(m_list, 4711, 8, "", nullptr);
    EXPECT_FALSE(missing.PluginFound());
    EXPECT_FALSE(missing);

    CPlugin refusing;
    ASSERT_EQ(refusing.Load(TestPluginPath("createfails"), "2.5"), CPlugin::LoadOk);
    m_list.Add(refusing);
    CScopedPluginInstance refused(m_list, 7400, 8, "", nullptr);
    EXPECT_TRUE(refused.PluginFound());
    EXPECT_FALSE(refused);
    EXPECT_EQ(refused.Get(), nullptr);
}

} // namespace
