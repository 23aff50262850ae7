// The configuration dialog of one command-check audition: the command line,
// its time-out, which exit codes count as an error, and a test run of the
// command as entered. The test runs on a pool thread, so the window keeps
// working; closing the dialog cancels a test that is still running.
#pragma once

#include "CCommandCheckConfig.h"
#include "CCommandRunner.h"

#include <QDialog>
#include <QFutureWatcher>

#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

class CCommandCheckDialog : public QDialog {
    Q_OBJECT
public:
    // Shows the audition's section of iniFile; computer goes to a test run.
    CCommandCheckDialog(std::string iniFile, int32_t auditionId, std::string computer,
                        QWidget* parent = nullptr);
    ~CCommandCheckDialog() override;

    // The settings as entered.
    CCommandCheckConfig Values() const;
    // Runs the command as entered once; the result appears when it has ended.
    void Test();
    bool IsTesting() const { return m_test.isRunning(); }

    // OK stores the settings first and stays open when that fails; any way
    // of closing cancels a running test.
    void done(int result) override;

private:
    void BuildLayout();
    QWidget* BuildTestArea();
    void ShowValues(const CCommandCheckConfig& config);
    void ShowOutcome();
    void CancelTest();

    const std::string m_strIniFile;
    const int32_t m_nAuditionID;
    const std::string m_strComputer;
    int m_nCancelFd = -1;         // written to cancel a running test
    CCommandCheckConfig m_tested; // the settings of the running or last test
    QFutureWatcher<CommandOutcome> m_test;

    QLineEdit* m_pCommand = nullptr;
    QSpinBox* m_pTimeout = nullptr;
    QCheckBox* m_pWarning = nullptr;
    QCheckBox* m_pUnknown = nullptr;
    QPushButton* m_pTest = nullptr;
    QLabel* m_pOutput = nullptr;
    QLabel* m_pStatus = nullptr;
    QLabel* m_pVerdict = nullptr;
};
