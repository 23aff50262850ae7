// The sheet "Benachrichtigungsprofile": every notify profile with its name
// and description. "&Hinzufügen..." opens the profile sheet for a new
// profile, "&Bearbeiten..." (double click) for the selected one, and
// "&Entfernen" (Delete key) removes the profile after question 4000, also
// from every audition. Changes are stored at once; the list is read again
// after each of them.
#pragma once

#include "CNamedEntryModel.h"
#include "NotifySheetContext.h"

#include <QDialog>

class CEditableList;

class CNotifyProfilesSheet : public QDialog {
    Q_OBJECT
public:
    CNotifyProfilesSheet(const NotifySheetContext& context, QWidget* parent = nullptr);

    CNamedEntryModel& Model() { return m_model; }
    CEditableList& List() { return *m_pList; }

    void AddProfile();
    void EditProfile(int row);
    void RemoveProfile(int row);

private:
    void Reload(int32_t selectId);

    NotifySheetContext m_context;
    CNamedEntryModel m_model{false};
    CEditableList* m_pList;
};
