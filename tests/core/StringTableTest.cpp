// The string table: completeness of the fixed table of ids,
// exact texts across every range, the missing-id report, replacements and
// concurrent use.
#include "StringTable.h"
#include "StringTableData.h"

#include "TraceCapture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>
#include <utility>
#include <vector>

namespace {

// Every id of the fixed table, as inclusive ranges.
const std::pair<unsigned, unsigned> kExpectedIdRanges[] = {
    {128, 128},     {1000, 1000},   {1002, 1010},   {1012, 1036},   {1100, 1114},   {1116, 1133},
    {1135, 1146},   {2000, 2040},   {3000, 3004},   {3009, 3014},   {3017, 3029},   {4000, 4009},
    {5000, 5001},   {5004, 5010},   {5012, 5015},   {5100, 5111},   {5113, 5114},   {6000, 6002},
    {32779, 32780}, {32782, 32782}, {32784, 32785}, {32794, 32794}, {32797, 32798}, {32805, 32805},
    {32807, 32807}, {32809, 32809},
};

// The first id of the texts that this project adds (ids up to 65535).
constexpr unsigned kFirstProjectId = 7000;

std::set<unsigned> ExpectedIds() {
    std::set<unsigned> ids;
    for (auto [first, last] : kExpectedIdRanges) {
        for (unsigned id = first; id <= last; ++id)
            ids.insert(id);
    }
    return ids;
}

class StringTableTest : public ::testing::Test {
protected:
    void SetUp() override { ResetTarnStrings(); }
    void TearDown() override { ResetTarnStrings(); }
    TraceCapture trace;
};

TEST_F(StringTableTest, BuiltinTableIsSortedAndUnique) {
    ASSERT_GT(kTarnBuiltinStringCount, 0u);
    for (size_t i = 1; i < kTarnBuiltinStringCount; ++i)
        EXPECT_LT(kTarnBuiltinStrings[i - 1].id, kTarnBuiltinStrings[i].id) << "at index " << i;
}

TEST_F(StringTableTest, HoldsEveryIdOfTheFixedTable) {
    std::set<unsigned> actual;
    for (size_t i = 0; i < kTarnBuiltinStringCount; ++i)
        actual.insert(kTarnBuiltinStrings[i].id);
    const std::set<unsigned> expected = ExpectedIds();
    for (unsigned id : expected)
        EXPECT_TRUE(actual.count(id)) << "missing id " << id;
    // Texts added later use ids from 7000 up (docs/DEVELOPMENT.md); every id
    // below belongs to the fixed table.
    for (unsigned id : actual) {
        if (id < kFirstProjectId) {
            EXPECT_TRUE(expected.count(id)) << "id " << id << " is not in the fixed table";
        }
    }
    EXPECT_EQ(expected.size(), 197u);
}

TEST_F(StringTableTest, EveryIdLoadsWithoutReport) {
    for (unsigned id : ExpectedIds())
        EXPECT_FALSE(LoadTarnString(id).empty()) << id;
    for (size_t i = 0; i < kTarnBuiltinStringCount; ++i)
        EXPECT_EQ(LoadTarnString(kTarnBuiltinStrings[i].id), kTarnBuiltinStrings[i].text);
    EXPECT_EQ(trace.AssertCount(), 0u);
    const auto all = GetAllTarnStrings();
    EXPECT_EQ(all.size(), kTarnBuiltinStringCount);
    for (size_t i = 1; i < all.size(); ++i)
        EXPECT_LT(all[i - 1].first, all[i].first);
}

TEST_F(StringTableTest, SampleTextsOfEveryRange) {
    const std::pair<unsigned, const char*> samples[] = {
        {128, "Vigil\n\nVigl\n\n\nVigil.Document\nVigl Document"},
        {1000, "Konfigurationsdatei nicht gefunden."},
        {1002, "Historiendatei nicht gefunden."},
        {1009, "Die Historiendatei nicht kompatibel mit dieser Version."},
        {1019, "Es ist ein Problem beim Zugriff auf die Datenbanken aufgetreten.\nWenn Sie die "
               "Anwendung im Anschluß sofort beenden, gehen keine Daten verloren.\n\nBitte teilen "
               "Sie dem technischen Support folgende Informationen mit:\n\nFunktion:   "
               "\"%s\"\n\nBeschreibung:\n%s"},
        {1020, "Achtung! Der Agent führt diese Überwachung nicht mehr durch. Überwachung wird  "
               "deaktiviert."},
        {1023, "Der Agent wurde wieder gestartet.  Überwachungen auf diesem Rechner wurden wieder "
               "aktiviert."},
        {1028, "Die Gateway Komponente konnte nicht gestartet werden.\nTARN! kann nicht "
               "ausgeführt werden."},
        {1029, "Die Konvertierung ist fehlgeschlagen!\n\nAktuelle Version:\t%d\nBenötigte "
               "Version:\t%d"},
        {1031, "Es trat ein Fehler beim Absetzen der SNMP Benachrichtigung auf. Bitte überprüfen "
               "Sie Ihre Einstellungen "},
        {1036, "Die Überwachung ist nicht richtig konfiguriert.\n\nBitte machen Sie erst alle "
               "notwendigen Angaben bevor Sie fortfahren."},
        {1100, "TARN! Fehler aufgetreten"},
        {1102, "Empfängerauswahl"},
        {1116, "Überwachungsdatei <%s> nicht vorhanden. Überwachung kann nicht durchgeführt "
               "werden."},
        {1126, "Aktion <%s> konnte nicht gestartet werden. Bitte überprüfen Sie  Ihr "
               "Datenverzeichnis"},
        {1128, "ungelöst"},
        {1141, "Folgendes TARN! Plug-In wird installiert:\n\n%s\nVersion: %s\n%s\n\n"
               "Installation durchführen?"},
        {1146, "Service beenden"},
        {2000, "Main Tree Start"},
        {2001, "0;0;8;Grundeinstellungen"},
        {2005, "-1;0;0;"},
        {2011, "1;103;5;Überwachungen"},
        {2020, "1;3;12;Problemanzeige"},
        {2039, "-1;0;0;"},
        {2040, "Main Tree End"},
        {3000, "Benachrichtigungsdienste konfigurieren"},
        {3011, "Überwachungen"},
        {3014, "Überwachungseigenschaften"},
        {3029, "Computer"},
        {4000, "Möchten Sie das Profil wirklich entfernen?"},
        {4006, "Die Konfigurationsdatei gehört zu einer älteren TARN! Version\nund ist nicht "
               "kompatibel zur aktuellen Version.\nSie können sie jedoch automatisch konvertieren "
               "lassen.\nDanach wird sie allerdings nicht mehr mit der früheren Version kompatibel "
               "sein.\n\nMöchten Sie die Konfigurationsdatei jetzt konvertieren?"},
        {4009, "Möchten Sie das Plug-In wirklich entfernen?"},
        {5000, "Drucker Benachrichtigung <%s> auf Drucker <%s> durchgeführt"},
        {5006, "SNMP Benachrichtigung <%s> <Trap ID: %lu> durchgeführt."},
        {5013, "Ergebnis:"},
        {5015, "Die Nachricht wurde erfolgreich abgeschickt."},
        {5100, "TARN! Benachrichtigung"},
        {5108, "Der Rechner <%s> reagiert nicht mehr (Fehlercode: %d)."},
        {5114, "Das Problem konnte nicht behoben werden."},
        {6000, "Textdateien (*.txt)|*.txt|Alle Dateien (*.*)|*.*||"},
        {6002, "Plug-In Dateien (*.spi)|*.spi||"},
        {32779, "Inhalt der TARN! Ereignisanzeige in Datei speichern\nTARN! Ereignisanzeige "
                "speichern"},
        {32809, "velda Home Page im WWW öffnen\nvelda Home Page"},
    };
    for (const auto& [id, text] : samples)
        EXPECT_EQ(LoadTarnString(id), text) << "id " << id;
    EXPECT_EQ(trace.AssertCount(), 0u);
}

TEST_F(StringTableTest, TreeEntriesHaveFourFields) {
    for (unsigned id = 2001; id <= 2039; ++id) {
        const std::string entry = LoadTarnString(id);
        size_t separators = 0;
        for (char c : entry)
            separators += c == ';';
        EXPECT_EQ(separators, 3u) << id << ": " << entry;
    }
}

TEST_F(StringTableTest, MissingIdIsReportedAndEmpty) {
    for (unsigned id : {0u, 1001u, 1115u, 5112u, 9999u, 65535u})
        EXPECT_EQ(LoadTarnString(id), "") << id;
    ASSERT_EQ(trace.AssertCount(), 6u);
    const auto descriptions = trace.AssertDescriptions();
    EXPECT_EQ(descriptions.at(1), "String nicht gefunden (ID 1001)");
    EXPECT_NE(trace.Text().find("Bedingung: FALSE \n"), std::string::npos);
}

TEST_F(StringTableTest, ReplacementsAndReset) {
    SetTarnString(1100, "TARN! Error");
    SetTarnString(65000, "extra");
    EXPECT_EQ(LoadTarnString(1100), "TARN! Error");
    EXPECT_EQ(LoadTarnString(65000), "extra");
    EXPECT_EQ(LoadTarnString(1101), "Dateiauswahl"); // untouched ids keep their text
    const auto all = GetAllTarnStrings();
    EXPECT_EQ(all.size(), kTarnBuiltinStringCount + 1);
    EXPECT_EQ(all.back().first, 65000u);
    ResetTarnStrings();
    EXPECT_EQ(LoadTarnString(1100), "TARN! Fehler aufgetreten");
    EXPECT_EQ(GetAllTarnStrings().size(), kTarnBuiltinStringCount);
    EXPECT_EQ(trace.AssertCount(), 0u);
}

// Readers on several threads while a catalogue replaces texts: every read
// sees one whole text, the old or the new.
TEST_F(StringTableTest, ConcurrentReadersAndWriter) {
    const std::string german = "TARN! Fehler aufgetreten";
    const std::string english = "TARN! Error occurred";
    std::atomic<bool> stop{false};
    std::atomic<long> bad{0}, reads{0};
    std::vector<std::thread> readers;
    for (int t = 0; t < 4; ++t) {
        readers.emplace_back([&] {
            while (!stop.load()) {
                const std::string text = LoadTarnString(1100);
                if (text != german && text != english)
                    ++bad;
                if (LoadTarnString(1101) != "Dateiauswahl")
                    ++bad;
                ++reads;
            }
        });
    }
    for (int i = 0; i < 500; ++i) {
        SetTarnString(1100, i % 2 ? english : german);
        if (i % 100 == 0)
            (void)GetAllTarnStrings();
    }
    while (reads.load() < 1000)
        std::this_thread::yield();
    stop = true;
    for (std::thread& reader : readers)
        reader.join();
    EXPECT_EQ(bad.load(), 0);
}

} // namespace
