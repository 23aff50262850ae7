// The page "NT-Eventlog": the computer, which one of its two logs is watched,
// which entries count and the filter by sources and event ids.
#pragma once

#include "CAuditionPage.h"

class CAuditionCfgPPNTEvtLog : public CAuditionPage {
    Q_OBJECT
public:
    explicit CAuditionCfgPPNTEvtLog(QWidget* parent = nullptr);
};
