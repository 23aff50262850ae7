#include "CCommandCheckDialog.h"

#include "CommandCheckResult.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include <sys/eventfd.h>
#include <unistd.h>

namespace {

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

template <class Widget> Widget* Named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// The exit status as the test shows it: the code with its state, or what
// kept the command from ending by itself.
QString StatusText(const CommandOutcome& outcome, const CCommandCheckConfig& config) {
    if (outcome.Result == CommandOutcome::Kind::Exited)
        return QStringLiteral("%1 (%2)")
            .arg(outcome.ExitCode)
            .arg(outcome.ExitCode <= 3 ? QString::fromLatin1(StateName(outcome.ExitCode))
                                       : QStringLiteral("unerwartet"));
    PluginCheckResult result;
    DescribeOutcome(outcome, config, result);
    return Text(result.Description);
}

} // namespace

CCommandCheckDialog::CCommandCheckDialog(std::string iniFile, int32_t auditionId,
                                         std::string computer, QWidget* parent)
    : QDialog(parent), m_strIniFile(std::move(iniFile)), m_nAuditionID(auditionId),
      m_strComputer(std::move(computer)), m_nCancelFd(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
    setObjectName(QStringLiteral("CommandCheckDialog"));
    setWindowTitle(QString::fromUtf8("Befehlsprüfung konfigurieren"));
    BuildLayout();
    ShowValues(CCommandCheckConfig::ReadFrom(m_strIniFile, m_nAuditionID));
    connect(&m_test, &QFutureWatcherBase::finished, this, &CCommandCheckDialog::ShowOutcome);
}

CCommandCheckDialog::~CCommandCheckDialog() {
    CancelTest();
    if (m_nCancelFd >= 0)
        ::close(m_nCancelFd);
}

void CCommandCheckDialog::BuildLayout() {
    m_pCommand = Named(new QLineEdit, "command");
    m_pCommand->setMinimumWidth(360);
    m_pTimeout = Named(new QSpinBox, "timeout");
    m_pTimeout->setRange(1, CCommandCheckConfig::kMaximumTimeout);
    m_pTimeout->setSuffix(QStringLiteral(" s"));
    m_pWarning = Named(new QCheckBox(QStringLiteral("WARNING (Exit-Code 1)")), "warning");
    m_pUnknown = Named(new QCheckBox(QStringLiteral("UNKNOWN (Exit-Code 3)")), "unknown");
    auto* always = new QLabel(QString::fromUtf8(
        "immer: CRITICAL (Exit-Code 2), jeder andere Exit-Code und ein Befehl, der nicht endet"));
    always->setWordWrap(true);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Befehl:"), m_pCommand);
    form->addRow(QStringLiteral("&Zeitlimit:"), m_pTimeout);
    form->addRow(QStringLiteral("Als Fehler gelten:"), m_pWarning);
    form->addRow(QString(), m_pUnknown);
    form->addRow(QString(), always);
    auto* where = new QLabel(
        QString::fromUtf8("Gespeichert in %1, Abschnitt [%2]")
            .arg(Text(m_strIniFile), Text(CCommandCheckConfig::SectionName(m_nAuditionID))));
    where->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    Named(buttons->button(QDialogButtonBox::Ok), "ok")->setText(QStringLiteral("OK"));
    Named(buttons->button(QDialogButtonBox::Cancel), "cancel")
        ->setText(QStringLiteral("Abbrechen"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(BuildTestArea());
    layout->addWidget(where);
    layout->addWidget(buttons);
}

QWidget* CCommandCheckDialog::BuildTestArea() {
    auto* area = new QGroupBox(QStringLiteral("Test"));
    m_pTest = Named(new QPushButton(QStringLiteral("&Test")), "test");
    m_pTest->setAutoDefault(false);
    m_pOutput = Named(new QLabel, "output");
    m_pStatus = Named(new QLabel, "status");
    m_pVerdict = Named(new QLabel, "verdict");
    for (QLabel* label : {m_pOutput, m_pStatus, m_pVerdict}) {
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        label->setTextFormat(Qt::PlainText);
    }
    auto* form = new QFormLayout(area);
    form->addRow(m_pTest);
    form->addRow(QStringLiteral("Erste Ausgabezeile:"), m_pOutput);
    form->addRow(QStringLiteral("Exit-Status:"), m_pStatus);
    form->addRow(QStringLiteral("Ergebnis:"), m_pVerdict);
    connect(m_pTest, &QPushButton::clicked, this, &CCommandCheckDialog::Test);
    return area;
}

void CCommandCheckDialog::ShowValues(const CCommandCheckConfig& config) {
    m_pCommand->setText(Text(config.Command));
    m_pTimeout->setValue(config.Timeout);
    m_pWarning->setChecked(config.WarningIsError);
    m_pUnknown->setChecked(config.UnknownIsError);
}

CCommandCheckConfig CCommandCheckDialog::Values() const {
    CCommandCheckConfig config;
    config.Command = m_pCommand->text().trimmed().toStdString();
    config.Timeout = m_pTimeout->value();
    config.WarningIsError = m_pWarning->isChecked();
    config.UnknownIsError = m_pUnknown->isChecked();
    return config;
}

void CCommandCheckDialog::Test() {
    if (IsTesting())
        return;
    m_tested = Values();
    m_pOutput->clear();
    m_pVerdict->clear();
    if (m_tested.Command.empty()) {
        m_pStatus->setText(QString::fromUtf8("Kein Befehl eingegeben"));
        return;
    }
    uint64_t pending = 0; // a cancel meant for an earlier run
    (void)!::read(m_nCancelFd, &pending, sizeof pending);
    m_pStatus->setText(QString::fromUtf8("Der Befehl läuft …"));
    m_pTest->setEnabled(false);
    m_test.setFuture(
        QtConcurrent::run(RunCheckCommand, m_tested, m_nAuditionID, m_strComputer, m_nCancelFd));
}

void CCommandCheckDialog::ShowOutcome() {
    m_pTest->setEnabled(true);
    const CommandOutcome outcome = m_test.result();
    const std::string line = CommandText(outcome);
    m_pOutput->setText(line.empty() ? QStringLiteral("(keine Ausgabe)") : Text(line));
    m_pStatus->setText(StatusText(outcome, m_tested));
    m_pVerdict->setText(CheckStatus(outcome, m_tested) == PLUGIN_CHECK_ERROR
                            ? QString::fromUtf8("Fehler: die Überwachung würde ein Problem melden")
                            : QString::fromUtf8("kein Fehler"));
}

void CCommandCheckDialog::CancelTest() {
    if (!m_test.isRunning())
        return;
    const uint64_t one = 1;
    if (m_nCancelFd >= 0)
        (void)!::write(m_nCancelFd, &one, sizeof one);
    m_test.waitForFinished();
}

void CCommandCheckDialog::done(int result) {
    if (result == QDialog::Accepted && !Values().WriteTo(m_strIniFile, m_nAuditionID)) {
        QMessageBox box(QMessageBox::Critical, QString::fromUtf8("Befehlsprüfung"),
                        QString::fromUtf8("Die Einstellungen konnten nicht in %1 gespeichert "
                                          "werden. Der Befehl muss auf eine Zeile passen.")
                            .arg(Text(m_strIniFile)),
                        QMessageBox::Ok, this);
        box.exec();
        return;
    }
    CancelTest();
    QDialog::done(result);
}
