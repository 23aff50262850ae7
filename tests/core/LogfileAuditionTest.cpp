#include "LogfileAudition.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <climits>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

constexpr std::time_t kStart = 1'000'000'000;

class LogfileAuditionTest : public testing::Test {
protected:
    TempDir dir;
    LogfileAuditionSettings settings{dir.Path("watched.log"), LOGFILE_CHECK_EXISTS, 5};
    LogfileAuditionTiming timing; // a freshly started audition

    void CreateWatchedFile(std::time_t modified) {
        TempDir::Write(settings.LogFile, "x");
        SetModified(modified);
    }
    void SetModified(std::time_t modified) {
        struct timespec times[2] = {{modified, 0}, {modified, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, settings.LogFile.c_str(), times, 0), 0);
    }
    LogfileAuditionResult CheckAt(std::time_t now) {
        return CheckLogfileAudition(settings, timing, now);
    }
};

TEST_F(LogfileAuditionTest, ExistingFileIsAnErrorAtEveryDueCheck) {
    CreateWatchedFile(kStart - 100);
    auto result = CheckAt(kStart);
    ASSERT_TRUE(result.Error);
    EXPECT_FALSE(result.StopAudition);
    EXPECT_TRUE(result.ErrorEventLine.empty());
    EXPECT_EQ(result.Signal.Source, 3);
    EXPECT_EQ(result.Signal.Type, 1);
    EXPECT_EQ(result.Signal.Category, 3);
    EXPECT_EQ(result.Signal.SourceModuleName, settings.LogFile);
    EXPECT_EQ(result.Signal.InfoID, "0");
    EXPECT_EQ(result.Signal.Computer, "");
    EXPECT_EQ(result.Signal.EventDescription,
              "Die Logdatei <" + settings.LogFile + "> signalisierte einen Fehler.");
    EXPECT_FALSE(timing.FirstCheck);
    // An interval of 5 minutes gives a check every six minutes.
    EXPECT_EQ(timing.NextFileCheck, kStart + 6 * 60);
    EXPECT_FALSE(CheckAt(kStart + 6 * 60 - 1).Error);
    EXPECT_EQ(timing.NextFileCheck, kStart + 6 * 60);
    EXPECT_TRUE(CheckAt(kStart + 6 * 60).Error);
    EXPECT_EQ(timing.NextFileCheck, kStart + 12 * 60);
}

TEST_F(LogfileAuditionTest, MissingFileIsTheGoodStateOfAnExistenceCheck) {
    auto result = CheckAt(kStart);
    EXPECT_FALSE(result.Error);
    EXPECT_FALSE(result.StopAudition);
    EXPECT_TRUE(result.ErrorEventLine.empty());
    EXPECT_EQ(timing.NextFileCheck, kStart + 6 * 60);
}

TEST_F(LogfileAuditionTest, UnchangedFileIsAnErrorOncePerInterval) {
    settings.CheckType = LOGFILE_CHECK_CHANGED;
    settings.CheckInterval = 1;
    CreateWatchedFile(kStart - 100);
    EXPECT_FALSE(CheckAt(kStart).Error); // the first check only records the time
    EXPECT_EQ(timing.FileTime, kStart - 100);
    EXPECT_FALSE(CheckAt(kStart + 60).Error); // not due yet
    auto result = CheckAt(kStart + 120);
    EXPECT_TRUE(result.Error);
    EXPECT_EQ(result.Signal.Category, 3);
    EXPECT_TRUE(CheckAt(kStart + 240).Error); // still unchanged: again
    SetModified(kStart + 300);
    EXPECT_FALSE(CheckAt(kStart + 360).Error); // changed: recorded, no error
    EXPECT_EQ(timing.FileTime, kStart + 300);
    EXPECT_TRUE(CheckAt(kStart + 480).Error);
}

TEST_F(LogfileAuditionTest, MissingFileStopsAChangeCheck) {
    settings.CheckType = LOGFILE_CHECK_CHANGED;
    settings.LogFile = dir.Path("100%s voll.log"); // the path is never read as a format
    auto result = CheckAt(kStart);
    EXPECT_FALSE(result.Error);
    EXPECT_TRUE(result.StopAudition);
    EXPECT_EQ(result.ErrorEventLine, "Überwachungsdatei <" + settings.LogFile +
                                         "> nicht vorhanden. Überwachung kann nicht "
                                         "durchgeführt werden.");
    EXPECT_EQ(timing.NextFileCheck, kStart + 6 * 60);
}

TEST_F(LogfileAuditionTest, OtherCheckTypesWatchForChangeAndIgnoreAMissingFile) {
    settings.CheckType = 2;
    auto missing = CheckAt(kStart);
    EXPECT_FALSE(missing.Error);
    EXPECT_FALSE(missing.StopAudition);
    CreateWatchedFile(kStart - 100);
    EXPECT_FALSE(CheckAt(kStart + 360).Error); // records the time
    EXPECT_TRUE(CheckAt(kStart + 720).Error);
}

TEST_F(LogfileAuditionTest, RestartMakesTheCheckDueAtOnce) {
    settings.CheckType = LOGFILE_CHECK_CHANGED;
    CreateWatchedFile(kStart - 100);
    EXPECT_FALSE(CheckAt(kStart).Error);
    timing.FirstCheck = true;                 // the audition was started again
    EXPECT_FALSE(CheckAt(kStart + 10).Error); // first check again: records only
    EXPECT_EQ(timing.NextFileCheck, kStart + 10 + 6 * 60);
}

TEST_F(LogfileAuditionTest, HugeIntervalDoesNotOverflow) {
    settings.CheckInterval = INT32_MAX;
    CreateWatchedFile(kStart);
    EXPECT_TRUE(CheckAt(kStart).Error);
    EXPECT_EQ(timing.NextFileCheck, kStart + (int64_t{INT32_MAX} + 1) * 60);
}

} // namespace
