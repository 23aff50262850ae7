#include "CAuditionCfgPPNTEvtLog.h"

#include "MessageIds.h"
#include "UiText.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QRadioButton>

#include <initializer_list>
#include <utility>

namespace {

enum Part {
    PageTitle,
    Computer,
    Log,
    SystemLog,
    ApplicationLog,
    Entries,
    Warnings,
    Errors,
    Filter,
    NoFilter,
    Include,
    Exclude,
    Sources,
    EventIds
};

QString Text(Part part) {
    return UiTextPart(IDS_AUDITION_NTEVTLOG_PAGE, part);
}

// A row of radio buttons whose ids are the given values.
QButtonGroup* AddRadios(QWidget* owner, QFormLayout* form, Part label,
                        std::initializer_list<std::pair<int, Part>> buttons) {
    auto* group = new QButtonGroup(owner);
    auto* row = new QHBoxLayout;
    for (const auto& [id, part] : buttons) {
        auto* radio = new QRadioButton(Text(part));
        group->addButton(radio, id);
        row->addWidget(radio);
    }
    form->addRow(Text(label), row);
    return group;
}

} // namespace

// One log per audition: the radio "Anwendung" is the application log flag;
// saving derives the system log flag from it (CAuditionRules::PrepareForSaving).
CAuditionCfgPPNTEvtLog::CAuditionCfgPPNTEvtLog(QWidget* parent)
    : CAuditionPage(AuditionType::NTEvtLog, Text(PageTitle), parent) {
    auto* form = new QFormLayout(this);
    AddLine(form, Text(Computer), "SERVER_PATH");
    BindChoice("AUDIT_APPLOG", AddRadios(this, form, Log, {{0, SystemLog}, {1, ApplicationLog}}),
               Text(Log));
    auto* entries = new QHBoxLayout;
    for (const auto& [column, part] :
         {std::pair{"AUDIT_WARNING", Warnings}, std::pair{"AUDIT_ERROR", Errors}}) {
        auto* box = new QCheckBox(Text(part));
        BindFlag(column, box);
        entries->addWidget(box);
    }
    form->addRow(Text(Entries), entries);
    BindChoice("FILTER_TYPE",
               AddRadios(this, form, Filter, {{0, NoFilter}, {1, Include}, {2, Exclude}}),
               Text(Filter));
    AddLine(form, Text(Sources), "FILTER_SOURCE");
    AddLine(form, Text(EventIds), "FILTER_ID");
}
