#include "NotifyPlan.h"

#include <cstdlib>

void BuildNotifyPlan(CDBEngineTARN& database, AuditionEntry& entry) {
    std::string plan;
    DBKeyList profiles;
    if (database.GetAuditNotifyProfiles(entry.Definition.AUDITION_ID, profiles)) {
        for (int32_t profile : profiles) {
            plan += (plan.empty() ? "" : ";") + std::to_string(profile);
            DBKeyList notifications;
            if (database.GetNotifyProfileNotifications(profile, notifications))
                for (int32_t notification : notifications)
                    plan += ";" + std::to_string(notification);
            plan += ";0";
        }
    }
    entry.NotifyProfiles = plan;
}

std::vector<int32_t> SplitNotifyPlan(const std::string& plan) {
    std::vector<int32_t> items;
    if (plan.empty())
        return items;
    size_t start = 0;
    for (;;) {
        const size_t end = plan.find(';', start);
        const std::string item = plan.substr(start, end == std::string::npos ? end : end - start);
        items.push_back(static_cast<int32_t>(std::strtol(item.c_str(), nullptr, 10)));
        if (end == std::string::npos)
            return items;
        start = end + 1;
    }
}

namespace {

NotificationJob MakeJob(int32_t nProblemID, const AuditionEntry& entry, int32_t nStage,
                        const DBNotifyProfile& profile, const DBNotification& notification) {
    NotificationJob job;
    job.Stage = nStage;
    job.ProblemID = nProblemID;
    job.Audition = entry;
    job.ProfileID = profile.PROFILE_ID;
    job.ProfileName = profile.NAME;
    job.ProfileDescription = profile.DESCRIPTION;
    job.Notification = notification;
    return job;
}

} // namespace

int QueueNotifications(const CNotificationCaches& caches, CNotificationList& queue,
                       int32_t nProblemID, const AuditionEntry& entry, int32_t nStage) {
    const std::vector<int32_t> items = SplitNotifyPlan(entry.NotifyProfiles);
    int added = 0;
    size_t index = 0;
    while (index < items.size()) {
        DBNotifyProfile profile;
        const bool profileKnown = caches.FindProfile(items[index++], profile);
        // The profile's notifications run up to its terminating 0 (or below).
        for (; index < items.size() && items[index] > 0; ++index) {
            DBNotification notification;
            if (profileKnown && caches.FindNotification(items[index], notification)) {
                queue.Add(MakeJob(nProblemID, entry, nStage, profile, notification));
                ++added;
            }
        }
        ++index; // the terminating 0
    }
    return added;
}
