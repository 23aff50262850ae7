// The channels' tables: library answers to channel results and texts, the SMS
// centre by network, the trap number by stage, and the printed lines.
#include "ChannelResults.h"
#include "StringTable.h"
#include "TARNTool.h"
#include "tarn/LUSMSLib2.h"

#include <gtest/gtest.h>

namespace {

struct MappingCase {
    int32_t answer;
    int32_t result;
    unsigned textId;
};

void ExpectMapping(ChannelOutcome (*map)(int32_t), const std::vector<MappingCase>& cases) {
    for (const MappingCase& c : cases) {
        const ChannelOutcome outcome = map(c.answer);
        EXPECT_EQ(outcome.result, c.result) << "answer " << c.answer;
        EXPECT_EQ(outcome.textId, c.textId) << "answer " << c.answer;
    }
}

TEST(ChannelResults, SmsLibraryResults) {
    ExpectMapping(MapSmsResult, {{0, 1, 5008},
                                 {2, 2, 1010},
                                 {3, 1000, 1007},
                                 {4, 1000, 1007},
                                 {9, 1000, 1007},
                                 {11, 1000, 1006},
                                 {1, 1000, 1008},
                                 {6, 1000, 1008},
                                 {7, 1000, 1008},
                                 {8, 1000, 1008},
                                 {10, 1000, 1008},
                                 {12, 1000, 1008},
                                 {-1, 1000, 1008}});
}

TEST(ChannelResults, MailLibraryResults) {
    ExpectMapping(MapMailResult, {{0, 1, 5014},
                                  {1, 2, 1027},
                                  {2, 2, 1017},
                                  {3, 2, 1005},
                                  {4, 2, 1005},
                                  {10, 2, 1005},
                                  {-1, 2, 1005}});
}

TEST(ChannelResults, GatewayMailAnswers) {
    ExpectMapping(MapSmtpAnswer, {{0, 1, 5015},
                                  {2, 2, 1024},
                                  {3, 2, 1026},
                                  {1, 2, 1025},
                                  {-1, 2, 1025},
                                  {-2, 2, 1025},
                                  {4, 2, 1025}});
}

TEST(ChannelResults, TrapPrintAndFaxResults) {
    EXPECT_EQ(MapTrapResult(1), (ChannelOutcome{1, 5010}));
    EXPECT_EQ(MapTrapResult(-3), (ChannelOutcome{1, 5010})) << "any non-zero value is sent";
    EXPECT_EQ(MapTrapResult(0), (ChannelOutcome{2, 1031}));
    EXPECT_EQ(MapPrintResult(true), (ChannelOutcome{1, 5001}));
    EXPECT_EQ(MapPrintResult(false), (ChannelOutcome{2, 1015}));
    EXPECT_EQ(MapFaxResult(true), (ChannelOutcome{1, 5012}));
    EXPECT_EQ(MapFaxResult(false), (ChannelOutcome{2, 1016}));
}

TEST(ChannelResults, ResultTextsAreTheConsoleMessages) {
    EXPECT_EQ(
        LoadTarnString(1031),
        "Es trat ein Fehler beim Absetzen der SNMP Benachrichtigung auf. Bitte überprüfen Sie "
        "Ihre Einstellungen ");
    EXPECT_EQ(LoadTarnString(1027),
              "Die Benachrichtigungskomponente konnte nicht gefunden werden.");
    EXPECT_EQ(LoadTarnString(5109), "TARN! Benachrichtigungstest");
}

TEST(ChannelResults, SmsCentreByNetwork) {
    DBNotifySrvConfig settings;
    settings.SMS_GATEWAY_D2 = "d2";
    settings.SMS_GATEWAY_QUIX = "quix";
    settings.SMS_GATEWAY_D1 = "d1";
    settings.SMS_GATEWAY_EPLUS = "eplus";
    settings.SMS_GATEWAY_NATEL_D = "natel";
    EXPECT_EQ(SmsCentreNumber(settings, 1), "d2");
    EXPECT_EQ(SmsCentreNumber(settings, 2), "quix");
    EXPECT_EQ(SmsCentreNumber(settings, 3), "d1");
    EXPECT_EQ(SmsCentreNumber(settings, 4), "eplus");
    EXPECT_EQ(SmsCentreNumber(settings, 5), "natel");
    EXPECT_FALSE(SmsCentreNumber(settings, 0));
    EXPECT_FALSE(SmsCentreNumber(settings, 6));
    EXPECT_FALSE(SmsCentreNumber(settings, -1));
}

TEST(ChannelResults, TrapNumberByStage) {
    DBNotificationSNMP snmp;
    snmp.SPECIFIC_ID = 21;
    snmp.SPECIFIC_ID_UNRESOLVED = 22;
    snmp.SPECIFIC_ID_RESOLVED = 23;
    EXPECT_EQ(SnmpTrapNumber(snmp, NOTIFY_STAGE_OCCURRED), 21);
    EXPECT_EQ(SnmpTrapNumber(snmp, NOTIFY_STAGE_UNRESOLVED), 22);
    EXPECT_EQ(SnmpTrapNumber(snmp, NOTIFY_STAGE_RESOLVED), 23);
    EXPECT_EQ(SnmpTrapNumber(snmp, 0), 21);
    EXPECT_EQ(SnmpTrapNumber(snmp, 9), 21);
}

TEST(ChannelResults, PrintedLinesEndAtTheLastLineFeed) {
    using Lines = std::vector<std::string>;
    EXPECT_EQ(PrintedLines("eine Zeile\n"), Lines{"eine Zeile"});
    EXPECT_EQ(PrintedLines("a\n\nb\n"), (Lines{"a", "", "b"}));
    EXPECT_EQ(PrintedLines("a\nnicht gedruckt"), Lines{"a"});
    EXPECT_EQ(PrintedLines("ohne Zeilenende"), Lines{});
    EXPECT_EQ(PrintedLines("\n"), Lines{""});
    EXPECT_EQ(PrintedLines(""), Lines{});
}

} // namespace
