// The printer page's "&Durchsuchen..." on a computer whose print system has
// no queue at all: a private cupsd without queues answers, and the page says
// that no printer is set up instead of showing an empty list. A process of
// its own, since the CUPS client keeps the scheduler it first talked to.
#include "BoxAnswerer.h"
#include "CNotificationChannelPage.h"
#include "CNotificationRules.h"
#include "CNotificationSheet.h"
#include "CPrinterSelectionDialog.h"
#include "CupsTestServer.h"
#include "FreshDatabase.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

#include <cstdlib>

class NoPrinterTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void AComputerWithoutQueuesIsToldSo();

private:
    CCupsTestServer m_cups;
    std::string m_cupsError;
};

void NoPrinterTest::initTestCase() {
    if (m_cups.Start({}, m_cupsError))
        ::setenv("CUPS_SERVER", m_cups.Socket().c_str(), 1);
}

void NoPrinterTest::AComputerWithoutQueuesIsToldSo() {
    if (!m_cupsError.empty())
        QSKIP(("no private CUPS scheduler: " + m_cupsError).c_str());
    CFreshDatabase data;
    QVERIFY(data.IsOpen());
    DBNotification notification = CNotificationRules::NewNotification();
    notification.NAME = "Drucken";
    notification.Printer.PRINTERNAME = "Leitstand";
    CNotificationSheet sheet({data.Engine(), QStringLiteral("velda TARN! 2.5"), std::string()},
                             notification);
    sheet.show();
    CNotificationChannelPage& page = sheet.ChannelPage(CHANNEL_PRINTER);
    sheet.Tabs().setCurrentWidget(&page);

    bool listShown = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        listShown = listShown || qobject_cast<CPrinterSelectionDialog*>(
                                     QApplication::activeModalWidget()) != nullptr;
    });
    watch.start(10);
    CBoxAnswerer answer(QMessageBox::Ok);
    QTest::mouseClick(page.BrowseButton(), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(answer.Answered(), 30000);
    QCOMPARE(answer.Text(), QStringLiteral("Auf diesem Computer ist kein Drucker eingerichtet."));
    QVERIFY(!listShown);
    QCOMPARE(qobject_cast<QLineEdit*>(page.Field("PRINTER.PRINTERNAME"))->text(),
             QStringLiteral("Leitstand"));
}

QTEST_MAIN(NoPrinterTest)
#include "NoPrinterTest.moc"
