#include "CTarnIcons.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>

namespace {

enum class Shape { Circle, Square, Triangle, Page, Folder };

struct Glyph {
    Shape shape;
    QColor colour;
    QString mark;
};

// Draws one glyph in a 16-unit square scaled to size pixels.
QPixmap Render(const Glyph& glyph, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 16.0, size / 16.0);
    painter.setPen(QPen(glyph.colour.darker(160), 1.0));
    painter.setBrush(glyph.colour);
    switch (glyph.shape) {
    case Shape::Circle:
        painter.drawEllipse(QRectF(1, 1, 14, 14));
        break;
    case Shape::Square:
        painter.drawRoundedRect(QRectF(1, 1, 14, 14), 3, 3);
        break;
    case Shape::Triangle: {
        QPainterPath path;
        path.moveTo(8, 1);
        path.lineTo(15, 15);
        path.lineTo(1, 15);
        path.closeSubpath();
        painter.drawPath(path);
        break;
    }
    case Shape::Page:
        painter.drawRect(QRectF(2.5, 1, 11, 14));
        break;
    case Shape::Folder:
        painter.drawRoundedRect(QRectF(1, 4, 14, 10), 1.5, 1.5);
        painter.drawRect(QRectF(1, 2.5, 6, 2));
        break;
    }
    QFont font = painter.font();
    font.setPixelSize(glyph.shape == Shape::Triangle ? 9 : 11);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(glyph.colour.lightness() > 150 ? Qt::black : Qt::white);
    QRectF text = glyph.shape == Shape::Triangle ? QRectF(0, 5, 16, 11) : QRectF(0, 1, 16, 15);
    painter.drawText(text, Qt::AlignCenter, glyph.mark);
    return pixmap;
}

// Icons are drawn once and kept (lists ask for them with every row painted);
// used on the user interface thread only.
QIcon MakeIcon(const Glyph& glyph) {
    static QHash<QString, QIcon> cache;
    const QString key = QStringLiteral("%1/%2/%3")
                            .arg(static_cast<int>(glyph.shape))
                            .arg(glyph.colour.rgba())
                            .arg(glyph.mark);
    auto found = cache.constFind(key);
    if (found != cache.constEnd())
        return *found;
    QIcon icon;
    for (int size : {16, 32, 64})
        icon.addPixmap(Render(glyph, size));
    cache.insert(key, icon);
    return icon;
}

const QColor kInfo(0x2f, 0x6f, 0xc0);
const QColor kWarning(0xf2, 0xc0, 0x2c);
const QColor kError(0xc8, 0x2a, 0x2a);
const QColor kOpen(0xf0, 0x9a, 0x1e);
const QColor kResolved(0x2e, 0x9a, 0x48);
const QColor kNeutral(0x7a, 0x86, 0x94);
const QColor kFolder(0xe0, 0xb8, 0x5a);

Glyph StatusGlyph(int image) {
    switch (image) {
    case 2:
        return {Shape::Square, kOpen, QStringLiteral("!")};
    case 3:
        return {Shape::Square, kError, QString(QChar(0x2715))};
    case 4:
        return {Shape::Square, kResolved, QString(QChar(0x2713))};
    default:
        return {Shape::Square, kNeutral, QStringLiteral("?")};
    }
}

} // namespace

QIcon CTarnIcons::TreeImage(int index) {
    switch (index) {
    case 1: // the group nodes
    case 2:
    case 8:
        return MakeIcon({Shape::Folder, kFolder, QString()});
    case 4:
        return MakeIcon({Shape::Page, Qt::white, QString(QChar(0x2261))});
    case 5:
        return MakeIcon({Shape::Circle, kInfo, QString(QChar(0x25C9))});
    case 6:
        return MakeIcon({Shape::Square, kResolved, QStringLiteral("P")});
    case 9:
        return MakeIcon({Shape::Square, kInfo, QStringLiteral("@")});
    case 10:
        return MakeIcon({Shape::Square, kNeutral, QString(QChar(0x2699))});
    case 12:
        return MakeIcon({Shape::Triangle, kWarning, QStringLiteral("!")});
    case 14:
        return MakeIcon({Shape::Square, kOpen, QStringLiteral("+")});
    default:
        return MakeIcon({Shape::Page, Qt::white, QString()});
    }
}

QIcon CTarnIcons::EventKind(int kind) {
    switch (kind) {
    case 1:
        return MakeIcon({Shape::Circle, kInfo, QStringLiteral("i")});
    case 2:
        return MakeIcon({Shape::Triangle, kWarning, QStringLiteral("!")});
    case 3:
        return MakeIcon({Shape::Circle, kError, QString(QChar(0x2715))});
    case 4:
        return MakeIcon(StatusGlyph(2));
    case 5:
        return MakeIcon(StatusGlyph(3));
    case 6:
        return MakeIcon(StatusGlyph(4));
    default:
        return MakeIcon({Shape::Circle, kNeutral, QStringLiteral("?")});
    }
}

QIcon CTarnIcons::ProblemImage(int image) {
    return MakeIcon(StatusGlyph(image));
}

QColor CTarnIcons::ProblemColour(int image) {
    return StatusGlyph(image).colour;
}

QIcon CTarnIcons::ProblemEventImage(int image) {
    switch (image) {
    case 2:
        return MakeIcon({Shape::Circle, kInfo, QString(QChar(0x25B6))});
    case 3:
        return MakeIcon({Shape::Square, kResolved, QStringLiteral("@")});
    default:
        return MakeIcon({Shape::Triangle, kError, QStringLiteral("!")});
    }
}

QPixmap CTarnIcons::Picture() {
    QPixmap picture(160, 120);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x24, 0x47, 0x6b));
    painter.drawRoundedRect(QRectF(4, 4, 152, 112), 14, 14);
    painter.setBrush(kWarning);
    painter.drawEllipse(QRectF(16, 22, 34, 34));
    QFont font = painter.font();
    font.setPixelSize(34);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(0, 40, 160, 70), Qt::AlignCenter, QStringLiteral("TARN!"));
    return picture;
}

QIcon CTarnIcons::ApplicationIcon() {
    QIcon icon;
    for (int size : {16, 32, 64})
        icon.addPixmap(Picture().scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    return icon;
}
