#include "LogfileAudition.h"

#include "MessageIds.h"
#include "MessageText.h"
#include "StringTable.h"
#include "TARNTool.h"

#include <sys/stat.h>

LogfileAuditionResult CheckLogfileAudition(const LogfileAuditionSettings& settings,
                                           LogfileAuditionTiming& timing, std::time_t now) {
    LogfileAuditionResult result;
    if (timing.FirstCheck)
        timing.FileTime = timing.NextFileCheck = now;
    if (now >= timing.NextFileCheck) {
        struct stat info {};
        if (::stat(settings.LogFile.c_str(), &info) == 0) {
            if (settings.CheckType == LOGFILE_CHECK_EXISTS)
                result.Error = true;
            else if (info.st_mtime == timing.FileTime && !timing.FirstCheck)
                result.Error = true;
            else
                timing.FileTime = info.st_mtime;
        } else if (settings.CheckType == LOGFILE_CHECK_CHANGED) {
            result.ErrorEventLine =
                FillMessage(LoadTarnString(IDS_WATCHED_FILE_MISSING), {settings.LogFile});
            result.StopAudition = true;
        }
        // One minute more than the interval, computed wide so that no stored
        // interval can overflow.
        timing.NextFileCheck =
            static_cast<std::time_t>(now + (int64_t{settings.CheckInterval} + 1) * 60);
        if (result.Error) {
            result.Signal.Source = EVENT_SOURCE_CONSOLE;
            result.Signal.Type = EVENT_TYPE_ERROR;
            result.Signal.Category = EVENT_CATEGORY_LOGFILE;
            result.Signal.SourceModuleName = settings.LogFile;
            result.Signal.InfoID = "0";
            result.Signal.EventDescription =
                FillMessage(LoadTarnString(IDS_LOGFILE_SIGNALLED_ERROR), {settings.LogFile});
        }
    }
    timing.FirstCheck = false;
    return result;
}
