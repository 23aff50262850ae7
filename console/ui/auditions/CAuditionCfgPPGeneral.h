// The page "Allgemein": name, description, the type (shown only) and the
// hours of the day in which the audition is active.
#pragma once

#include "CAuditionPage.h"

class CAuditionCfgPPGeneral : public CAuditionPage {
    Q_OBJECT
public:
    explicit CAuditionCfgPPGeneral(AuditionType type, QWidget* parent = nullptr);
};
