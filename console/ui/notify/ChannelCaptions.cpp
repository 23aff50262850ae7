#include "ChannelCaptions.h"

#include "UiText.h"

QString ChannelCaption(NotificationChannel channel) {
    return UiTextPart(IDS_CHANNEL_CAPTIONS, channel);
}
