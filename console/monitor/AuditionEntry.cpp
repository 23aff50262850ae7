#include "AuditionEntry.h"

void CopyRunState(const AuditionEntry& from, AuditionEntry& to) {
    to.Running = from.Running;
    to.Paused = from.Paused;
    to.FirstCheck = from.FirstCheck;
    to.AgentPerforms = from.AgentPerforms;
    to.LastErrorTime = from.LastErrorTime;
    to.FileTime = from.FileTime;
    to.NextFileCheck = from.NextFileCheck;
    to.NextPing = from.NextPing;
    to.Signal = from.Signal;
    to.PingFailures = from.PingFailures;
    to.ReportedUnmarkableLine = from.ReportedUnmarkableLine;
    to.AgentLogResume = from.AgentLogResume;
    to.AgentLogResumeKey = from.AgentLogResumeKey;
}
