// The console's application object: brings the console up in a fixed order
// (trace log, title, paths, language, repair of the configuration file, the
// database thread, the schema versions, the settings, the gateway) and takes
// the database thread down at exit. It has no window: the desktop interface
// and the headless console both run it.
#pragma once

#include "CDBEngineTARN.h"
#include "GatewayLink.h"
#include "GlobalSettings.h"
#include "IDBReporter.h"
#include "IDBVersionPrompt.h"
#include "InstallationLock.h"
#include "LanguageSelection.h"

#include <memory>
#include <string>

class CVigilApp {
public:
    // prompt shows the start-up messages and asks the conversion question on
    // this thread; reporter receives the database thread's messages.
    CVigilApp(IDBVersionPrompt& prompt, IDBReporter& reporter, ICatalogueLoader* catalogues);
    ~CVigilApp();
    CVigilApp(const CVigilApp&) = delete;
    CVigilApp& operator=(const CVigilApp&) = delete;

    // The start-up routine; false ends the program (its message was shown).
    bool InitInstance();
    // Closes the databases and ends the database thread; may be repeated.
    void ExitInstance();

    CDBEngineTARN* GetDBEngine() const { return m_pDBEngine.get(); }
    CGlobalSettings& Settings() { return m_settings; }
    CGatewayLink* GetGatewayLink() const { return m_pGateway.get(); }
    // The catalogue that replaced the built-in texts, empty for none.
    const std::string& LoadedCatalogue() const { return m_strCatalogue; }

private:
    void InitializeTitleAndPaths();
    bool LockInstallation();
    void SelectLanguage();
    bool OpenDatabases();
    bool ReadSettings();
    bool ConnectGateway();
    void ShowFileStopMessage(unsigned textId, const std::string& path);
    void ShowStopMessage(unsigned textId);

    IDBVersionPrompt& m_prompt;
    IDBReporter& m_reporter;
    ICatalogueLoader* m_pCatalogues;
    CGlobalSettings m_settings;
    CInstallationLock m_installationLock; // held from the start to the end of the program
    std::string m_strCatalogue;
    std::unique_ptr<CDBEngineTARN> m_pDBEngine;
    std::unique_ptr<CGatewayLink> m_pGateway;
};
