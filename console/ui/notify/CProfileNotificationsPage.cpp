#include "CProfileNotificationsPage.h"

#include "CDBEngineTARN.h"
#include "CEditableList.h"
#include "CNotificationRules.h"
#include "CNotificationSheet.h"
#include "CReportList.h"
#include "MessageIds.h"
#include "TARNTool.h"
#include "UiText.h"

#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const std::vector<int> kColumnWidths = {170, 230};

} // namespace

CProfileNotificationsPage::CProfileNotificationsPage(const NotifySheetContext& context,
                                                     int32_t profileId, QWidget* parent)
    : QWidget(parent), m_context(context), m_pList(new CEditableList(&m_model, kColumnWidths)),
      m_pUp(new QPushButton(UiTextPart(IDS_NOTIFY_MOVE_COMMANDS, 0))),
      m_pDown(new QPushButton(UiTextPart(IDS_NOTIFY_MOVE_COMMANDS, 1))) {
    m_pList->List().setSortingEnabled(false); // the order of the list is the order of sending
    m_pList->AddButton(m_pUp);
    m_pList->AddButton(m_pDown);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pList);
    connect(m_pUp, &QPushButton::clicked, this, [this] { MoveSelected(-1); });
    connect(m_pDown, &QPushButton::clicked, this, [this] { MoveSelected(+1); });
    connect(m_pList, &CEditableList::addRequested, this,
            &CProfileNotificationsPage::AddNotification);
    connect(m_pList, &CEditableList::editRequested, this,
            &CProfileNotificationsPage::EditNotification);
    connect(m_pList, &CEditableList::removeRequested, this,
            &CProfileNotificationsPage::RemoveNotification);

    std::vector<CNamedEntryModel::Entry> all = ReadNotifications();
    DBKeyList own;
    if (profileId > 0)
        m_context.database.GetNotifyProfileNotifications(profileId, own);
    // The profile's notifications first, in their sending order.
    std::vector<CNamedEntryModel::Entry> rows;
    for (int32_t id : own) {
        auto found =
            std::find_if(all.begin(), all.end(), [id](const auto& e) { return e.id == id; });
        if (found != all.end() && !found->marked) {
            found->marked = true;
            rows.push_back(*found);
        }
    }
    for (const CNamedEntryModel::Entry& entry : all)
        if (!entry.marked)
            rows.push_back(entry);
    m_model.SetEntries(std::move(rows));
}

std::vector<CNamedEntryModel::Entry> CProfileNotificationsPage::ReadNotifications() const {
    DBNotificationList notifications;
    m_context.database.GetAllNotifications(notifications);
    std::vector<CNamedEntryModel::Entry> entries;
    for (const DBNotification& notification : notifications)
        entries.push_back({notification.NOTIFICATION_ID, QString::fromStdString(notification.NAME),
                           QString::fromStdString(notification.DESCRIPTION)});
    return entries;
}

void CProfileNotificationsPage::Refresh(int32_t selectId) {
    m_model.Refresh(ReadNotifications());
    const int row = m_model.RowOfId(selectId);
    if (row >= 0)
        m_pList->List().SelectSourceRow(row);
}

void CProfileNotificationsPage::AddNotification() {
    CNotificationSheet sheet(m_context, CNotificationRules::NewNotification(), this);
    if (sheet.exec() == QDialog::Accepted)
        Refresh(sheet.Notification().NOTIFICATION_ID);
}

void CProfileNotificationsPage::EditNotification(int row) {
    const int32_t id = m_model.At(row).id;
    DBNotification notification;
    if (m_context.database.GetNotification(id, notification)) {
        CNotificationSheet sheet(m_context, notification, this);
        sheet.exec();
    }
    Refresh(id);
}

void CProfileNotificationsPage::RemoveNotification(int row) {
    if (!m_pList->ConfirmRemoval(IDS_ASK_REMOVE_NOTIFICATION, m_context.applicationTitle))
        return;
    m_context.database.DeleteNotification(m_model.At(row).id);
    Refresh(0);
}

void CProfileNotificationsPage::MoveSelected(int step) {
    const int row = m_pList->List().CurrentSourceRow();
    if (m_model.MoveRow(row, step))
        m_pList->List().SelectSourceRow(row + step);
}
