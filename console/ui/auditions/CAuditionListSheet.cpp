#include "CAuditionListSheet.h"

#include "CAuditionKindDialog.h"
#include "CAuditionPropertySheet.h"
#include "CMessageBox.h"
#include "CReportList.h"
#include "MessageIds.h"
#include "ConsoleEngine.h"
#include "MessageIds.h"
#include "PluginAuditionCleanup.h"
#include "UiText.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

enum Part { Label, AddText, EditText, RemoveText, ActivateText, DeactivateText };

QString Text(Part part) {
    return UiTextPart(IDS_AUDITION_LIST_SHEET, part);
}

const std::vector<int> kColumnWidths = {130, 50, 100, 140};

} // namespace

CAuditionListSheet::CAuditionListSheet(const AuditionSheetContext& context, QWidget* parent)
    : QDialog(parent), m_context(context) {
    setWindowTitle(UiText(IDS_AUDITION_LIST_CAPTION));
    m_pList = new CReportList(&m_model, kColumnWidths);
    m_pList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_pList->setContextMenuPolicy(Qt::CustomContextMenu);
    m_pList->installEventFilter(this);
    connect(m_pList, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu* menu = MakeContextMenu();
        menu->exec(m_pList->viewport()->mapToGlobal(at));
        delete menu;
    });
    connect(m_pList, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        m_model.Toggle(m_pList->Proxy().mapToSource(index).row());
    });

    auto* side = new QVBoxLayout;
    for (const auto& [part, name, slot] :
         {std::tuple{AddText, "Add", &CAuditionListSheet::Add},
          std::tuple{EditText, "Edit", &CAuditionListSheet::Edit},
          std::tuple{RemoveText, "Remove", &CAuditionListSheet::Remove}}) {
        auto* button = new QPushButton(Text(part));
        button->setObjectName(QString::fromLatin1(name));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, slot);
        side->addWidget(button);
    }
    side->addStretch();
    auto* body = new QHBoxLayout;
    body->addWidget(m_pList, 1);
    body->addLayout(side);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel |
                                         QDialogButtonBox::Apply);
    buttons->button(QDialogButtonBox::Ok)->setText(UiText(IDS_BUTTON_OK));
    buttons->button(QDialogButtonBox::Cancel)->setText(UiText(IDS_BUTTON_CANCEL));
    buttons->button(QDialogButtonBox::Apply)->setText(UiText(IDS_BUTTON_APPLY));
    connect(buttons, &QDialogButtonBox::accepted, this, &CAuditionListSheet::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CAuditionListSheet::reject);
    connect(buttons->button(QDialogButtonBox::Apply), &QPushButton::clicked, this,
            &CAuditionListSheet::Apply);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(Text(Label)));
    layout->addLayout(body);
    layout->addWidget(buttons);
    resize(560, 320);
    Fill();
}

void CAuditionListSheet::Run(CConsoleEngine& engine, const AuditionSheetContext& context,
                             QWidget* parent) {
    engine.StoreStoppedAuditions();
    {
        CAuditionListSheet sheet(context, parent);
        sheet.exec();
    }
    engine.SynchronizeAuditionList();
}

void CAuditionListSheet::Fill() {
    DBAuditionList auditions;
    m_context.Database.GetAllAuditions(auditions);
    m_model.SetAuditions(auditions);
}

int CAuditionListSheet::SelectedRow() const {
    return m_pList->CurrentSourceRow();
}

QMenu* CAuditionListSheet::MakeContextMenu() {
    auto* menu = new QMenu(this);
    menu->addAction(Text(AddText), this, &CAuditionListSheet::Add);
    menu->addAction(Text(EditText), this, &CAuditionListSheet::Edit);
    menu->addAction(Text(RemoveText), this, &CAuditionListSheet::Remove);
    menu->addSeparator();
    menu->addAction(Text(ActivateText), this, [this] { SetSelectedActive(true); });
    menu->addAction(Text(DeactivateText), this, [this] { SetSelectedActive(false); });
    return menu;
}

bool CAuditionListSheet::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_pList && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        Remove();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

// The new audition is stored before its property sheet opens, so that the
// sheet edits a stored row as for "Bearbeiten...".
void CAuditionListSheet::Add() {
    CAuditionKindDialog kinds(m_context, this);
    if (kinds.exec() != QDialog::Accepted)
        return;
    DBAudition audition = kinds.Chosen();
    if (!m_context.Database.SetAudition(audition))
        return;
    OpenProperties(audition.AUDITION_ID);
}

void CAuditionListSheet::Edit() {
    const int row = SelectedRow();
    if (row < 0)
        return;
    Apply();
    OpenProperties(m_model.Audition(row).AUDITION_ID);
}

void CAuditionListSheet::OpenProperties(int32_t auditionId) {
    {
        CAuditionPropertySheet properties(m_context, auditionId, this);
        if (properties.IsLoaded())
            properties.exec();
    }
    Fill();
    m_pList->SelectSourceRow(m_model.RowOfId(auditionId));
}

void CAuditionListSheet::Remove() {
    const int row = SelectedRow();
    if (row < 0)
        return;
    if (CMessageBox::Ask(this, UiText(IDS_ASK_REMOVE_AUDITION), m_context.Title,
                         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel) !=
        QMessageBox::Yes)
        return;
    DBAudition audition;
    const int32_t auditionId = m_model.Audition(row).AUDITION_ID;
    if (m_context.Database.GetAudition(auditionId, audition))
        LetPluginCleanUp(m_context.Plugins, m_context.PluginHost, audition);
    m_context.Database.DeleteAudition(auditionId);
    Fill();
}

void CAuditionListSheet::SetSelectedActive(bool active) {
    for (const QModelIndex& shown : m_pList->selectionModel()->selectedRows())
        m_model.SetActive(m_pList->Proxy().mapToSource(shown).row(), active);
}

bool CAuditionListSheet::CheckPlugins() {
    for (int row = 0; row < m_model.rowCount(); ++row) {
        const DBAudition& audition = m_model.Audition(row);
        CPlugin plugin;
        if (m_model.IsActive(row) &&
            audition.AUDITION_TYPE == static_cast<int32_t>(AuditionType::Plugin) &&
            !m_context.Plugins.Find(audition.Plugin.PLUGIN_TYPE, plugin)) {
            CMessageBox::Warning(this, UiText(IDS_PLUGIN_NOT_INSTALLED));
            return false;
        }
    }
    return true;
}

// Each row is read again, so that only its active state changes.
bool CAuditionListSheet::Apply() {
    if (!CheckPlugins())
        return false;
    for (int shown = 0; shown < m_pList->Proxy().rowCount(); ++shown) {
        const int row = m_pList->SourceRow(shown);
        DBAudition audition;
        if (!m_context.Database.GetAudition(m_model.Audition(row).AUDITION_ID, audition))
            continue;
        audition.ACTIVE = m_model.IsActive(row);
        m_context.Database.SetAudition(audition);
    }
    m_model.ForgetChanges();
    return true;
}

void CAuditionListSheet::accept() {
    if (Apply())
        QDialog::accept();
}
