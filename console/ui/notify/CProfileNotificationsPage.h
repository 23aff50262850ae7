// The page "Benachrichtigungen" of a notify profile: every notification,
// the profile's own marked (state image 2) and listed first in their sending
// order, the others unmarked (state image 1) after them. A click on the mark
// toggles it; "Nach oben" and "Nach unten" move the selected notification,
// since the marked ones are sent in the order of the list. Notifications
// are added, edited and (after question 4001, from every profile) removed
// here at once; marks and order stay the page's until the sheet's OK.
#pragma once

#include "CNamedEntryModel.h"
#include "NotifySheetContext.h"

#include <QWidget>

class CEditableList;
class QPushButton;

class CProfileNotificationsPage : public QWidget {
    Q_OBJECT
public:
    // profileId: the stored profile, DB_KEY_NEW for a new one.
    CProfileNotificationsPage(const NotifySheetContext& context, int32_t profileId,
                              QWidget* parent = nullptr);

    CNamedEntryModel& Model() { return m_model; }
    CEditableList& List() { return *m_pList; }
    QPushButton* MoveButton(int step) const { return step < 0 ? m_pUp : m_pDown; }

    // The keys of the marked notifications, in the order of sending.
    std::vector<int32_t> SendingOrder() const { return m_model.MarkedIds(); }

    void AddNotification();
    void EditNotification(int row);
    void RemoveNotification(int row);
    // Moves the selected notification one place up (-1) or down (+1).
    void MoveSelected(int step);

private:
    std::vector<CNamedEntryModel::Entry> ReadNotifications() const;
    void Refresh(int32_t selectId);

    NotifySheetContext m_context;
    CNamedEntryModel m_model{true};
    CEditableList* m_pList;
    QPushButton* m_pUp;
    QPushButton* m_pDown;
};
