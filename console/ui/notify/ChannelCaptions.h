// Texts shared by the notification sheets: the channels' page captions and
// the browse button. The captions are one "|"-separated text in the string
// table, in the fixed order of the channels.
#pragma once

#include "MessageIds.h"
#include "NotificationJob.h"

#include <QString>

// "SMS", "MS-Mail", "Fax", "Drucker", "Internet-Mail" or "SNMP".
QString ChannelCaption(NotificationChannel channel);
