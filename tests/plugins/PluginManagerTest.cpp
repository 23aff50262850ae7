// Start-up loading, installing and removing plug-ins.
#include "CPluginManager.h"
#include "PluginTestSupport.h"
#include "StringTable.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace {

using Ids = std::vector<unsigned>;

class PluginManagerTest : public ::testing::Test {
protected:
    void TearDown() override { m_manager.UnloadAll(); }

    std::string Installed(const std::string& strName) const { return m_strPlugins + strName; }
    // The test plug-in, copied under another name first where the name matters.
    std::string Source(const std::string& strName) const { return TestPluginPath(strName); }

    TempDir m_dir;
    std::string m_strPlugins = m_dir.Path("Plugins/");
    CPluginList m_list;
    CMemoryPluginStore m_store;
    CRecordingPluginUI m_ui;
    CPluginManager m_manager{m_list, m_store, m_ui, m_strPlugins};
};

TEST_F(PluginManagerTest, InstallCopiesAsksStoresAndLists) {
    EXPECT_EQ(m_manager.Install(Source("good")), PluginInstallResult::Installed);
    const DBPlugin* pRow = m_store.Find(7001);
    ASSERT_NE(pRow, nullptr);
    EXPECT_EQ(pRow->PLUGIN_NAME, "Testplugin");
    EXPECT_EQ(pRow->PLUGIN_MODULE, Installed("good.spi"));
    EXPECT_EQ(FolderEntries(m_strPlugins), std::vector<std::string>{"good.spi"});
    CPlugin plugin;
    ASSERT_TRUE(m_list.Find(7001, plugin));
    EXPECT_TRUE(plugin.IsLoaded());
    EXPECT_EQ(plugin.GetFileName(), Installed("good.spi"));
    std::vector<ShownMessage> messages = m_ui.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].Kind, "question");
    EXPECT_EQ(messages[0].ID, 1141u);
    EXPECT_EQ(messages[0].Text, "Folgendes TARN! Plug-In wird installiert:\n\nTestplugin\n"
                                "Version: 2.5\nPlug-In für die Tests des Hosts\n\n"
                                "Installation durchführen?");
}

TEST_F(PluginManagerTest, DeclinedInstallLeavesNothing) {
    m_ui.Answer = false;
    EXPECT_EQ(m_manager.Install(Source("good")), PluginInstallResult::Declined);
    EXPECT_TRUE(m_store.Plugins.empty());
    EXPECT_EQ(m_list.GetCount(), 0u);
    EXPECT_TRUE(FolderEntries(m_strPlugins).empty());
    EXPECT_EQ(m_ui.IDs(), Ids{1141});
}

TEST_F(PluginManagerTest, CallWithItsOwnUIAsksThereOnly) {
    CRecordingPluginUI sheet;
    EXPECT_EQ(m_manager.Install(Source("good"), sheet), PluginInstallResult::Installed);
    EXPECT_EQ(m_manager.Install(Source("sametype"), sheet), PluginInstallResult::AlreadyInstalled);
    sheet.Answer = false;
    EXPECT_EQ(m_manager.Remove(7001, sheet), PluginRemoveResult::Declined);
    EXPECT_EQ(sheet.IDs(), (Ids{1141, 1033, 4009}));
    EXPECT_TRUE(m_ui.IDs().empty());
    // Later calls without one use the construction's again.
    EXPECT_EQ(m_manager.Remove(7001), PluginRemoveResult::Removed);
    EXPECT_EQ(m_ui.IDs(), Ids{4009});
    EXPECT_EQ(sheet.IDs().size(), 3u);
}

struct RefusalCase {
    const char* name;
    PluginInstallResult result;
    unsigned message;
};

class PluginRefusalTest : public PluginManagerTest,
                          public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(PluginRefusalTest, RefusesWithItsMessageAndLeavesNothing) {
    std::string strFile = TestPluginPath(GetParam().name);
    if (std::string(GetParam().name) == "textfile") {
        strFile = m_dir.Path("readme.spi");
        TempDir::Write(strFile, "Dies ist keine Bibliothek.\n");
    } else if (std::string(GetParam().name) == "foreign") {
        strFile = m_dir.Path("foreign.spi");
        WriteForeignArchitecturePlugin(strFile);
    }
    EXPECT_EQ(m_manager.Install(strFile), GetParam().result);
    EXPECT_EQ(m_ui.IDs(), Ids{GetParam().message});
    EXPECT_EQ(m_ui.Messages()[0].Kind, "error");
    EXPECT_EQ(m_ui.Messages()[0].Text, LoadTarnString(GetParam().message));
    EXPECT_TRUE(m_store.Plugins.empty());
    EXPECT_EQ(m_list.GetCount(), 0u);
    EXPECT_TRUE(FolderEntries(m_strPlugins).empty());
}

INSTANTIATE_TEST_SUITE_P(
    BadFiles, PluginRefusalTest,
    ::testing::Values(RefusalCase{"textfile", PluginInstallResult::NotPlugin, 1136},
                      RefusalCase{"foreign", PluginInstallResult::NotPlugin, 1136},
                      RefusalCase{"nodestroy", PluginInstallResult::NotPlugin, 1136},
                      RefusalCase{"typezero", PluginInstallResult::NotPlugin, 1136},
                      RefusalCase{"v2_10", PluginInstallResult::Incompatible, 1032},
                      RefusalCase{"noversion", PluginInstallResult::Incompatible, 1032}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PluginManagerTest, SecondPluginOfTheSameTypeIsRefused) {
    ASSERT_EQ(m_manager.Install(Source("good")), PluginInstallResult::Installed);
    std::string strInstalled = TempDir::Read(Installed("good.spi"));
    EXPECT_EQ(m_manager.Install(Source("sametype")), PluginInstallResult::AlreadyInstalled);
    EXPECT_EQ(m_ui.IDs(), (Ids{1141, 1033}));
    ASSERT_EQ(m_store.Plugins.size(), 1u);
    EXPECT_EQ(m_store.Plugins[0].PLUGIN_NAME, "Testplugin");
    EXPECT_EQ(m_store.Plugins[0].PLUGIN_MODULE, Installed("good.spi"));
    ASSERT_EQ(m_list.GetCount(), 1u);
    EXPECT_EQ(m_list.Get(0).GetPluginInfo().Name, "Testplugin");
    EXPECT_EQ(FolderEntries(m_strPlugins), std::vector<std::string>{"good.spi"});
    EXPECT_EQ(TempDir::Read(Installed("good.spi")), strInstalled);
}

TEST_F(PluginManagerTest, AFileOfTheNameOfAnInstalledPluginIsNotReplaced) {
    ASSERT_EQ(m_manager.Install(Source("good")), PluginInstallResult::Installed);
    std::string strOther = m_dir.Path("other");
    std::filesystem::create_directories(strOther);
    std::filesystem::copy_file(Source("newer"), strOther + "/good.spi");
    EXPECT_EQ(m_manager.Install(strOther + "/good.spi"), PluginInstallResult::AlreadyInstalled);
    EXPECT_EQ(TempDir::Read(Installed("good.spi")), TempDir::Read(Source("good")));
    EXPECT_EQ(m_store.Plugins.size(), 1u);
}

TEST_F(PluginManagerTest, AStaleFileOfTheSameNameIsReplaced) {
    std::filesystem::create_directories(m_strPlugins);
    TempDir::Write(Installed("good.spi"), "left over");
    EXPECT_EQ(m_manager.Install(Source("good")), PluginInstallResult::Installed);
    EXPECT_EQ(TempDir::Read(Installed("good.spi")), TempDir::Read(Source("good")));
}

TEST_F(PluginManagerTest, PluginFolderThatCannotBeCreated) {
    TempDir::Write(m_dir.Path("file"), "x");
    CPluginManager manager(m_list, m_store, m_ui, m_dir.Path("file/Plugins"));
    EXPECT_EQ(manager.Install(Source("good")), PluginInstallResult::CopyFailed);
    EXPECT_EQ(m_ui.IDs(), Ids{7100});
    EXPECT_TRUE(m_store.Plugins.empty());
    EXPECT_EQ(m_list.GetCount(), 0u);
}

TEST_F(PluginManagerTest, MissingSourceFile) {
    EXPECT_EQ(m_manager.Install(m_dir.Path("nothing.spi")), PluginInstallResult::CopyFailed);
    EXPECT_EQ(m_ui.IDs(), Ids{7100});
    EXPECT_TRUE(FolderEntries(m_strPlugins).empty());
}

TEST_F(PluginManagerTest, StoreFailureRemovesTheCopy) {
    m_store.FailSet = true;
    EXPECT_EQ(m_manager.Install(Source("good")), PluginInstallResult::StoreFailed);
    EXPECT_EQ(m_list.GetCount(), 0u);
    EXPECT_TRUE(FolderEntries(m_strPlugins).empty());
}

TEST_F(PluginManagerTest, LongNameIsCutToTheColumn) {
    ASSERT_EQ(m_manager.Install(Source("longname")), PluginInstallResult::Installed);
    const DBPlugin* pRow = m_store.Find(7500);
    ASSERT_NE(pRow, nullptr);
    std::string strExpected;
    for (int i = 0; i < 255; ++i)
        strExpected += "Ä";
    EXPECT_EQ(pRow->PLUGIN_NAME, strExpected);
}

TEST_F(PluginManagerTest, RemoveAsksDeletesAndKeepsTheFile) {
    ASSERT_EQ(m_manager.Install(Source("good")), PluginInstallResult::Installed);
    ASSERT_EQ(m_manager.Install(Source("newer")), PluginInstallResult::Installed);
    EXPECT_EQ(m_manager.Remove(7001), PluginRemoveResult::Removed);
    EXPECT_EQ(m_ui.IDs(), (Ids{1141, 1141, 4009}));
    EXPECT_EQ(m_store.Find(7001), nullptr);
    EXPECT_NE(m_store.Find(7002), nullptr);
    CPlugin plugin;
    EXPECT_FALSE(m_list.Find(7001, plugin));
    EXPECT_TRUE(m_list.Find(7002, plugin));
    EXPECT_TRUE(std::filesystem::exists(Installed("good.spi")));
}

TEST_F(PluginManagerTest, RemoveDeclinedChangesNothing) {
    ASSERT_EQ(m_manager.Install(Source("good")), PluginInstallResult::Installed);
    m_ui.Answer = false;
    EXPECT_EQ(m_manager.Remove(7001), PluginRemoveResult::Declined);
    EXPECT_NE(m_store.Find(7001), nullptr);
    EXPECT_EQ(m_list.GetCount(), 1u);
}

TEST_F(PluginManagerTest, RemoveRefusedWhileAnAuditionUsesTheType) {
    ASSERT_EQ(m_manager.Install(Source("good")), PluginInstallResult::Installed);
    m_store.AddPluginAudition(12, 7002); // another type: does not count
    m_store.AddPluginAudition(13, 7001);
    EXPECT_EQ(m_manager.Remove(7001), PluginRemoveResult::InUse);
    EXPECT_EQ(m_ui.IDs(), (Ids{1141, 1035}));
    EXPECT_NE(m_store.Find(7001), nullptr);
    EXPECT_EQ(m_list.GetCount(), 1u);
}

TEST_F(PluginManagerTest, AnAuditionOfAnotherKindWithTheSameNumberDoesNotCount) {
    ASSERT_EQ(m_manager.Install(Source("good")), PluginInstallResult::Installed);
    DBAudition net;
    net.AUDITION_ID = 4;
    net.AUDITION_TYPE = 5;
    net.Plugin.PLUGIN_TYPE = 7001; // stale detail data of another type is not read
    m_store.Auditions.push_back(net);
    EXPECT_EQ(m_manager.Remove(7001), PluginRemoveResult::Removed);
}

TEST_F(PluginManagerTest, RemoveUnknownType) {
    EXPECT_EQ(m_manager.Remove(4711), PluginRemoveResult::NotInstalled);
    EXPECT_EQ(m_manager.Remove(0), PluginRemoveResult::NotInstalled);
    EXPECT_TRUE(m_ui.Messages().empty());
}

TEST_F(PluginManagerTest, StartUpLoadsRowsAndDropsThoseThatDoNotLoad) {
    ASSERT_EQ(m_manager.Install(Source("good")), PluginInstallResult::Installed);
    ASSERT_EQ(m_manager.Install(Source("newer")), PluginInstallResult::Installed);
    std::filesystem::remove(Installed("newer.spi"));
    m_store.Plugins.push_back({7210, "Zu alt", Source("v2_10")});
    // A row whose library reports another type than the row's.
    m_store.Plugins.push_back({7777, "Vertauscht", Source("closeatonce")});
    m_manager.UnloadAll();

    CRecordingPluginUI ui;
    CPluginList list;
    CPluginManager manager(list, m_store, ui, m_strPlugins);
    manager.LoadInstalledPlugins();
    ASSERT_EQ(list.GetCount(), 1u);
    EXPECT_EQ(list.Get(0).GetType(), 7001);
    ASSERT_EQ(m_store.Plugins.size(), 1u);
    EXPECT_EQ(m_store.Plugins[0].PLUGIN_TYPE, 7001);
    std::vector<ShownMessage> messages = ui.Messages();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].Kind, "warning");
    EXPECT_EQ(messages[0].ID, 1030u);
    EXPECT_EQ(messages[0].Text,
              "Die Initialisierung des Plug-Ins <Testplugin neu> ist fehlgeschlagen.\n"
              "Das Plug-In konnte nicht gefunden werden oder ist nicht kompatibel mit dieser "
              "Version.\nDas Plug-In wurde entfernt.");
    EXPECT_NE(messages[1].Text.find("<Zu alt>"), std::string::npos);
    EXPECT_NE(messages[2].Text.find("<Vertauscht>"), std::string::npos);
    manager.UnloadAll();
    EXPECT_EQ(list.GetCount(), 0u);
}

TEST_F(PluginManagerTest, DatabaseReadFailureInstallsNothing) {
    m_store.FailRead = true;
    EXPECT_EQ(m_manager.Install(Source("good")), PluginInstallResult::StoreFailed);
    EXPECT_EQ(m_manager.Remove(7001), PluginRemoveResult::StoreFailed);
    EXPECT_TRUE(FolderEntries(m_dir.Path("")).empty());
}

} // namespace
