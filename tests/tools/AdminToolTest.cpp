// tarn-admin, run as the built program from the program directory.
#include "StringTable.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct AdminRun {
    int status = -1;
    std::string out;
};

// Runs build/bin/tarn-admin with the arguments; stdout only (stderr to /dev/null
// unless wanted).
// environment: assignments put before the command, e.g. "LANG=en_US.UTF-8 ".
AdminRun RunAdmin(const std::string& args, bool withStderr = false,
                  const std::string& environment = "") {
    const std::string command = environment + TARN_BIN_DIR + "/tarn-admin " + args +
                                (withStderr ? " 2>&1" : " 2>/dev/null");
    AdminRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return run;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.out.append(buffer, n);
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

TEST(AdminTool, StringsPrintsEveryIdInOrderWithEscapes) {
    const AdminRun run = RunAdmin("strings");
    ASSERT_EQ(run.status, 0);
    ASSERT_FALSE(run.out.empty());
    EXPECT_EQ(run.out.back(), '\n');
    const auto lines = Lines(run.out);
    const auto table = GetAllTarnStrings();
    ASSERT_EQ(lines.size(), table.size());
    unsigned previous = 0;
    for (const std::string& line : lines) {
        const size_t tab = line.find('\t');
        ASSERT_NE(tab, std::string::npos) << line;
        const unsigned id = static_cast<unsigned>(std::stoul(line.substr(0, tab)));
        EXPECT_GT(id, previous);
        previous = id;
    }
    auto has = [&](const std::string& line) {
        for (const std::string& l : lines) {
            if (l == line)
                return true;
        }
        return false;
    };
    EXPECT_TRUE(has("1000\tKonfigurationsdatei nicht gefunden."));
    EXPECT_TRUE(has("1100\tTARN! Fehler aufgetreten"));
    EXPECT_TRUE(has("1128\tungelöst"));
    // A line feed in the text is written as the two characters \n.
    EXPECT_TRUE(has("1028\tDie Gateway Komponente konnte nicht gestartet werden.\\nTARN! kann "
                    "nicht ausgeführt werden."));
    // A tab as \t; a trailing blank stays.
    EXPECT_TRUE(has("1029\tDie Konvertierung ist fehlgeschlagen!\\n\\nAktuelle Version:\\t%d\\n"
                    "Benötigte Version:\\t%d"));
    EXPECT_TRUE(has("1031\tEs trat ein Fehler beim Absetzen der SNMP Benachrichtigung auf. Bitte "
                    "überprüfen Sie Ihre Einstellungen "));
    EXPECT_TRUE(has("2005\t-1;0;0;"));
    EXPECT_TRUE(has("5111\tDas Problem trat zum ersten Mal auf."));
    EXPECT_TRUE(has("6000\tTextdateien (*.txt)|*.txt|Alle Dateien (*.*)|*.*||"));
    EXPECT_EQ(lines.front(), "128\tVigil\\n\\nVigl\\n\\n\\nVigil.Document\\nVigl Document");
    EXPECT_TRUE(has("32809\tvelda Home Page im WWW öffnen\\nvelda Home Page"));
}

TEST(AdminTool, StringsWithIds) {
    AdminRun run = RunAdmin("strings 1130 1103");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "1103\tInfo\n1130\tunbekannt\n");
    run = RunAdmin("strings 1001");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    run = RunAdmin("strings abc");
    EXPECT_EQ(run.status, 2);
}

// The string table's texts follow the console's language rules: the English
// catalogue for English and for a language without a catalogue, the built-in
// German texts for German. A command's messages come out in the same language.
TEST(AdminTool, TextsFollowTheLanguageOfTheRun) {
    struct Case {
        const char* lang;
        const char* text1000;
    } cases[] = {{"en_US.UTF-8", "Configuration file not found."},
                 {"fr_FR.UTF-8", "Configuration file not found."},
                 {"de_DE.UTF-8", "Konfigurationsdatei nicht gefunden."}};
    char empty[] = "/tmp/tarn-admin-lang-XXXXXX";
    ASSERT_NE(::mkdtemp(empty), nullptr);
    for (const Case& c : cases) {
        const std::string language = std::string("LANG=") + c.lang + " ";
        AdminRun run = RunAdmin("strings 1000", false, language);
        EXPECT_EQ(run.out, std::string("1000\t") + c.text1000 + "\n") << c.lang;
        run = RunAdmin(std::string("convert ") + empty + "/", true, language);
        EXPECT_EQ(run.status, 1) << c.lang;
        EXPECT_NE(run.out.find(c.text1000), std::string::npos) << c.lang << ": " << run.out;
    }
    std::filesystem::remove_all(empty);
}

TEST(AdminTool, HelpAndUsage) {
    AdminRun run = RunAdmin("--help");
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("usage: tarn-admin <command>"), std::string::npos);
    EXPECT_NE(run.out.find("  strings"), std::string::npos);
    run = RunAdmin("strings --help");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.rfind("usage: tarn-admin strings", 0), 0u);
    run = RunAdmin("", /*withStderr=*/true);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.out.find("usage:"), std::string::npos);
    run = RunAdmin("gibtsnicht", /*withStderr=*/true);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.out.find("unknown command: gibtsnicht"), std::string::npos);
}

} // namespace
