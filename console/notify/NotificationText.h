// The texts a notification sends: the long text of mail, printer and fax, and
// the one-line text of SMS and SNMP. Labels come from the string table of the
// running language; values from the job's audition and its error signal.
#pragma once

#include "NotificationJob.h"

#include <string>

std::string ComposeNotificationText(const NotificationJob& job);
std::string ComposeShortText(const NotificationJob& job);
