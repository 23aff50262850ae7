#include "CEditableList.h"

#include "CMessageBox.h"
#include "CReportList.h"
#include "MessageIds.h"
#include "TARNTool.h"
#include "UiText.h"

#include <QAction>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>

CEditableList::CEditableList(QAbstractItemModel* model, const std::vector<int>& columnWidths,
                             QWidget* parent)
    : QWidget(parent), m_pList(new CReportList(model, columnWidths)),
      m_pButtonColumn(new QVBoxLayout) {
    for (int command = 0; command < CommandCount; ++command) {
        const QString text = UiTextPart(IDS_NOTIFY_LIST_COMMANDS, command);
        m_actions[command] = new QAction(text, this);
        m_buttons[command] = new QPushButton(text);
        connect(m_buttons[command], &QPushButton::clicked, m_actions[command], &QAction::trigger);
        m_pButtonColumn->addWidget(m_buttons[command]);
    }
    m_pButtonColumn->addStretch();
    connect(m_actions[CommandAdd], &QAction::triggered, this, &CEditableList::addRequested);
    connect(m_actions[CommandEdit], &QAction::triggered, this, &CEditableList::RequestEdit);
    connect(m_actions[CommandRemove], &QAction::triggered, this, &CEditableList::RequestRemove);
    connect(m_pList, &QAbstractItemView::doubleClicked, this, &CEditableList::RequestEdit);
    m_pList->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_pList, &QWidget::customContextMenuRequested, this, [this](const QPoint& position) {
        QMenu* menu = MakeContextMenu(this);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(m_pList->viewport()->mapToGlobal(position));
    });
    m_pList->installEventFilter(this);
    connect(m_pList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CEditableList::UpdateCommands);
    connect(model, &QAbstractItemModel::modelReset, this, &CEditableList::UpdateCommands);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pList, 1);
    layout->addLayout(m_pButtonColumn);
    UpdateCommands();
}

void CEditableList::AddButton(QPushButton* button) {
    m_pButtonColumn->insertWidget(m_pButtonColumn->count() - 1, button);
}

QMenu* CEditableList::MakeContextMenu(QWidget* parent) {
    auto* menu = new QMenu(parent);
    for (QAction* action : m_actions)
        menu->addAction(action);
    return menu;
}

bool CEditableList::ConfirmRemoval(unsigned questionId, const QString& caption) {
    return CMessageBox::Ask(this, UiText(questionId), caption,
                            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel) ==
           QMessageBox::Yes;
}

void CEditableList::RequestEdit() {
    const int row = m_pList->CurrentSourceRow();
    if (row >= 0)
        emit editRequested(row);
}

void CEditableList::RequestRemove() {
    const int row = m_pList->CurrentSourceRow();
    if (row >= 0)
        emit removeRequested(row);
}

void CEditableList::UpdateCommands() {
    const bool selected = m_pList->CurrentSourceRow() >= 0;
    for (Command command : {CommandEdit, CommandRemove}) {
        m_actions[command]->setEnabled(selected);
        m_buttons[command]->setEnabled(selected);
    }
}

bool CEditableList::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_pList || event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    switch (static_cast<QKeyEvent*>(event)->key()) {
    case Qt::Key_Delete:
        RequestRemove();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        RequestEdit();
        return true;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}
