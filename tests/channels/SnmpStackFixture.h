// The SNMP channel's whole stack: a real snmpd on loopback with the TARN
// sub-agent attached over AgentX, and a real snmptrapd that logs every trap
// to traps.log in the test's directory. Shared by the channel tests and the
// desktop console's test buttons.
#pragma once

#include "ChannelTestSupport.h"

#include <sys/types.h>

#include <string>
#include <vector>

// Starts a program with its output in a log file; stops it at the end.
class CPeer {
public:
    ~CPeer() { Stop(); }
    void Stop();
    void Start(const std::vector<std::string>& argv, const std::string& log);
    bool Running() const;

private:
    pid_t m_pid = -1;
};

class SnmpStack : public ChannelTest {
protected:
    void SetUp() override;
    void TearDown() override;
    void WriteFile(const std::string& name, const std::string& content) const;
    CPeer m_trapReceiver, m_master, m_subAgent;
};
