// The host object: the lists from "TARN.CFG" and the plug-in's message box,
// called directly and through a plug-in instance.
#include "CPluginHost.h"
#include "PluginTestSupport.h"
#include "TempDir.h"

#include <gtest/gtest.h>

namespace {

const char* const kConfig = "[Server]\r\n"
                            "Server1=alpha\r\n"
                            "Server2=Beta\r\n"
                            "\r\n"
                            "[alpha]\r\n"
                            "Service1=spooler.exe;Spooler;Druckwarteschlange\r\n"
                            "Service2=broken;only two\r\n"
                            "Service3=w3svc.exe;W3SVC;WWW-Publishingdienst\r\n"
                            "App1=notepad.exe\r\n"
                            "App2=two;fields\r\n"
                            "App3=calc.exe\r\n"
                            "Servicelist1=dhcp.exe;Dhcp;DHCP-Client\r\n"
                            "\r\n"
                            "[gamma]\r\n"
                            "Service1=x;y;z\r\n";

class PluginHostTest : public ::testing::Test {
protected:
    void SetUp() override { TempDir::Write(m_strConfig, kConfig); }

    TempDir m_dir;
    std::string m_strConfig = m_dir.Path("TARN.CFG");
    std::string m_strConfigured = m_strConfig;
    CRecordingPluginUI m_ui;
    CPluginHost m_host{[this] { return m_strConfigured; }, m_ui};
};

PluginHostList StaleList() {
    return PluginHostList(3, PluginHostListItem{"stale", "", "", "", "", 1});
}

TEST_F(PluginHostTest, WatchedServicesOfAKnownComputer) {
    PluginHostList list = StaleList();
    EXPECT_EQ(m_host.GetWatchedServices("ALPHA", &list), PLUGIN_HOST_OK);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].Module, "spooler.exe");
    EXPECT_EQ(list[0].Reserved2, "");
    EXPECT_EQ(list[0].Name, "Spooler");
    EXPECT_EQ(list[0].DisplayName, "Druckwarteschlange");
    EXPECT_EQ(list[0].Reserved5, "");
    EXPECT_EQ(list[0].Value, 0);
    EXPECT_EQ(list[1].Module, "w3svc.exe");
}

TEST_F(PluginHostTest, InstalledServicesAndApps) {
    PluginHostList list;
    EXPECT_EQ(m_host.GetInstalledServices("alpha", &list), PLUGIN_HOST_OK);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].Module, "dhcp.exe");
    EXPECT_EQ(list[0].DisplayName, "DHCP-Client");
    EXPECT_EQ(m_host.GetWatchedApps("alpha", &list), PLUGIN_HOST_OK);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].Module, "notepad.exe");
    EXPECT_EQ(list[0].Name, "");
    EXPECT_EQ(list[1].Module, "calc.exe");
}

TEST_F(PluginHostTest, KnownComputerWithEmptyListsIsZero) {
    PluginHostList list = StaleList();
    EXPECT_EQ(m_host.GetWatchedApps("beta", &list), PLUGIN_HOST_OK);
    EXPECT_TRUE(list.empty());
}

TEST_F(PluginHostTest, ComputerNotAmongTheServersIs101) {
    // gamma has a section but is not in the "Server" list.
    for (const char* computer : {"gamma", "delta", ""}) {
        PluginHostList list = StaleList();
        EXPECT_EQ(m_host.GetWatchedServices(computer, &list), PLUGIN_HOST_UNKNOWN_COMPUTER);
        EXPECT_TRUE(list.empty());
    }
}

TEST_F(PluginHostTest, MissingFileIs101AndNoFileSetIs100) {
    PluginHostList list = StaleList();
    m_strConfigured = m_dir.Path("missing.cfg");
    EXPECT_EQ(m_host.GetInstalledServices("alpha", &list), PLUGIN_HOST_UNKNOWN_COMPUTER);
    EXPECT_TRUE(list.empty());
    list = StaleList();
    m_strConfigured.clear();
    EXPECT_EQ(m_host.GetWatchedApps("alpha", &list), PLUGIN_HOST_NO_CONFIG_FILE);
    EXPECT_TRUE(list.empty());
}

TEST_F(PluginHostTest, PluginReachesTheHostThroughItsTable) {
    CPlugin plugin;
    ASSERT_EQ(plugin.Load(TestPluginPath("good"), "2.5"), CPlugin::LoadOk);
    IPluginInstance* pInstance = nullptr;
    ASSERT_EQ(plugin.CreateInstance(5, "alpha", &m_host, &pInstance), 0);
    pInstance->Configure();
    plugin.DestroyInstance(pInstance);
    plugin.Unload();
    std::vector<ShownMessage> messages = m_ui.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].Kind, "plugin");
    EXPECT_EQ(messages[0].Text, "0:2:spooler.exe/Spooler/Druckwarteschlange:"
                                "w3svc.exe/W3SVC/WWW-Publishingdienst");
}

} // namespace
