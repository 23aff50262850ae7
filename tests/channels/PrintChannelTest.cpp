// The printer and fax channels through Qt's print support and a private CUPS
// scheduler whose capture queues keep what they receive.
#include "PrintChannelFixture.h"

#include "NotificationText.h"

#include <QGuiApplication>

#include <algorithm>
#include <cstdlib>
#include <thread>

namespace {

// The page's lines as pdftotext reads them, blank lines dropped; a form feed
// ends each page.
std::vector<std::string> TextLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
        std::string line = text.substr(start, end - start);
        line.erase(0, line.find_first_not_of(' '));
        line.erase(line.find_last_not_of(' ') + 1);
        if (!line.empty())
            lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

TEST_F(PrintChannel, ThePrinterJobCarriesTheNotificationOnOnePage) {
    const size_t before = JobCount(kPrinterQueue);
    const NotificationJob job = MakeJob();
    EXPECT_EQ(Channels().SendPrinterNotification(job, false), 1);
    const CapturedJob printed = NextJob(kPrinterQueue, before);
    EXPECT_EQ(printed.title, "TARN!");
    ASSERT_EQ(printed.data.rfind("%PDF", 0), 0u) << "Qt hands CUPS a PDF";
    const std::string text = PdfText(printed.data);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\f'), 1) << "one page";
    const auto lines = TextLines(text);
    ASSERT_GE(lines.size(), 4u) << text;
    EXPECT_EQ(lines[0], "Meldung fuer den Leitstand");
    EXPECT_EQ(lines[1], "TARN! Benachrichtigung (Spooler-Dienst)");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Beschreibung: Dienst angehalten"), lines.end())
        << text;
    EXPECT_EQ(Events().at(0).EVENT_DESCRIPTION,
              ExpectedEventText(
                  "Drucker Benachrichtigung <Bereitschaft> auf Drucker <Leitstand> durchgeführt",
                  "Das Problem trat zum ersten Mal auf.",
                  "Benachrichtigungdruck an Druckerspooler übertragen"));
}

TEST_F(PrintChannel, ALongTextStaysOnOnePage) {
    const size_t before = JobCount(kPrinterQueue);
    NotificationJob job = MakeJob();
    job.Notification.Printer.PRINTERTEXT.clear();
    for (int i = 1; i <= 300; ++i)
        job.Notification.Printer.PRINTERTEXT += "Zeile " + std::to_string(i) + "\n";
    EXPECT_EQ(Channels().SendPrinterNotification(job, false), 1);
    const std::string text = PdfText(NextJob(kPrinterQueue, before).data);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\f'), 1) << "one page whatever the length";
    EXPECT_NE(text.find("Zeile 1\n"), std::string::npos);
}

TEST_F(PrintChannel, TheFaxJobIsNamedAfterTheNumber) {
    const size_t before = JobCount("LG-Fax");
    EXPECT_EQ(Channels().SendFaxNotification(MakeJob(), false), 1);
    const CapturedJob fax = NextJob("LG-Fax", before);
    EXPECT_EQ(fax.title, "fax.0891234567 - TARN!");
    const auto lines = TextLines(PdfText(fax.data));
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "An die Leitstelle");
}

TEST_F(PrintChannel, AnUnknownPrinterGives1015) {
    NotificationJob job = MakeJob();
    job.Notification.Printer.PRINTERNAME = "Gibt-es-nicht";
    EXPECT_EQ(Channels().SendPrinterNotification(job, false), 2);
    EXPECT_EQ(
        Events().at(0).EVENT_DESCRIPTION,
        ExpectedEventText(
            "Drucker Benachrichtigung <Bereitschaft> auf Drucker <Gibt-es-nicht> durchgeführt",
            "Das Problem trat zum ersten Mal auf.",
            "Es trat ein Fehler beim Drucken auf. Bitte überprüfen Sie Ihre Einstellungen"));
}

// The notification thread prints, not the thread that runs the application.
TEST_F(PrintChannel, ATestPrintFromAWorkerThread) {
    const size_t before = JobCount(kPrinterQueue);
    int32_t result = 0;
    std::thread worker([&] { result = Channels().SendPrinterNotification(MakeJob(), true); });
    worker.join();
    EXPECT_EQ(result, 1);
    EXPECT_EQ(TextLines(PdfText(NextJob(kPrinterQueue, before).data)),
              std::vector<std::string>{"TARN! Benachrichtigungstest"});
    EXPECT_TRUE(Events().empty());
}

} // namespace

// Qt draws text only with a QGuiApplication; the offscreen platform needs no display.
int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
