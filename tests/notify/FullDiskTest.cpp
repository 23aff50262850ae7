// A signal on a full disk: the history files lie on a small tmpfs that the
// test mounts and fills. The refused store is reported to the audition
// thread (which then leaves the agent's line unmarked) and no problem is
// opened; once there is room again, the same signal is stored and opens its
// problem, once.
#include "NotifyTestSupport.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

namespace {

class FullDiskTest : public NotifyFixture {
protected:
    void PrepareDirectory() override {
        if (::mount("tarn-full", m_dir.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, "size=2m") != 0)
            GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(errno);
        m_mounted = true;
    }
    void ReleaseDirectory() override {
        if (m_mounted)
            ::umount2(m_dir.c_str(), MNT_DETACH);
    }
    // Writes a file until the file system has no room left.
    void FillDisk() {
        const int fd = ::open(Filler().c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ASSERT_GE(fd, 0);
        const std::string block(4096, 'x');
        while (::write(fd, block.data(), block.size()) > 0) {
        }
        EXPECT_EQ(errno, ENOSPC);
        ::close(fd);
    }
    std::string Filler() const { return m_dir + "filler"; }

    bool m_mounted = false;
};

TEST_F(FullDiskTest, RefusedStoreIsReportedAndTheSignalIsStoredLater) {
    const AuditionEntry entry = Signalled(Store(Audition(AuditionType::Service)));
    FillDisk();
    EXPECT_FALSE(m_handler->OnAuditionError(entry));
    std::filesystem::remove(Filler());
    EXPECT_TRUE(Problems(entry.Definition.AUDITION_ID).empty());
    EXPECT_TRUE(m_view.added.empty());

    EXPECT_TRUE(m_handler->OnAuditionError(entry));
    const std::vector<DBHProblem> stored = Problems(entry.Definition.AUDITION_ID);
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].ERROR_COUNT, 1);
    EXPECT_EQ(Events(stored[0].PROBLEM_ID).size(), 1u);
    EXPECT_EQ(m_view.added.size(), 1u);
}

} // namespace
