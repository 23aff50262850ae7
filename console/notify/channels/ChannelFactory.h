// How the console program hands its channels to the engine: a factory that the
// engine calls once its recorder, send lock and caches exist.
#pragma once

#include "IDocumentPrinter.h"
#include "INotificationChannels.h"
#include "NotificationCaches.h"

#include <functional>
#include <memory>
#include <mutex>

class CGatewayLink;
class CHistoryRecorder;

using ChannelFactory = std::function<std::unique_ptr<INotificationChannels>(
    CHistoryRecorder&, std::mutex& sendLock, const CNotificationCaches&)>;

// Channels with the mail library of the program directory, the registry file
// of the installation, the given gateway link (may be null) and print path;
// both must outlive the channels.
ChannelFactory MakeConsoleChannelFactory(CGatewayLink* gateway, IDocumentPrinter& printer);
