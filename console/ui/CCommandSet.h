// The main window's commands: one action per command id with its status-bar
// prompt and tool tip from the string table (prompt before "\n", tool tip
// after it), the menus, the toolbar and the shortcuts. Triggering any of them
// emits triggered(id).
#pragma once

#include <QObject>

#include <map>

class QAction;
class QMainWindow;

class CCommandSet : public QObject {
    Q_OBJECT
public:
    // Commands of the desktop console beyond the table of the frame's
    // commands; they use the ids of their menu texts.
    enum OwnCommand {
        ID_EXIT = 7504,
        ID_HELP = 7506,
        ID_ABOUT = 7508,
        ID_RELOAD_PROBLEMS = 7522,
    };

    explicit CCommandSet(QMainWindow& window);

    QAction* Action(int id) const;

signals:
    void triggered(int id);

private:
    QAction* Make(int id, unsigned textId, unsigned promptId);
    QAction* MakeTableCommand(int id);
    void BuildMenus(QMainWindow& window);
    void BuildToolBar(QMainWindow& window);

    std::map<int, QAction*> m_actions;
};
