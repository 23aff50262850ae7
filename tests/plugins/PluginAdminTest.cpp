// "tarn-admin plugin" against a fresh installation folder: a plug-in built
// from the public header alone is installed, listed, loaded as at the next
// start, and removed; refusals give their messages and exit codes.
#include "CDBEngineTARN.h"
#include "CDBSchema.h"
#include "CHeadlessPluginUI.h"
#include "CPluginManager.h"
#include "StringTable.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <sys/wait.h>

namespace {

const std::string kExample = std::string(TARN_EXAMPLE_PLUGIN_DIR) + "/ExamplePlugin.spi";

struct AdminRun {
    int status = -1;
    std::string out; // standard output and standard error
};

class PluginAdminTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string strError;
        ASSERT_TRUE(CDBSchema::CreateConfigurationFile(m_dir.Path("TARN.MDB"), DBConfiguration{},
                                                       CDBSchema::DefaultNotifyServicesConfig(),
                                                       strError))
            << strError;
        ASSERT_TRUE(CDBSchema::CreateHistoryFile(m_dir.Path("HISTORY.MDB"), strError)) << strError;
    }

    AdminRun Admin(const std::string& strArgs) const { return AdminTool("plugin " + strArgs); }

    // Any tarn-admin command on the installation; strEnvironment is put in front.
    AdminRun AdminTool(const std::string& strArgs, const std::string& strEnvironment = "") const {
        std::string strCommand = strEnvironment + " TARN_HOME='" + m_dir.Path("") + "' " +
                                 TARN_BIN_DIR + "/tarn-admin " + strArgs + " 2>&1";
        AdminRun run;
        FILE* pipe = ::popen(strCommand.c_str(), "r");
        if (!pipe)
            return run;
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            run.out.append(buffer, n);
        int nStatus = ::pclose(pipe);
        run.status = WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
        return run;
    }

    // Opens the installation's databases in this process.
    void OpenDatabase(CDBEngineTARN& engine) const {
        bool bConfig = false, bHistory = false;
        ASSERT_TRUE(
            engine.Open(m_dir.Path("TARN.MDB"), m_dir.Path("HISTORY.MDB"), bConfig, bHistory));
    }

    DBPluginList StoredPlugins() const {
        CDBEngineTARN engine;
        DBPluginList rows;
        OpenDatabase(engine);
        EXPECT_TRUE(engine.GetAllPlugins(rows));
        return rows;
    }

    TempDir m_dir;
};

TEST_F(PluginAdminTest, InstallListLoadAndRemove) {
    AdminRun install = Admin("install " + kExample + " --yes");
    ASSERT_EQ(install.status, 0) << install.out;
    EXPECT_NE(install.out.find("Beispiel\nVersion: 2.5\n"), std::string::npos) << install.out;
    std::string strModule = m_dir.Path("Plugins/ExamplePlugin.spi");
    ASSERT_TRUE(std::filesystem::exists(strModule));

    AdminRun list = Admin("list");
    EXPECT_EQ(list.status, 0);
    EXPECT_EQ(list.out, "9001\tBeispiel\t2.5\tok\t" + strModule + "\n");

    {
        // The next start loads it.
        CDBEngineTARN engine;
        OpenDatabase(engine);
        CPluginStoreAdapter<CDBEngineTARN> store(engine);
        CHeadlessPluginUI ui(false);
        CPluginList plugins;
        CPluginManager manager(plugins, store, ui, m_dir.Path("Plugins/"));
        manager.LoadInstalledPlugins();
        ASSERT_EQ(plugins.GetCount(), 1u);
        EXPECT_EQ(plugins.Get(0).GetType(), 9001);
        EXPECT_TRUE(plugins.HasCapability(9001, PLUGIN_CAP_CLOSE_AT_ONCE));
        EXPECT_FALSE(plugins.HasCapability(9001, PLUGIN_CAP_STOP_AFTER_ERROR));
        manager.UnloadAll();
    }

    AdminRun remove = Admin("remove 9001 --yes");
    EXPECT_EQ(remove.status, 0) << remove.out;
    EXPECT_NE(remove.out.find(LoadTarnString(4009)), std::string::npos);
    EXPECT_TRUE(StoredPlugins().empty());
    EXPECT_EQ(Admin("list").out, "");
    EXPECT_TRUE(std::filesystem::exists(strModule)); // the file stays
}

// Removing a plug-in audition lets its plug-in clean up first: an instance for
// the audition is created, told that it is being deleted and given back.
TEST_F(PluginAdminTest, RemovingAPluginAuditionLetsThePluginCleanUpFirst) {
    ASSERT_EQ(Admin("install " + std::string(TARN_TEST_PLUGIN_DIR) + "/good.spi --yes").status, 0);
    AdminRun add = AdminTool("audition add Plugin PLUGIN_TYPE=7001 SERVER_PATH=alpha");
    ASSERT_EQ(add.status, 0) << add.out;
    const std::string strId = add.out.substr(0, add.out.find('\n'));
    const std::string strCalls = m_dir.Path("calls.txt");

    AdminRun remove =
        AdminTool("audition remove " + strId, "TEST_PLUGIN_CALL_FILE='" + strCalls + "'");
    ASSERT_EQ(remove.status, 0) << remove.out;
    EXPECT_EQ(TempDir::Read(strCalls), "Create(" + strId + ",alpha);Deleting;Destroy(alpha);");
    EXPECT_EQ(AdminTool("audition show " + strId).status, 1);

    // Without its plug-in the audition is still removed (nothing to clean up).
    AdminRun again = AdminTool("audition add Plugin PLUGIN_TYPE=7001");
    ASSERT_EQ(again.status, 0) << again.out;
    const std::string strSecond = again.out.substr(0, again.out.find('\n'));
    std::filesystem::remove(m_dir.Path("Plugins/good.spi"));
    EXPECT_EQ(AdminTool("audition remove " + strSecond).status, 0);
    EXPECT_EQ(AdminTool("audition show " + strSecond).status, 1);
}

TEST_F(PluginAdminTest, QuestionsAreRefusedWithoutYes) {
    AdminRun install = Admin("install " + kExample);
    EXPECT_EQ(install.status, 1);
    EXPECT_NE(install.out.find("Installation durchführen?"), std::string::npos);
    EXPECT_TRUE(StoredPlugins().empty());
    EXPECT_TRUE(std::filesystem::is_empty(m_dir.Path("Plugins")));

    ASSERT_EQ(Admin("install " + kExample + " --yes").status, 0);
    EXPECT_EQ(Admin("remove 9001").status, 1);
    EXPECT_EQ(StoredPlugins().size(), 1u);
}

TEST_F(PluginAdminTest, RefusalsPrintTheirMessages) {
    std::string strText = m_dir.Path("notes.spi");
    TempDir::Write(strText, "kein Plug-In\n");
    AdminRun notPlugin = Admin("install " + strText + " --yes");
    EXPECT_EQ(notPlugin.status, 1);
    EXPECT_NE(notPlugin.out.find(LoadTarnString(1136)), std::string::npos) << notPlugin.out;

    ASSERT_EQ(Admin("install " + kExample + " --yes").status, 0);
    AdminRun again = Admin("install " + kExample + " --yes");
    EXPECT_EQ(again.status, 1);
    EXPECT_NE(again.out.find("Das gewählte Plug-In ist schon installiert."), std::string::npos);

    {
        CDBEngineTARN engine;
        OpenDatabase(engine);
        DBAudition audition;
        audition.AUDITION_ID = DB_KEY_NEW;
        audition.NAME = "Beispielprüfung";
        audition.AUDITION_TYPE = 6;
        audition.Plugin.PLUGIN_TYPE = 9001;
        audition.Plugin.PLUGIN_NAME = "Beispiel";
        ASSERT_TRUE(engine.SetAudition(audition));
    }
    AdminRun inUse = Admin("remove 9001 --yes");
    EXPECT_EQ(inUse.status, 1);
    EXPECT_NE(inUse.out.find("Es existieren Überwachungen diese Typs."), std::string::npos)
        << inUse.out;
    EXPECT_EQ(StoredPlugins().size(), 1u);

    AdminRun unknown = Admin("remove 4711 --yes");
    EXPECT_EQ(unknown.status, 1);
    EXPECT_NE(unknown.out.find("no plug-in of type 4711"), std::string::npos);
}

TEST_F(PluginAdminTest, WrongUsageAndMissingInstallation) {
    EXPECT_EQ(Admin("").status, 2);
    EXPECT_EQ(Admin("install").status, 2);
    EXPECT_EQ(Admin("remove abc --yes").status, 2);
    EXPECT_EQ(Admin("frobnicate x").status, 2);
    std::filesystem::remove(m_dir.Path("TARN.MDB"));
    AdminRun missing = Admin("list");
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.out.find("TARN.MDB does not exist"), std::string::npos);
}

} // namespace
