// Attacks on the console's start-up through shared places, against the real
// programs: a second console on the same installation, a runtime directory
// that another account made, a gateway lock file planted as a link.
#include "ConsoleProcess.h"
#include "MessageText.h"
#include "StringTable.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr uid_t kNobody = 65534;

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

ino_t InodeOf(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

class ConsoleAttackTest : public ::testing::Test {
protected:
    CConsoleSandbox m_box;

    // A directory in the sandbox, as another account would have made it.
    std::string ForeignDirectory(const std::string& name, uid_t owner, fs::perms perms) {
        const std::string path = m_box.HomeDir() + "../" + name + "/";
        fs::create_directories(path);
        fs::permissions(path, perms);
        if (owner != ::geteuid() && ::chown(path.c_str(), owner, owner) != 0)
            return {};
        return path;
    }
};

TEST_F(ConsoleAttackTest, SecondConsoleAndDatabaseCommandsRefuseNamingTheRunningOne) {
    ASSERT_TRUE(m_box.InitHome());
    const pid_t first = m_box.Start({"--headless"});
    ASSERT_TRUE(m_box.WaitForOutput("Console\n", 30));
    const ino_t configuration = InodeOf(m_box.HomeDir() + "TARN.MDB");

    // The second console runs beside the first one's capture, through the shell.
    EXPECT_EQ(m_box.Shell("timeout 30 " + m_box.ProgramDir() + "TARN --headless >/dev/null 2>" +
                          m_box.HomeDir() + "second.err"),
              1);
    EXPECT_TRUE(
        Contains(m_box.ReadFile(m_box.HomeDir() + "second.err"),
                 FillMessage(LoadTarnString(7007), {m_box.HomeDir(), std::to_string(first)})));
    EXPECT_EQ(InodeOf(m_box.HomeDir() + "TARN.MDB"), configuration); // not repaired under it

    EXPECT_EQ(m_box.Shell(m_box.ProgramDir() + "tarn-admin convert '" + m_box.HomeDir() + "' 2>" +
                          m_box.HomeDir() + "admin.err"),
              1);
    EXPECT_TRUE(
        Contains(m_box.ReadFile(m_box.HomeDir() + "admin.err"), "PID " + std::to_string(first)));

    const ProcessResult stopped = m_box.Stop(10);
    EXPECT_EQ(stopped.exitStatus, 0) << stopped.err;
    // The lock goes with the console.
    EXPECT_EQ(
        m_box.Shell(m_box.ProgramDir() + "tarn-admin convert '" + m_box.HomeDir() + "' >/dev/null"),
        0);
}

TEST_F(ConsoleAttackTest, RuntimeDirectoryOfAnotherAccountStopsTheStart) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to make a directory of another account";
    ASSERT_TRUE(m_box.InitHome());
    const struct {
        const char* name;
        uid_t owner;
        fs::perms perms;
    } cases[] = {{"foreign", kNobody, fs::perms::owner_all},
                 {"open", ::geteuid(), fs::perms::owner_all | fs::perms::others_all}};
    for (const auto& c : cases) {
        const std::string runtime = ForeignDirectory(c.name, c.owner, c.perms);
        ASSERT_FALSE(runtime.empty()) << c.name;
        m_box.Environment()["XDG_RUNTIME_DIR"] = runtime;
        const ProcessResult result = m_box.Run({"--headless"}, 30);
        EXPECT_EQ(result.exitStatus, 1) << c.name;
        EXPECT_TRUE(Contains(result.err, "<" + runtime + ">")) << result.err;
        EXPECT_FALSE(fs::exists(runtime + "TARN_Gateway.sock")) << c.name;
    }
}

TEST_F(ConsoleAttackTest, GatewayLockFileLinkIsNeverFollowed) {
    const std::string runtime = ForeignDirectory("run-own", ::geteuid(), fs::perms::owner_all);
    const std::string target = m_box.HomeDir() + "../created-through-the-link";
    fs::create_symlink(target, runtime + "TARN_Gateway.lock");
    m_box.Environment()["XDG_RUNTIME_DIR"] = runtime;
    EXPECT_EQ(m_box.Shell("timeout 10 " + m_box.ProgramDir() + "TARN_Gateway 2>/dev/null"), 1);
    EXPECT_FALSE(fs::exists(target));
}

} // namespace
