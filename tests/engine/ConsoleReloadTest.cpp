// A running headless console follows changes made with tarn-admin --reload.
#include "ConsoleProcess.h"

#include <gtest/gtest.h>

namespace {

TEST(ConsoleReload, StartsAnAddedAuditionAndStopsARemovedOne) {
    CConsoleSandbox sandbox;
    ASSERT_TRUE(sandbox.InitHome());
    sandbox.Environment()["TARN_PASS_PERIOD_MS"] = "200";
    sandbox.Start({"--headless"});
    ASSERT_TRUE(sandbox.WaitForOutput("TARN! wurde gestartet.", 30));

    const std::string admin = sandbox.ProgramDir() + "tarn-admin ";
    ASSERT_EQ(
        sandbox.Shell(
            admin + "audition add Net IP_ADDRESS=127.0.0.1 NAME=loop ACTIVE=1 --reload >/dev/null"),
        0);
    EXPECT_TRUE(sandbox.WaitForOutput("Die Konfiguration wurde neu geladen.", 15));
    EXPECT_TRUE(sandbox.WaitForOutput("Überwachung gestartet", 15));

    ASSERT_EQ(sandbox.Shell(admin + "audition remove 1 --reload >/dev/null"), 0);
    EXPECT_TRUE(sandbox.WaitForOutput("Überwachung angehalten", 15));

    const ProcessResult result = sandbox.Stop(30);
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(sandbox.Shell(admin + "audition list --reload 2>&1 | grep -q 'no console runs'"), 0)
        << "the PID file is removed when the console ends";
}

} // namespace
