#include "CAuditionCfgPPGeneral.h"

#include "MessageIds.h"
#include "TARNTool.h"
#include "UiText.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace {

enum Part { PageTitle, Name, Description, TypeLabel, ActiveFrom, ActiveTo, Hours };

QString Text(Part part) {
    return UiTextPart(IDS_AUDITION_GENERAL_PAGE, part);
}

} // namespace

CAuditionCfgPPGeneral::CAuditionCfgPPGeneral(AuditionType type, QWidget* parent)
    : CAuditionPage(type, Text(PageTitle), parent) {
    auto* form = new QFormLayout(this);
    AddLine(form, Text(Name), "NAME");
    AddLine(form, Text(Description), "DESCRIPTION");
    auto* typeName = new QLabel(ToQString(GetAuditionTypeName(type)));
    typeName->setObjectName(QStringLiteral("AUDITION_TYPE"));
    form->addRow(Text(TypeLabel), typeName);
    auto* begin = new QLineEdit;
    auto* end = new QLineEdit;
    BindLine("ACTIVE_BEGIN", begin, Text(ActiveFrom));
    BindLine("ACTIVE_END", end, Text(ActiveTo));
    auto* hours = new QHBoxLayout;
    hours->addWidget(begin);
    hours->addWidget(new QLabel(Text(ActiveTo)));
    hours->addWidget(end);
    hours->addWidget(new QLabel(Text(Hours)));
    form->addRow(Text(ActiveFrom), hours);
}
