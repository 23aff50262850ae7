#include "VigilApp.h"

#include "AppPaths.h"
#include "CDBRepair.h"
#include "DBVersionCheck.h"
#include "LUTool.h"
#include "LanguageSelection.h"
#include "MessageIds.h"
#include "MessageText.h"
#include "RegistryFile.h"
#include "StringTable.h"

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace {

constexpr const char* kVersionText = "2.5";

bool FileExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

} // namespace

CVigilApp::CVigilApp(IDBVersionPrompt& prompt, IDBReporter& reporter, ICatalogueLoader* catalogues)
    : m_prompt(prompt), m_reporter(reporter), m_pCatalogues(catalogues) {}

CVigilApp::~CVigilApp() {
    ExitInstance();
}

bool CVigilApp::InitInstance() {
    InitializeTitleAndPaths();
    // In the installation directory, wherever the console was started from.
    LUTool().SetFileName(m_settings.InstallationDirectory + "TRC_TARN.LOG");
    if (!LockInstallation())
        return false;
    std::setlocale(LC_ALL, "");
    SelectLanguage();
    CDBRepair::RepairAndCompactDatabase(m_settings.ConfigDatabase);
    m_pDBEngine = std::make_unique<CDBEngineTARN>(&m_reporter);
    if (!OpenDatabases())
        return false;
    if (!CheckDatabaseVersions(*m_pDBEngine, m_prompt, m_settings.ApplicationTitle))
        return false;
    if (!ReadSettings())
        return false;
    return ConnectGateway();
}

void CVigilApp::ExitInstance() {
    if (!m_pDBEngine)
        return;
    m_pDBEngine->Close();
    m_pDBEngine.reset();
}

void CVigilApp::InitializeTitleAndPaths() {
    m_settings.ProgramDirectory = GetProgramDirectory();
    m_settings.InstallationDirectory = GetInstallationDirectory();
    m_settings.RegistryFile = CRegistryFile::DefaultPath();
    std::string oemName =
        CRegistryFile(m_settings.RegistryFile).ReadString(kTarnRegistryKey, "OEMName");
    if (oemName.empty())
        oemName = "velda";
    m_settings.ApplicationTitle = oemName + " TARN! " + kVersionText;
    m_settings.ConfigDatabase = m_settings.InstallationDirectory + "TARN.MDB";
    m_settings.HistoryDatabase = m_settings.InstallationDirectory + "HISTORY.MDB";
    m_settings.GatewayProgram = m_settings.ProgramDirectory + "TARN_Gateway";
}

// Before anything touches the databases: a second console would repair them
// under the first one, audit the same agents and notify twice.
bool CVigilApp::LockInstallation() {
    const std::string& directory = m_settings.InstallationDirectory;
    switch (m_installationLock.Acquire(directory)) {
    case CInstallationLock::Result::Taken:
        return true;
    case CInstallationLock::Result::HeldByOther:
        m_prompt.ShowError(FillMessage(LoadTarnString(IDS_ALREADY_RUNNING),
                                       {directory, std::to_string(m_installationLock.Holder())}));
        return false;
    case CInstallationLock::Result::Failed:
        break;
    }
    m_prompt.ShowError(FillMessage(LoadTarnString(IDS_INSTALLATION_NOT_LOCKED),
                                   {directory + kInstallationLockName}));
    return false;
}

void CVigilApp::SelectLanguage() {
    unsigned language = GetUserPrimaryLanguage();
    if (m_pCatalogues)
        m_strCatalogue =
            LoadCatalogueOfLanguage(*m_pCatalogues, m_settings.ProgramDirectory, language);
    m_settings.HelpFile = SelectHelpFile(m_settings.ProgramDirectory, language, FileExists);
}

bool CVigilApp::OpenDatabases() {
    bool configOpened = false;
    bool historyOpened = false;
    m_pDBEngine->Open(m_settings.ConfigDatabase, m_settings.HistoryDatabase, configOpened,
                      historyOpened);
    if (!configOpened) {
        ShowFileStopMessage(IDS_DB_CONFIG_NOT_FOUND, m_settings.ConfigDatabase);
        return false;
    }
    if (!historyOpened) {
        ShowFileStopMessage(IDS_DB_HISTORY_NOT_FOUND, m_settings.HistoryDatabase);
        return false;
    }
    return true;
}

// The message of the failed start and a second line with the full path and
// what the administrator can do about it.
void CVigilApp::ShowFileStopMessage(unsigned textId, const std::string& path) {
    std::error_code error;
    const bool exists = std::filesystem::exists(std::filesystem::symlink_status(path, error));
    const std::string hint =
        FillMessage(LoadTarnString(exists ? IDS_FILE_UNREADABLE_HINT : IDS_FILE_MISSING_HINT),
                    {path, m_settings.InstallationDirectory});
    m_prompt.ShowError(LoadTarnString(textId) + "\n" + hint);
}

// A configuration row that cannot be read leaves no data directory to work
// in; the database thread has already reported why, and the start ends.
bool CVigilApp::ReadSettings() {
    DBConfiguration configuration;
    if (!m_pDBEngine->GetConfiguration(configuration))
        return false;
    m_settings.SetProtocolFile(configuration.PROTOCOLFILE);
    m_settings.SetDataDirectory(configuration.DATA_DIRECTORY);

    CRegistryFile registry(m_settings.RegistryFile);
    std::string debugLevel = registry.ReadString(kTarnRegistryKey, "DebugLevel");
    LUTool().SetLevel(static_cast<uint32_t>(std::strtoul(debugLevel.c_str(), nullptr, 10)));
    std::string reactivate = registry.ReadString(kTarnRegistryKey, "ReactivateSurv");
    m_settings.SetReactivate(reactivate.empty() || reactivate == "1");
    return true;
}

// The gateway's socket lies in the runtime directory: one that another
// account owns or can enter could hold a false gateway.
bool CVigilApp::ConnectGateway() {
    const std::string runtimeDirectory = GetRuntimeDirectory();
    const std::string unsafe = CheckRuntimeDirectory(runtimeDirectory);
    if (!unsafe.empty()) {
        m_prompt.ShowError(
            FillMessage(LoadTarnString(IDS_RUNTIME_DIRECTORY_UNSAFE), {runtimeDirectory, unsafe}));
        return false;
    }
    m_pGateway = std::make_unique<CGatewayLink>(m_settings.GatewayProgram);
    int connection = m_pGateway->FindOrStartGateway();
    if (connection < 0) {
        ShowStopMessage(IDS_GATEWAY_NOT_STARTED);
        return false;
    }
    ::close(connection);
    return true;
}

void CVigilApp::ShowStopMessage(unsigned textId) {
    m_prompt.ShowError(LoadTarnString(textId));
}
