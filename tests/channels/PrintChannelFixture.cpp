#include "PrintChannelFixture.h"

#include <cstdlib>

CCupsTestServer* PrintChannel::s_server = nullptr;
std::string PrintChannel::s_error;

void PrintChannel::SetUpTestSuite() {
    s_server = new CCupsTestServer;
    if (!s_server->Start({kPrinterQueue, "LG-Fax"}, s_error))
        return;
    ::setenv("CUPS_SERVER", s_server->Socket().c_str(), 1);
}

void PrintChannel::TearDownTestSuite() {
    delete s_server;
    s_server = nullptr;
}

void PrintChannel::SetUp() {
    if (!s_error.empty())
        GTEST_SKIP() << "no CUPS scheduler: " << s_error;
    ChannelTest::SetUp();
    m_printer = &m_qtPrinter;
}

CapturedJob PrintChannel::NextJob(const std::string& queue, size_t before) const {
    const auto jobs = s_server->WaitForJobs(queue, before + 1, kJobWait);
    EXPECT_EQ(jobs.size(), before + 1) << s_server->ErrorLog();
    return jobs.size() > before ? jobs[before] : CapturedJob{};
}

size_t PrintChannel::JobCount(const std::string& queue) const {
    return s_server->WaitForJobs(queue, 0, std::chrono::seconds(0)).size();
}
