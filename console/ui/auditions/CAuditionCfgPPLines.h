// A type page that is a column of labelled lines: the pages "Applikation",
// "Service" and "Netzwerk".
#pragma once

#include "CAuditionPage.h"

class CAuditionCfgPPLines : public CAuditionPage {
    Q_OBJECT
public:
    // type is App, Service or Net.
    explicit CAuditionCfgPPLines(AuditionType type, QWidget* parent = nullptr);
};
