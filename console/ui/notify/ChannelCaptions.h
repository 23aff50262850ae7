// Texts shared by the notification sheets: the channels' page captions and
// the browse button. The captions are one "|"-separated text in the string
// table, in the fixed order of the channels.
#pragma once

#include "NotificationJob.h"

#include <QString>

constexpr unsigned IDS_CHANNEL_CAPTIONS = 7570; // "SMS|MS-Mail|Fax|Drucker|Internet-Mail|SNMP"
constexpr unsigned IDS_BROWSE = 7571;           // "&Durchsuchen..."

// "SMS", "MS-Mail", "Fax", "Drucker", "Internet-Mail" or "SNMP".
QString ChannelCaption(NotificationChannel channel);
