// The texts of the notification, notify profile and profile list sheets: their
// ids are named in MessageIds.h; texts of several parts are read with UiTextPart.
#pragma once

#include "MessageIds.h"
#include "TARNTool.h"
