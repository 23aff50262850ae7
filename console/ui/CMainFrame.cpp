#include "CMainFrame.h"

#include "CAboutDialog.h"
#include "CAuditionListSheet.h"
#include "CCommandSet.h"
#include "CCurrentView.h"
#include "CGeneralCfgPropertySheet.h"
#include "CMessageBox.h"
#include "CNotifyProfilesSheet.h"
#include "CNotifySrvCfgPropertySheet.h"
#include "CPluginPropertySheet.h"
#include "CReportList.h"
#include "CSelectionTreeView.h"
#include "CTarnIcons.h"
#include "CViewLogDialog.h"
#include "CViewProblemsDialog.h"
#include "MailLibrary.h"
#include "MessageIds.h"
#include "RegistryFile.h"
#include "StringTable.h"
#include "TARNTool.h"
#include "UiText.h"
#include "VigilApp.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileDialog>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QUrl>
#include <QtConcurrent/QtConcurrentRun>

namespace {

constexpr int kTreeWidth = 200;

} // namespace

CMainFrame::CMainFrame(CVigilApp& app, ConsoleEngineOptions options, QWidget* parent)
    : QMainWindow(parent), m_app(app), m_desktop(app.Settings().RegistryFile),
      m_pluginUI(ToQString(app.Settings().ApplicationTitle)) {
    m_pEngine =
        std::make_unique<CConsoleEngine>(*app.GetDBEngine(), app.Settings(), app.GetGatewayLink(),
                                         m_bridge, m_pluginUI, std::move(options));
    setWindowTitle(ToQString(app.Settings().ApplicationTitle) + QStringLiteral(" Console"));
    setWindowIcon(CTarnIcons::ApplicationIcon());
    m_pCommands = new CCommandSet(*this);
    connect(m_pCommands, &CCommandSet::triggered, this, &CMainFrame::RunCommand);
    statusBar()->addWidget(new QLabel(UiText(IDS_READY)));
    BuildViews();
    ConnectBridge();
    RestoreLayout();
    UpdateChecks();
    connect(&m_shutdown, &QFutureWatcherBase::finished, this, &CMainFrame::OnShutdownFinished);
}

CMainFrame::~CMainFrame() {
    m_shutdown.waitForFinished();
    if (m_pEngine)
        m_pEngine->ShutdownFrame();
}

void CMainFrame::BuildViews() {
    m_pTree = new CSelectionTreeView;
    m_pEventView = new CViewLogDialog;
    m_pProblemView =
        new CViewProblemsDialog(*m_app.GetDBEngine(), ToQString(m_app.Settings().ApplicationTitle));
    m_pCurrentView = new CCurrentView(m_pEventView, m_pProblemView);
    m_pSplitter = new QSplitter(Qt::Horizontal);
    m_pSplitter->setObjectName(QStringLiteral("TarnSplitter"));
    m_pSplitter->addWidget(m_pTree);
    m_pSplitter->addWidget(m_pCurrentView);
    m_pSplitter->setStretchFactor(1, 1);
    m_pSplitter->setChildrenCollapsible(false);
    setCentralWidget(m_pSplitter);
    connect(m_pTree, &CSelectionTreeView::viewRequested, m_pCurrentView, &CCurrentView::ShowView);
    connect(m_pTree, &CSelectionTreeView::commandRequested, this, &CMainFrame::OnTreeCommand);
    connect(m_pCurrentView, &CCurrentView::viewShown, this, &CMainFrame::UpdateChecks);
    connect(m_pProblemView, &CViewProblemsDialog::loadingChanged, this, [this](bool loading) {
        if (loading)
            statusBar()->showMessage(UiText(IDS_LOADING_PROBLEMS));
        else
            statusBar()->clearMessage();
    });
    m_pTree->setFocus();
}

// Every signal of the bridge crosses to this thread as a posted event.
void CMainFrame::ConnectBridge() {
    const auto queued = Qt::QueuedConnection;
    connect(
        &m_bridge, &CConsoleViewBridge::eventLine, this,
        [this](int kind, qint64 time, const QString& computer, const QString& audition,
               const QString& text) {
            m_pEventView->AddEvent(kind, static_cast<std::time_t>(time), computer, audition, text,
                                   m_app.Settings().GetProtocolFile());
        },
        queued);
    connect(&m_bridge, &CConsoleViewBridge::problemAdded, m_pProblemView,
            &CViewProblemsDialog::AddProblem, queued);
    connect(&m_bridge, &CConsoleViewBridge::problemChanged, m_pProblemView,
            &CViewProblemsDialog::UpdateProblem, queued);
    connect(
        &m_bridge, &CConsoleViewBridge::problemEventAdded, m_pProblemView,
        [this](const DBHEvent& event) { m_pProblemView->AddProblemEvent(event.PROBLEM_ID, event); },
        queued);
    connect(
        &m_bridge, &CConsoleViewBridge::message, this,
        [](const QString& text) { CMessageBox::PostError(text); }, queued);
}

void CMainFrame::Start() {
    m_bridge.AddEventViewLine(EVENT_VIEW_INFO, "", "", LoadTarnString(IDS_CONSOLE_STARTED));
    m_pEngine->InitializeFrame();
    m_pProblemView->LoadProblems();
    if (m_app.Settings().GetReactivate())
        m_pEngine->SynchronizeAuditionList();
    UpdateChecks();
}

QAction* CMainFrame::Action(int id) const {
    return m_pCommands->Action(id);
}

void CMainFrame::OnTreeCommand(int code) {
    static const std::map<int, int> commands = {{100, ID_NOTIFY_PROFILES},
                                                {101, ID_NOTIFY_SERVICES},
                                                {102, ID_GENERAL_SETTINGS},
                                                {103, ID_AUDITIONS},
                                                {104, ID_PLUGINS}};
    auto found = commands.find(code);
    if (found != commands.end())
        RunCommand(found->second);
}

void CMainFrame::RunCommand(int id) {
    switch (id) {
    case ID_SAVE_EVENT_VIEW: {
        const QString path = QFileDialog::getSaveFileName(this, UiText(IDS_FILE_SELECTION), {},
                                                          FileDialogFilter(IDS_TEXT_FILTER));
        if (!path.isEmpty())
            SaveEventView(path);
        break;
    }
    case ID_NOTIFY_PROFILES:
        OpenNotifyProfiles();
        break;
    case ID_NOTIFY_SERVICES: {
        CNotifySrvCfgPropertySheet sheet(*m_app.GetDBEngine(), m_app.Settings().RegistryFile, this);
        sheet.exec();
        m_pEngine->ReloadNotificationCaches();
        break;
    }
    case ID_GENERAL_SETTINGS: {
        CGeneralCfgPropertySheet sheet(*m_app.GetDBEngine(), m_app.Settings(), this);
        sheet.exec();
        break;
    }
    case ID_AUDITIONS:
        OpenAuditions();
        break;
    case ID_PLUGINS:
        ShowPluginSheet();
        break;
    case ID_SHOW_EVENT_VIEW:
    case ID_SHOW_PROBLEM_VIEW:
        m_pTree->SelectId(id == ID_SHOW_EVENT_VIEW ? CCurrentView::kEventPage
                                                   : CCurrentView::kProblemPage);
        m_pCurrentView->ShowView(id == ID_SHOW_EVENT_VIEW ? CCurrentView::kEventPage
                                                          : CCurrentView::kProblemPage);
        break;
    case ID_CLEAR_EVENT_VIEW:
        ClearEventView();
        break;
    case ID_REACTIVATE:
        ToggleReactivation();
        break;
    case ID_HOME_PAGE:
        OpenHomePage();
        break;
    case CCommandSet::ID_EXIT:
        close();
        break;
    case CCommandSet::ID_HELP:
        OpenHelp();
        break;
    case CCommandSet::ID_ABOUT:
        ShowAbout();
        break;
    case CCommandSet::ID_RELOAD_PROBLEMS:
        m_pProblemView->LoadProblems();
        break;
    default:
        break;
    }
    UpdateChecks();
}

void CMainFrame::SaveEventView(const QString& path) {
    m_pEventView->SaveAndReport(path, ToQString(m_app.Settings().ApplicationTitle));
}

void CMainFrame::ShowPluginSheet() {
    CPluginPropertySheet sheet(m_pEngine->GetPluginManager(), m_pEngine->GetPluginList(),
                               ToQString(m_app.Settings().ApplicationTitle), this);
    sheet.exec();
}

void CMainFrame::OpenAuditions() {
    CGlobalSettings& settings = m_app.Settings();
    const AuditionSheetContext context{*m_app.GetDBEngine(), m_pEngine->GetPluginList(),
                                       m_pEngine->GetPluginHost(),
                                       [&settings] { return settings.GetGlobalConfigFile(); },
                                       ToQString(settings.ApplicationTitle)};
    CAuditionListSheet::Run(*m_pEngine, context, this);
}

// The sheet shows auditions stopped at run time as inactive; afterwards the
// engine sends and plans with the profiles as they now are.
void CMainFrame::OpenNotifyProfiles() {
    m_pEngine->StoreStoppedAuditions();
    const NotifySheetContext context{
        *m_app.GetDBEngine(), ToQString(m_app.Settings().ApplicationTitle),
        CMailLibrary::DefaultPath(), &m_pEngine->GetTestNotifications()};
    CNotifyProfilesSheet sheet(context, this);
    sheet.exec();
    m_pEngine->ReloadNotificationCaches();
    m_pEngine->SynchronizeAuditionList();
}

void CMainFrame::ClearEventView() {
    m_pEventView->AskAndClear(ToQString(m_app.Settings().ApplicationTitle));
}

// The engine writes the flag to the registry file when it shuts down.
void CMainFrame::ToggleReactivation() {
    m_pEngine->SetReactivate(!m_pEngine->GetReactivate());
}

void CMainFrame::OpenHelp() {
    const QString file = ToQString(m_app.Settings().HelpFile);
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(file)))
        CMessageBox::Error(this, UiTextWith(IDS_HELP_NOT_OPENED, file));
}

void CMainFrame::OpenHomePage() {
    const QString address =
        m_desktop.HomePage(QUrl::fromLocalFile(QStringLiteral(TARN_DOC_DIR)).toString());
    if (!QDesktopServices::openUrl(QUrl(address)))
        CMessageBox::Error(this, UiTextWith(IDS_ADDRESS_NOT_OPENED, address));
}

void CMainFrame::ShowAbout() {
    CRegistryFile registry(m_app.Settings().RegistryFile);
    CAboutDialog about(ToQString(m_app.Settings().ApplicationTitle),
                       ToQString(registry.ReadString(kTarnRegistryKey, "OEMAddress")),
                       ToQString(registry.ReadString(kTarnRegistryKey, "OEMCopyright")), this);
    about.exec();
}

void CMainFrame::UpdateChecks() {
    const int shown = m_pCurrentView->CurrentViewId();
    Action(ID_SHOW_EVENT_VIEW)->setChecked(shown == CCurrentView::kEventPage);
    Action(ID_SHOW_PROBLEM_VIEW)->setChecked(shown == CCurrentView::kProblemPage);
    Action(ID_REACTIVATE)->setChecked(m_pEngine->GetReactivate());
}

void CMainFrame::RestoreLayout() {
    resize(625, 465);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    m_pSplitter->setSizes({kTreeWidth, width() - kTreeWidth});
    const QByteArray geometry = m_desktop.ReadBytes("Geometry");
    if (!geometry.isEmpty())
        restoreGeometry(geometry);
    const std::vector<int> splitter = m_desktop.ReadNumbers("Splitter");
    if (splitter.size() == 2)
        m_pSplitter->setSizes({splitter[0], splitter[1]});
    m_pEventView->List().SetColumnWidths(m_desktop.ReadNumbers("EventColumns"));
    m_pProblemView->ProblemList().SetColumnWidths(m_desktop.ReadNumbers("ProblemColumns"));
    m_pProblemView->EventList().SetColumnWidths(m_desktop.ReadNumbers("ProblemEventColumns"));
}

void CMainFrame::SaveLayout() const {
    m_desktop.WriteBytes("Geometry", saveGeometry());
    const QList<int> sizes = m_pSplitter->sizes();
    m_desktop.WriteNumbers("Splitter", std::vector<int>(sizes.begin(), sizes.end()));
    m_desktop.WriteNumbers("EventColumns", m_pEventView->List().ColumnWidths());
    m_desktop.WriteNumbers("ProblemColumns", m_pProblemView->ProblemList().ColumnWidths());
    m_desktop.WriteNumbers("ProblemEventColumns", m_pProblemView->EventList().ColumnWidths());
}

// The engine's threads end on a helper thread; the window keeps painting and
// shows the wait cursor meanwhile, then closes for good.
void CMainFrame::closeEvent(QCloseEvent* event) {
    if (m_eShutdown == ShutdownState::Done) {
        SaveLayout();
        event->accept();
        return;
    }
    event->ignore();
    if (m_eShutdown == ShutdownState::Running)
        return;
    m_eShutdown = ShutdownState::Running;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    menuBar()->setEnabled(false);
    centralWidget()->setEnabled(false);
    statusBar()->showMessage(UiText(IDS_STOPPING));
    m_pProblemView->WaitForLoads();
    CConsoleEngine* engine = m_pEngine.get();
    m_shutdown.setFuture(QtConcurrent::run([engine] { engine->ShutdownFrame(); }));
}

void CMainFrame::OnShutdownFinished() {
    m_eShutdown = ShutdownState::Done;
    QApplication::restoreOverrideCursor();
    close();
}
