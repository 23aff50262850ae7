// The SNMP channel through the whole stack: the console's hand-off to the
// sub-agent inside a real snmpd, which sends the trap to a real snmptrapd, all
// on loopback high ports with their files in the test's directory.
#include "../WaitFor.h"
#include "SnmpStackFixture.h"

#include "NotificationText.h"

namespace {

TEST_F(SnmpStack, AResolvedProblemArrivesAsTheResolvedTrap) {
    const NotificationJob job = MakeJob(NOTIFY_STAGE_RESOLVED);
    EXPECT_EQ(Channels().SendSnmpNotification(job, false), 1);
    const std::string traps = m_dir + "traps.log";
    ASSERT_TRUE(WaitFor(
        [&] {
            return ReadWholeFile(traps).find("Enterprise Specific Trap (13)") != std::string::npos;
        },
        15))
        << ReadWholeFile(traps) << ReadWholeFile(m_dir + "subagent.log");
    const std::string log = ReadWholeFile(traps);
    EXPECT_NE(log.find(".1.3.6.1.4.1.0 Enterprise Specific Trap (13)"), std::string::npos) << log;
    EXPECT_NE(log.find(".1.3.6.1.4.1.1.0 = STRING: \"" + ComposeShortText(job) + "\""),
              std::string::npos)
        << log;
    EXPECT_NE(Events().at(0).EVENT_DESCRIPTION.find("<Trap ID: 13>"), std::string::npos);
}

} // namespace
