// The notify plan of an audition: for each of its notify profiles in sequence
// order the profile id, the ids of the profile's notifications in sequence
// order, then "0", all joined by ";" (e.g. "3;7;9;0;5;7;0"). Queueing expands
// the plan into one notification job per listed notification.
#pragma once

#include "AuditionEntry.h"
#include "CDBEngineTARN.h"
#include "NotificationCaches.h"
#include "NotificationList.h"

#include <string>
#include <vector>

// Fills entry.NotifyProfiles from the database; empty for an audition
// without profiles.
void BuildNotifyPlan(CDBEngineTARN& database, AuditionEntry& entry);

// The plan's items as numbers (text that is not a number gives 0).
std::vector<int32_t> SplitNotifyPlan(const std::string& plan);

// Adds one job per notification of the plan whose profile and notification
// are in the caches, in plan order; returns the number of jobs added.
int QueueNotifications(const CNotificationCaches& caches, CNotificationList& queue,
                       int32_t nProblemID, const AuditionEntry& entry, int32_t nStage);
