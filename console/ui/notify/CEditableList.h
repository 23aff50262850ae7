// A list of configuration records with its commands: "&Hinzufügen...",
// "&Bearbeiten..." (also a double click or Enter) and "&Entfernen" (also the
// Delete key) as buttons beside the list and, on a right click, as its
// context menu. The list only asks; its owner adds, edits and removes.
#pragma once

#include <QWidget>

#include <vector>

class CReportList;
class QAbstractItemModel;
class QAction;
class QMenu;
class QPushButton;
class QVBoxLayout;

class CEditableList : public QWidget {
    Q_OBJECT
public:
    enum Command { CommandAdd, CommandEdit, CommandRemove, CommandCount };

    CEditableList(QAbstractItemModel* model, const std::vector<int>& columnWidths,
                  QWidget* parent = nullptr);

    CReportList& List() { return *m_pList; }
    QAction* Action(Command command) const { return m_actions[command]; }
    QPushButton* Button(Command command) const { return m_buttons[command]; }
    // A further button below the three (the buttons keep their order).
    void AddButton(QPushButton* button);
    // The context menu as a right click shows it.
    QMenu* MakeContextMenu(QWidget* parent);
    // Asks the question of a removal (Yes, No, Cancel); true on Yes.
    bool ConfirmRemoval(unsigned questionId, const QString& caption);

signals:
    void addRequested();
    // The source row of the model; only with a row selected.
    void editRequested(int row);
    void removeRequested(int row);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void RequestEdit();
    void RequestRemove();
    void UpdateCommands();

    CReportList* m_pList;
    QVBoxLayout* m_pButtonColumn;
    QAction* m_actions[CommandCount];
    QPushButton* m_buttons[CommandCount];
};
