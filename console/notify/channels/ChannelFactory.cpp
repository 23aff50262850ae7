#include "ChannelFactory.h"

#include "NotificationChannels.h"

ChannelFactory MakeConsoleChannelFactory(CGatewayLink* gateway, IDocumentPrinter& printer) {
    return [gateway,
            &printer](CHistoryRecorder& recorder, std::mutex& sendLock,
                      const CNotificationCaches& caches) -> std::unique_ptr<INotificationChannels> {
        return std::make_unique<CNotificationChannels>(recorder, sendLock, caches, gateway,
                                                       CMailLibrary::DefaultPath(), printer);
    };
}
