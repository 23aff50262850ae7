// The address book shown for a recipient choice: the book's entries, a name
// field that finds an entry as one types, and the "To" well with the chosen
// recipients. Every name in the well must resolve against the book (or be a
// mail address) before the dialog can be confirmed.
#pragma once

#include "AddressBook.h"

#include <QDialog>

#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QTreeWidget;

class CAddressDialogWindow : public QDialog {
public:
    CAddressDialogWindow(const QString& caption, const CAddressBook& book,
                         const std::vector<std::string>& initial);

    // The names in the well, in order, as the mail library resolves them again.
    std::vector<std::string> Chosen() const;

    // Confirms only when every name in the well resolved.
    void accept() override;

protected:
    // Enter in the name field adds the name; Delete in the well removes names.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildLayout();
    void FillBook();
    void AddInitial(const std::vector<std::string>& initial);
    // The entry whose name starts with the typed text becomes the selection.
    void FindTyped(const QString& text);
    // The selected entries, or else the typed name if it resolves, into the well.
    void AddChosen();
    void RemoveSelected();
    // A name for the well: the display name when it finds this entry again,
    // else the entry's address (shared or missing display names).
    std::string WellName(const Mailbox& entry) const;
    void AddToWell(const std::string& name, bool resolved);
    void ShowUnresolved(const QString& name);

    const CAddressBook& m_addressBook;
    QLineEdit* m_name = nullptr;
    QTreeWidget* m_book = nullptr;
    QListWidget* m_well = nullptr;
    QLabel* m_status = nullptr;
};
