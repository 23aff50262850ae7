#include "CAuditionCfgPPLines.h"

#include "MessageIds.h"
#include "UiText.h"

#include <QFormLayout>

#include <vector>

namespace {

struct Line {
    int label; // part of the page's text
    const char* column;
    int unit = -1; // part shown after the line, -1 for none
};

struct PageLayout {
    unsigned textId;
    std::vector<Line> lines;
};

PageLayout LayoutOf(AuditionType type) {
    switch (type) {
    case AuditionType::App:
        return {IDS_AUDITION_APP_PAGE, {{1, "SERVER_PATH"}, {2, "APP_MODULE"}}};
    case AuditionType::Service:
        return {IDS_AUDITION_SERVICE_PAGE,
                {{1, "SERVER_PATH"},
                 {2, "SERVICE_NAME"},
                 {3, "SERVICE_DISPLAYNAME"},
                 {4, "SERVICE_MODULE"}}};
    default:
        return {IDS_AUDITION_NET_PAGE,
                {{1, "IP_ADDRESS"}, {2, "TIMEOUT"}, {3, "CHECK_INTERVAL", 4}}};
    }
}

} // namespace

CAuditionCfgPPLines::CAuditionCfgPPLines(AuditionType type, QWidget* parent)
    : CAuditionPage(type, UiTextPart(LayoutOf(type).textId, 0), parent) {
    const PageLayout layout = LayoutOf(type);
    auto* form = new QFormLayout(this);
    for (const Line& line : layout.lines)
        AddLine(form, UiTextPart(layout.textId, line.label), line.column,
                line.unit < 0 ? QString() : UiTextPart(layout.textId, line.unit));
}
