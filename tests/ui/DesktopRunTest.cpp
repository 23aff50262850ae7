// The real TARN with its window on a private X server (Xvfb) and a demo
// installation: a problem that the demo agent causes arrives in the problem
// view; screenshots of the window with each view and of the About box are
// kept under the build folder (ui-screenshots/) for a person to look at.
#include "ConsoleProcess.h"
#include "DBTestSupport.h"

#include "../WaitFor.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// An X server of the test's own, without network listening; it tells its
// display number through a pipe.
class CPrivateXServer {
public:
    bool Start() {
        int pipeFds[2];
        if (::pipe(pipeFds) != 0)
            return false;
        m_pid = ::fork();
        if (m_pid == 0) {
            ::close(pipeFds[0]);
            const std::string fd = std::to_string(pipeFds[1]);
            ::execl("/usr/bin/Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0",
                    "1024x768x24", "-nolisten", "tcp", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(pipeFds[1]);
        std::string number;
        char c = 0;
        while (::read(pipeFds[0], &c, 1) == 1 && c != '\n')
            number += c;
        ::close(pipeFds[0]);
        m_display = number.empty() ? std::string() : ":" + number;
        return !m_display.empty();
    }
    ~CPrivateXServer() {
        if (m_pid > 0) {
            ::kill(m_pid, SIGTERM);
            ::waitpid(m_pid, nullptr, 0);
        }
    }
    const std::string& Display() const { return m_display; }

private:
    pid_t m_pid = -1;
    std::string m_display;
};

class DesktopRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* tool : {"/usr/bin/Xvfb", "/usr/bin/xdotool", "/usr/bin/import"})
            if (!fs::exists(tool))
                GTEST_SKIP() << tool << " is not installed (packages xvfb, xdotool, imagemagick)";
        if (!m_server.Start())
            GTEST_SKIP() << "the private X server did not start";
        fs::create_directories(kShots);
        m_box.Environment()["DISPLAY"] = m_server.Display();
        m_box.Environment()["TARN_PASS_PERIOD_MS"] = "500";
        ASSERT_EQ(m_box.Shell(std::string(TARN_BIN_DIR) + "/tarn-admin demo '" + m_box.HomeDir() +
                              "' >/dev/null"),
                  0);
    }
    void TearDown() override {
        if (!m_agentPid.empty())
            m_box.Shell("kill " + m_agentPid + " 2>/dev/null");
    }

    void StartAgent() {
        const std::string pidFile = m_box.HomeDir() + "agent.pid";
        m_box.Shell("/usr/bin/python3 " + std::string(TARN_SOURCE_DIR) +
                    "/scripts/demo_agent.py '" + m_box.HomeDir() +
                    "' --first-error-after 1 --error-every 3 >/dev/null 2>&1 & echo $! > '" +
                    pidFile + "'");
        m_agentPid = m_box.ReadFile(pidFile);
        while (!m_agentPid.empty() && m_agentPid.back() == '\n')
            m_agentPid.pop_back();
    }
    int X(const std::string& command) { return m_box.Shell(command); }
    // Presses keys in the console's window.
    void Keys(const std::string& keys) {
        X("xdotool search --name 'TARN! 2.5 Console' windowfocus --sync key --delay 60 " + keys);
        std::this_thread::sleep_for(std::chrono::milliseconds(700));
    }
    // A window that has just appeared may not be drawn yet, and an empty
    // screen compresses to a few hundred bytes: the picture is taken again
    // until it shows something, for a few seconds at most.
    void Shot(const std::string& name) {
        const std::string file = kShots + name + ".png";
        int status = -1;
        WaitFor(
            [&] {
                status = X("import -window root '" + file + "'");
                return status == 0 && fs::exists(file) && fs::file_size(file) > 2000u;
            },
            10);
        EXPECT_EQ(status, 0) << file;
        EXPECT_GT(fs::exists(file) ? fs::file_size(file) : 0, 2000u) << file;
    }
    int64_t StoredProblems() {
        return QueryInt(m_box.HomeDir() + "HISTORY.MDB", "SELECT COUNT(*) FROM PROBLEMS");
    }

    const std::string kShots = std::string(TARN_BUILD_DIR) + "/ui-screenshots/";
    CPrivateXServer m_server;
    CConsoleSandbox m_box;
    std::string m_agentPid;
};

TEST_F(DesktopRunTest, ProblemArrivesInTheWindowAndEachViewIsPhotographed) {
    StartAgent();
    m_box.Start({});
    ASSERT_TRUE(
        WaitFor([&] { return X("xdotool search --name 'TARN! 2.5 Console' >/dev/null") == 0; }, 30))
        << "the main window did not appear";
    Shot("main-window");
    ASSERT_TRUE(WaitFor([&] { return StoredProblems() > 0; }, 60)) << "no problem was stored";
    std::this_thread::sleep_for(std::chrono::seconds(1));
    Keys("Down Down Down Down Down Down Down Down"); // tree: "Ereignisanzeige"
    Shot("event-view");
    Keys("Down Tab Tab Down"); // "Problemanzeige", then the first problem of the list
    Shot("problem-view");
    Keys("alt+h"); // "Hilfe"; the menu opens before the next key
    Keys("i");     // "Info über TARN!..."
    Shot("about-box");
    X("xdotool key Escape"); // to the About box, which has the focus
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    Keys("alt+e"); // "Einstellungen"
    Shot("settings-menu");
    Keys("Up Return"); // its last item, "Überwachungen reaktivieren"

    ProcessResult result = m_box.Stop(60);
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    // The window closed in order: it kept its layout in the registry file, and
    // the engine wrote the reactivation flag that the menu turned off.
    const std::string registry = m_box.ReadFile(m_box.HomeDir() + "registry.ini");
    EXPECT_NE(registry.find("[SOFTWARE\\velda\\TARN!\\Desktop]"), std::string::npos) << registry;
    EXPECT_NE(registry.find("ReactivateSurv=0"), std::string::npos) << registry;
}

} // namespace
