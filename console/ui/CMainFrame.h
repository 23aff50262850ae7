// The console's main window: menus, toolbar and status bar, the selection
// tree and the current view side by side, and the engine that everything
// runs in. What the engine reports reaches the views through the view bridge
// (one queued hop); closing the window shuts the engine down on a helper
// thread while the window stays responsive.
#pragma once

#include "CConsoleViewBridge.h"
#include "CDesktopPluginUI.h"
#include "CDesktopSettings.h"
#include "ConsoleEngine.h"

#include <QFutureWatcher>
#include <QMainWindow>

#include <memory>

class CCommandSet;
class CCurrentView;
class CSelectionTreeView;
class CViewLogDialog;
class CViewProblemsDialog;
class CVigilApp;
class QAction;
class QSplitter;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    // Command ids of the menus, toolbar and selection tree.
    enum Command {
        ID_SAVE_EVENT_VIEW = 32779,
        ID_NOTIFY_SERVICES = 32780,
        ID_GENERAL_SETTINGS = 32782,
        ID_NOTIFY_PROFILES = 32784,
        ID_AUDITIONS = 32785,
        ID_SHOW_EVENT_VIEW = 32794,
        ID_CLEAR_EVENT_VIEW = 32797,
        ID_SHOW_PROBLEM_VIEW = 32798,
        ID_DELETE_PROBLEM = 32804,
        ID_PLUGINS = 32805,
        ID_REACTIVATE = 32807,
        ID_HOME_PAGE = 32809,
    };

    CMainFrame(CVigilApp& app, ConsoleEngineOptions options, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Loads the plug-ins and starts the engine's threads, reads the problems,
    // and brings the audition list in line when reactivation is on.
    void Start();

    // Item codes 100 to 104 of the selection tree; other codes do nothing.
    void OnTreeCommand(int code);
    void RunCommand(int id);
    // Saves the event view to path and reports the result in a box.
    void SaveEventView(const QString& path);

    CConsoleEngine& Engine() { return *m_pEngine; }
    CConsoleViewBridge& Bridge() { return m_bridge; }
    CCurrentView& CurrentView() { return *m_pCurrentView; }
    CSelectionTreeView& Tree() { return *m_pTree; }
    CViewLogDialog& EventView() { return *m_pEventView; }
    CViewProblemsDialog& ProblemView() { return *m_pProblemView; }
    QAction* Action(int id) const;
    bool IsShutDown() const { return m_eShutdown == ShutdownState::Done; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    enum class ShutdownState { None, Running, Done };

    void BuildViews();
    void ConnectBridge();
    void RestoreLayout();
    void SaveLayout() const;
    void UpdateChecks();
    void ShowPluginSheet();
    void OpenAuditions();
    void OpenNotifyProfiles();
    void ClearEventView();
    void ToggleReactivation();
    void OpenHelp();
    void OpenHomePage();
    void ShowAbout();
    void OnShutdownFinished();

    CVigilApp& m_app;
    CDesktopSettings m_desktop;
    CConsoleViewBridge m_bridge;
    CDesktopPluginUI m_pluginUI;
    std::unique_ptr<CConsoleEngine> m_pEngine;
    CSelectionTreeView* m_pTree = nullptr;
    CViewLogDialog* m_pEventView = nullptr;
    CViewProblemsDialog* m_pProblemView = nullptr;
    CCurrentView* m_pCurrentView = nullptr;
    QSplitter* m_pSplitter = nullptr;
    CCommandSet* m_pCommands = nullptr;
    ShutdownState m_eShutdown = ShutdownState::None;
    QFutureWatcher<void> m_shutdown;
};
