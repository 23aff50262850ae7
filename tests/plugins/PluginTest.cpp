// Loading a plug-in library and calling an instance through the interface.
#include "CPlugin.h"
#include "PluginTestSupport.h"
#include "TempDir.h"
#include "TraceCapture.h"

#include <gtest/gtest.h>

namespace {

struct LoadCase {
    const char* name; // test plug-in, or a file the test writes
    int expected;
};

class PluginLoadTest : public ::testing::TestWithParam<LoadCase> {};

std::string PreparedFile(const std::string& strName, const TempDir& dir) {
    if (strName == "textfile") {
        std::string strPath = dir.Path("text.spi");
        TempDir::Write(strPath, "Dies ist keine Bibliothek.\n");
        return strPath;
    }
    if (strName == "empty") {
        std::string strPath = dir.Path("empty.spi");
        TempDir::Write(strPath, "");
        return strPath;
    }
    if (strName == "foreign") {
        std::string strPath = dir.Path("foreign.spi");
        WriteForeignArchitecturePlugin(strPath);
        return strPath;
    }
    if (strName == "missing")
        return dir.Path("missing.spi");
    return TestPluginPath(strName);
}

TEST_P(PluginLoadTest, GivesTheLoadResult) {
    TempDir dir;
    TraceCapture trace;
    CPlugin plugin;
    EXPECT_EQ(plugin.Load(PreparedFile(GetParam().name, dir), kTarnVersionText),
              GetParam().expected);
    plugin.Unload();
    EXPECT_FALSE(plugin.IsLoaded());
    EXPECT_EQ(trace.AssertCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Files, PluginLoadTest,
                         ::testing::Values(LoadCase{"good", CPlugin::LoadOk},
                                           LoadCase{"newer", CPlugin::LoadOk},
                                           LoadCase{"v2_10", CPlugin::LoadVersionTooLow},
                                           LoadCase{"noversion", CPlugin::LoadVersionTooLow},
                                           LoadCase{"nodestroy", CPlugin::LoadNotPlugin},
                                           LoadCase{"typezero", CPlugin::LoadNotPlugin},
                                           LoadCase{"textfile", CPlugin::LoadNotPlugin},
                                           LoadCase{"empty", CPlugin::LoadNotPlugin},
                                           LoadCase{"foreign", CPlugin::LoadNotPlugin},
                                           LoadCase{"missing", CPlugin::LoadFailed}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PluginTest, LoadReadsTheInformationAndTraces) {
    TraceCapture trace;
    LUTool().SetLevel(5);
    CPlugin plugin;
    ASSERT_EQ(plugin.Load(TestPluginPath("closeatonce"), "2.5"), CPlugin::LoadOk);
    const PluginInfo& info = plugin.GetPluginInfo();
    EXPECT_EQ(info.Type, 7004);
    EXPECT_EQ(info.Name, "Sofort");
    EXPECT_EQ(info.Description, "Plug-In für die Tests des Hosts");
    EXPECT_EQ(info.Version, "2.5");
    EXPECT_EQ(info.Capabilities, PLUGIN_CAP_CLOSE_AT_ONCE);
    std::string strText = trace.Text();
    size_t nLoaded = strText.find("Loaded Plugin Library");
    size_t nGetting = strText.find("Getting Plugin Information");
    EXPECT_NE(nLoaded, std::string::npos);
    EXPECT_NE(nGetting, std::string::npos);
    EXPECT_LT(nLoaded, nGetting);
    plugin.Unload();
}

TEST(PluginTest, TraceLinesNeedLevelFive) {
    TraceCapture trace;
    LUTool().SetLevel(4);
    CPlugin plugin;
    ASSERT_EQ(plugin.Load(TestPluginPath("good"), "2.5"), CPlugin::LoadOk);
    EXPECT_EQ(trace.Text().find("Plugin"), std::string::npos);
    plugin.Unload();
}

TEST(PluginTest, VersionIsComparedAsText) {
    CPlugin plugin;
    // "2.10" sorts below "2.5" but not below "2.1".
    EXPECT_EQ(plugin.Load(TestPluginPath("v2_10"), "2.5"), CPlugin::LoadVersionTooLow);
    plugin.Unload();
    EXPECT_EQ(plugin.Load(TestPluginPath("v2_10"), "2.1"), CPlugin::LoadOk);
    plugin.Unload();
    EXPECT_EQ(plugin.Load(TestPluginPath("good"), "2.5"), CPlugin::LoadOk);
    plugin.Unload();
}

TEST(PluginTest, AFileNameWithoutFolderIsNotSearchedInTheLibraryPath) {
    CPlugin plugin;
    // "libc.so.6" would be found by the library search; as a plug-in file it
    // names a file in the current folder, which does not exist.
    EXPECT_EQ(plugin.Load("libc.so.6", "2.5"), CPlugin::LoadFailed);
    plugin.Unload();
}

class PluginInstanceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(m_plugin.Load(TestPluginPath("good"), "2.5"), CPlugin::LoadOk);
        TakeTestCalls(m_plugin);
    }
    void TearDown() override { m_plugin.Unload(); }

    CPlugin m_plugin;
};

TEST_F(PluginInstanceTest, SlotsReachTheirOperationsInOrder) {
    IPluginInstance* pInstance = nullptr;
    ASSERT_EQ(m_plugin.CreateInstance(42, "alpha", nullptr, &pInstance), 0);
    ASSERT_NE(pInstance, nullptr);
    pInstance->Deleting();
    EXPECT_EQ(pInstance->IsConfigured(), 42);
    pInstance->Stop();
    m_plugin.DestroyInstance(pInstance);
    EXPECT_EQ(TakeTestCalls(m_plugin),
              "Create(42,alpha);Deleting;IsConfigured;Stop;Destroy(alpha);");
}

TEST_F(PluginInstanceTest, CheckFillsTheResultRecord) {
    IPluginInstance* pInstance = nullptr;
    ASSERT_EQ(m_plugin.CreateInstance(1, "", nullptr, &pInstance), 0);
    for (int32_t nStatus : {PLUGIN_CHECK_OK, PLUGIN_CHECK_ERROR, PLUGIN_CHECK_NO_ERROR}) {
        SetTestCheck(m_plugin, nStatus, "Status " + std::to_string(nStatus), "id7");
        PluginCheckResult result;
        EXPECT_EQ(pInstance->Check(&result), nStatus);
        EXPECT_EQ(result.Description, "Status " + std::to_string(nStatus));
        EXPECT_EQ(result.InfoId, "id7");
    }
    // The plug-in saw the record as the host sets it up: empty text, "0", zeros.
    EXPECT_EQ(TakeTestCalls(m_plugin), "Create(1,);Check(|0|0);Check(|0|0);Check(|0|0);");
    m_plugin.DestroyInstance(pInstance);
}

TEST_F(PluginInstanceTest, ActionsArriveWithTheirFieldsInPlace) {
    IPluginInstance* pInstance = nullptr;
    ASSERT_EQ(m_plugin.CreateInstance(1, "", nullptr, &pInstance), 0);
    PluginActionList actions;
    pInstance->GetActions(&actions);
    m_plugin.DestroyInstance(pInstance);
    ASSERT_EQ(actions.size(), 2u);
    EXPECT_EQ(actions[0].ActionType, PLUGIN_ACTION_RESTART_SERVICE);
    EXPECT_EQ(actions[0].Extra1, "x1");
    EXPECT_EQ(actions[0].Module, "mod.exe");
    EXPECT_EQ(actions[0].Extra3, "x3");
    EXPECT_EQ(actions[0].Service, "Spooler");
    EXPECT_EQ(actions[0].Extra5, "x5");
    EXPECT_EQ(actions[0].Parameters, "-fast");
    EXPECT_EQ(actions[0].ExtraValue1, 11);
    EXPECT_EQ(actions[0].ExtraValue2, 12);
    EXPECT_EQ(actions[1].ActionType, PLUGIN_ACTION_RESTART_SYSTEM);
}

TEST(PluginTest, FailedCreateGivesNoInstance) {
    CPlugin plugin;
    ASSERT_EQ(plugin.Load(TestPluginPath("createfails"), "2.5"), CPlugin::LoadOk);
    IPluginInstance* pInstance = reinterpret_cast<IPluginInstance*>(&plugin);
    EXPECT_EQ(plugin.CreateInstance(3, "beta", nullptr, &pInstance), 5);
    EXPECT_EQ(pInstance, nullptr);
    plugin.Unload();
}

TEST(PluginTest, CallsWithoutExportsAssertAndDoNothing) {
    TraceCapture trace;
    CPlugin plugin;
    plugin.GetInfo();
    IPluginInstance* pInstance = nullptr;
    EXPECT_NE(plugin.CreateInstance(1, "", nullptr, &pInstance), 0);
    EXPECT_EQ(pInstance, nullptr);
    plugin.DestroyInstance(nullptr);
    std::string strText = trace.Text();
    EXPECT_NE(strText.find("Bedingung: m_pfnGetPluginInfo != NULL"), std::string::npos);
    EXPECT_NE(strText.find("Bedingung: m_pfnCreateInstance != NULL"), std::string::npos);
    EXPECT_NE(strText.find("Bedingung: m_pfnDestroyInstance != NULL"), std::string::npos);
    EXPECT_EQ(trace.AssertCount(), 3u);
}

TEST(PluginTest, UnloadClearsTheExports) {
    TraceCapture trace;
    CPlugin plugin;
    ASSERT_EQ(plugin.Load(TestPluginPath("good"), "2.5"), CPlugin::LoadOk);
    plugin.Unload();
    IPluginInstance* pInstance = nullptr;
    EXPECT_NE(plugin.CreateInstance(1, "", nullptr, &pInstance), 0);
    EXPECT_EQ(trace.AssertCount(), 1u);
}

TEST(PluginTest, CopiesShareTheModule) {
    CPlugin plugin;
    ASSERT_EQ(plugin.Load(TestPluginPath("good"), "2.5"), CPlugin::LoadOk);
    {
        CPlugin copy = plugin; // destroying a copy does not unload
        EXPECT_EQ(copy.GetModuleHandle(), plugin.GetModuleHandle());
    }
    IPluginInstance* pInstance = nullptr;
    ASSERT_EQ(plugin.CreateInstance(9, "", nullptr, &pInstance), 0);
    plugin.DestroyInstance(pInstance);
    plugin.Unload();
}

} // namespace
