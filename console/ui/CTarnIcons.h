// The console's own icon set, drawn with vector shapes so that every image is
// sharp at 16 × 16 and at any larger size (each icon carries 16, 32 and 64
// pixel renderings). Status colours always come with a mark of their own, so
// the images can be told apart without colour.
#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>

class CTarnIcons {
public:
    // Images of the selection tree by the image index of its entries.
    static QIcon TreeImage(int index);
    // Event view lines by kind (1 info, 2 warning, 3 error, 4 problem opened,
    // 5 unresolved, 6 resolved).
    static QIcon EventKind(int kind);
    // Problem lines by image index (2 open, 3 unresolved, 4 resolved).
    static QIcon ProblemImage(int image);
    // Problem events by image index (1 error signal, 2 action, 3 notification).
    static QIcon ProblemEventImage(int image);
    // The colour of a problem status image (also the row's tint).
    static QColor ProblemColour(int image);
    // The picture shown while no view is shown, and the window icon.
    static QPixmap Picture();
    static QIcon ApplicationIcon();
};
