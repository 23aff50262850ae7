// The plug-in sheet: the installed plug-ins with type, name, version and
// description, a button that installs a plug-in file ("*.spi") and one that
// removes the selected plug-in. Both go through the console's plug-in host,
// so an installed plug-in is at once in the list that new auditions use (its
// library stays loaded), and a removed one stays loaded until the console ends.
#pragma once

#include "CPluginListModel.h"
#include "CPluginSheetUI.h"

#include <QDialog>

class CPluginList;
class CPluginManager;
class CReportList;
class QPushButton;

class CPluginPropertySheet : public QDialog {
    Q_OBJECT
public:
    CPluginPropertySheet(CPluginManager& manager, const CPluginList& plugins,
                         const QString& applicationTitle, QWidget* parent = nullptr);

    // Asks for a plug-in file (file dialog 1101, filter 6002) and installs it.
    void Install();
    // Installs the file with the host's checks, messages and question.
    void InstallFile(const QString& path);
    // Removes the selected plug-in after the host's check and question.
    void RemoveSelected();

    CPluginListModel& Model() { return m_model; }
    CReportList& List() { return *m_pList; }
    QPushButton& InstallButton() { return *m_pInstall; }
    QPushButton& RemoveButton() { return *m_pRemove; }

private:
    void BuildLayout();
    void Refill(int32_t selectType);
    void UpdateButtons();

    CPluginManager& m_manager;
    const CPluginList& m_plugins;
    CPluginSheetUI m_ui;
    CPluginListModel m_model;
    CReportList* m_pList = nullptr;
    QPushButton* m_pInstall = nullptr;
    QPushButton* m_pRemove = nullptr;
};
