#include "ChannelCaptions.h"

#include "UiText.h"

#include <QStringList>

QString ChannelCaption(NotificationChannel channel) {
    return ListTextItem(IDS_CHANNEL_CAPTIONS, channel);
}

QString ListTextItem(unsigned id, int index) {
    return UiText(id).split(QLatin1Char('|')).value(index);
}
