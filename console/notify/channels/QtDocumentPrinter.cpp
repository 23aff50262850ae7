#include "QtDocumentPrinter.h"

#include "LUTool.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace {

constexpr int kLeft = 50;
constexpr int kTop = 50;

// Each line with its top at y; the next one a line's height further down.
void DrawLines(QPainter& painter, const std::vector<std::string>& lines) {
    const QFontMetrics metrics = painter.fontMetrics();
    int y = kTop;
    for (const std::string& line : lines) {
        const QString text = QString::fromStdString(line);
        painter.drawText(QPoint(kLeft, y + metrics.ascent()), text);
        y += metrics.size(Qt::TextSingleLine, text.isEmpty() ? QStringLiteral("g") : text).height();
    }
}

} // namespace

bool CQtDocumentPrinter::PrintDocument(const std::string& queue, const std::string& documentName,
                                       const std::vector<std::string>& lines) {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        LUTool().Trace(1, "Printing needs a QGuiApplication; none runs");
        return false;
    }
    const QPrinterInfo info = QPrinterInfo::printerInfo(QString::fromStdString(queue));
    if (info.isNull()) {
        LUTool().Trace(1, "Print queue <%s> is not known to CUPS", queue.c_str());
        return false;
    }
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setDocName(QString::fromStdString(documentName));
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    DrawLines(painter, lines);
    return painter.end() && printer.printerState() != QPrinter::Error &&
           printer.printerState() != QPrinter::Aborted;
}
