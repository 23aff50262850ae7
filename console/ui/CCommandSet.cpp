#include "CCommandSet.h"

#include "CMainFrame.h"
#include "CTarnIcons.h"
#include "MessageIds.h"
#include "UiText.h"

#include <QAction>
#include <QMainWindow>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>

CCommandSet::CCommandSet(QMainWindow& window) : QObject(&window) {
    using F = CMainFrame;
    for (int id :
         {F::ID_SAVE_EVENT_VIEW, F::ID_NOTIFY_SERVICES, F::ID_GENERAL_SETTINGS,
          F::ID_NOTIFY_PROFILES, F::ID_AUDITIONS, F::ID_SHOW_EVENT_VIEW, F::ID_CLEAR_EVENT_VIEW,
          F::ID_SHOW_PROBLEM_VIEW, F::ID_PLUGINS, F::ID_REACTIVATE, F::ID_HOME_PAGE})
        MakeTableCommand(id);
    Make(ID_EXIT, ID_EXIT, IDS_EXIT_PROMPT)->setShortcut(QKeySequence::Quit);
    Make(ID_HELP, ID_HELP, IDS_HELP_PROMPT)->setShortcut(QKeySequence::HelpContents);
    Make(ID_ABOUT, ID_ABOUT, IDS_ABOUT_PROMPT);
    Make(ID_RELOAD_PROBLEMS, ID_RELOAD_PROBLEMS, IDS_RELOAD_PROMPT)->setShortcut(Qt::Key_F5);
    for (int id : {F::ID_SHOW_EVENT_VIEW, F::ID_SHOW_PROBLEM_VIEW, F::ID_REACTIVATE})
        Action(id)->setCheckable(true);

    QStyle* style = window.style();
    Action(F::ID_SAVE_EVENT_VIEW)->setIcon(style->standardIcon(QStyle::SP_DialogSaveButton));
    Action(F::ID_CLEAR_EVENT_VIEW)->setIcon(style->standardIcon(QStyle::SP_DialogResetButton));
    Action(ID_HELP)->setIcon(style->standardIcon(QStyle::SP_DialogHelpButton));
    Action(ID_RELOAD_PROBLEMS)->setIcon(style->standardIcon(QStyle::SP_BrowserReload));
    const std::pair<int, int> treeImages[] = {
        {F::ID_SHOW_EVENT_VIEW, 4}, {F::ID_SHOW_PROBLEM_VIEW, 12}, {F::ID_AUDITIONS, 5},
        {F::ID_NOTIFY_PROFILES, 6}, {F::ID_NOTIFY_SERVICES, 9},    {F::ID_GENERAL_SETTINGS, 10},
        {F::ID_PLUGINS, 14}};
    for (const auto& [id, image] : treeImages)
        Action(id)->setIcon(CTarnIcons::TreeImage(image));
    BuildMenus(window);
    BuildToolBar(window);
}

QAction* CCommandSet::Action(int id) const {
    auto found = m_actions.find(id);
    return found == m_actions.end() ? nullptr : found->second;
}

QAction* CCommandSet::Make(int id, unsigned textId, unsigned promptId) {
    auto* action = new QAction(UiText(textId), this);
    action->setStatusTip(CommandPrompt(promptId));
    action->setToolTip(CommandTip(promptId));
    connect(action, &QAction::triggered, this, [this, id] { emit triggered(id); });
    m_actions[id] = action;
    return action;
}

// A command of the frame's table: its menu text is its tool tip.
QAction* CCommandSet::MakeTableCommand(int id) {
    QAction* action = Make(id, id, id);
    action->setText(CommandTip(id));
    return action;
}

void CCommandSet::BuildMenus(QMainWindow& window) {
    using F = CMainFrame;
    QMenuBar* bar = window.menuBar();
    QMenu* file = bar->addMenu(UiText(IDS_MENU_FILE));
    file->addAction(Action(F::ID_SAVE_EVENT_VIEW));
    file->addSeparator();
    file->addAction(Action(ID_EXIT));
    QMenu* view = bar->addMenu(UiText(IDS_MENU_VIEW));
    view->addAction(Action(F::ID_SHOW_EVENT_VIEW));
    view->addAction(Action(F::ID_SHOW_PROBLEM_VIEW));
    view->addSeparator();
    view->addAction(Action(F::ID_CLEAR_EVENT_VIEW));
    view->addAction(Action(ID_RELOAD_PROBLEMS));
    QMenu* settings = bar->addMenu(UiText(IDS_MENU_SETTINGS));
    for (int id : {F::ID_AUDITIONS, F::ID_NOTIFY_PROFILES, F::ID_NOTIFY_SERVICES,
                   F::ID_GENERAL_SETTINGS, F::ID_PLUGINS})
        settings->addAction(Action(id));
    settings->addSeparator();
    settings->addAction(Action(F::ID_REACTIVATE));
    QMenu* help = bar->addMenu(UiText(IDS_MENU_HELP));
    help->addAction(Action(ID_HELP));
    help->addAction(Action(F::ID_HOME_PAGE));
    help->addSeparator();
    help->addAction(Action(ID_ABOUT));
}

void CCommandSet::BuildToolBar(QMainWindow& window) {
    using F = CMainFrame;
    QToolBar* toolbar = window.addToolBar(UiText(IDS_TOOLBAR));
    toolbar->setObjectName(QStringLiteral("TarnToolBar"));
    toolbar->setIconSize(QSize(16, 16));
    toolbar->addAction(Action(F::ID_SAVE_EVENT_VIEW));
    toolbar->addSeparator();
    toolbar->addAction(Action(F::ID_SHOW_EVENT_VIEW));
    toolbar->addAction(Action(F::ID_SHOW_PROBLEM_VIEW));
    toolbar->addAction(Action(F::ID_CLEAR_EVENT_VIEW));
    toolbar->addSeparator();
    toolbar->addAction(Action(F::ID_AUDITIONS));
    toolbar->addAction(Action(F::ID_NOTIFY_PROFILES));
    toolbar->addSeparator();
    toolbar->addAction(Action(ID_HELP));
}
