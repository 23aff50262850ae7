// The sheet "Überwachungseigenschaften" for one stored audition: the pages
// "Allgemein", the page of its type and "Aktionen". OK checks every page by
// the configuration rules (a refused value keeps the sheet open with the
// field selected), asks a plug-in whether the audition is complete, and
// stores the audition and its notify profiles; Cancel stores nothing.
#pragma once

#include "AuditionSheetContext.h"
#include "CAuditionPage.h"

#include <QDialog>

#include <vector>

class QTabWidget;
class CAuditionCfgPPActions;
class CAuditionCfgPPPlugin;

class CAuditionPropertySheet : public QDialog {
    Q_OBJECT
public:
    CAuditionPropertySheet(const AuditionSheetContext& context, int32_t auditionId,
                           QWidget* parent = nullptr);

    // False when the audition could not be read (the sheet is then not shown).
    bool IsLoaded() const { return m_bLoaded; }
    QTabWidget& Tabs() { return *m_pTabs; }
    const std::vector<CAuditionPage*>& Pages() const { return m_pages; }
    CAuditionCfgPPActions& ActionsPage() { return *m_pActions; }

    void accept() override;

private:
    void AddPages(AuditionType type);
    CAuditionPage* MakeTypePage(AuditionType type);
    void ShowPage(CAuditionPage* page);
    // Leaving a page checks it; a refused value brings it back.
    void OnPageChanged(int index);
    bool Collect(DBAudition& record);

    const AuditionSheetContext& m_context;
    DBAudition m_record;
    bool m_bLoaded = false;
    QTabWidget* m_pTabs = nullptr;
    std::vector<CAuditionPage*> m_pages;
    CAuditionCfgPPActions* m_pActions = nullptr;
    CAuditionCfgPPPlugin* m_pPlugin = nullptr;
    int m_nShownPage = 0;
    bool m_bReturning = false;
};
