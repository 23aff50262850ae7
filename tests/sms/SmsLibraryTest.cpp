// The SMS library through its exports, against a simulated modem and centre
// on a pseudo-terminal.
#include "SmsTestSupport.h"

#include "tarn/LUSMSLib2.h"

#include <cstring>

using namespace smstest;

namespace {

// The encoded text of an operation 51 frame (between "3//" and the thirteen "/").
std::string SubmitText(const std::string& frame) {
    const size_t start = frame.find("/3//") + 4;
    return frame.substr(start, frame.find('/', start) - start);
}

// The text line of a TAP block.
std::string BlockText(const std::string& block) {
    const size_t start = block.find('\r') + 1;
    return block.substr(start, block.find('\r', start) - start);
}

} // namespace

// ---- address translation ----------------------------------------------------

struct TranslateCase {
    const char* typed;
    int expectedResult;
    int32_t expectedNetwork;
    const char* expectedBuffer;
};

void PrintTo(const TranslateCase& c, std::ostream* os) {
    *os << NameOf(c.typed) << "_network" << c.expectedNetwork;
}

class TranslateAddress : public ::testing::TestWithParam<TranslateCase> {};

TEST_P(TranslateAddress, CleansClassifiesAndNeverGrows) {
    const TranslateCase& c = GetParam();
    char buffer[64];
    std::memset(buffer, 'X', sizeof buffer);
    std::strcpy(buffer, c.typed);
    const size_t before = std::strlen(buffer);
    int32_t network = 77;
    EXPECT_EQ(LUSMSTranslateAddress(buffer, &network) != 0, c.expectedResult != 0);
    EXPECT_EQ(network, c.expectedNetwork);
    EXPECT_STREQ(buffer, c.expectedBuffer);
    EXPECT_LE(std::strlen(buffer), before);
    for (size_t i = before + 1; i < sizeof buffer; ++i) {
        ASSERT_EQ(buffer[i], 'X') << "written beyond the number at " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TranslateAddress,
    ::testing::Values(TranslateCase{"0172-123/4567", 1, SMS_NETWORK_D2, "01721234567"},
                      TranslateCase{"01653-1234567", 1, SMS_NETWORK_QUIX, "1234567"},
                      TranslateCase{"+49 171 1234567", 0, SMS_NETWORK_NONE, "+49 171 1234567"},
                      TranslateCase{"0049 0171 1234567", 1, SMS_NETWORK_D1, "0049 0171 1234567"},
                      TranslateCase{"0177/7654321", 1, SMS_NETWORK_EPLUS, "01777654321"},
                      TranslateCase{"079 123-45-67", 1, SMS_NETWORK_NATEL_D, "079 1234567"},
                      // "0171" is tested before "0172" and "0177", anywhere in the number.
                      TranslateCase{"01770171", 1, SMS_NETWORK_D1, "01770171"},
                      TranslateCase{"01720177", 1, SMS_NETWORK_D2, "01720177"},
                      // "0172" anywhere beats "0165" at the start.
                      TranslateCase{"01650172", 1, SMS_NETWORK_D2, "01650172"},
                      // "0165" and "079" count only at the start.
                      TranslateCase{"00165123", 0, SMS_NETWORK_NONE, "00165123"},
                      TranslateCase{"0041 79 1234567", 0, SMS_NETWORK_NONE, "0041 79 1234567"},
                      // A Quix number too short to lose five characters is left empty.
                      TranslateCase{"0165", 1, SMS_NETWORK_QUIX, ""},
                      TranslateCase{"--//", 0, SMS_NETWORK_NONE, "--//"}));

TEST(TranslateAddressEdge, EmptyNumberLeavesEverythingUntouched) {
    char buffer[4] = "";
    int32_t network = 77;
    EXPECT_EQ(LUSMSTranslateAddress(buffer, &network), 0);
    EXPECT_EQ(network, 77);
    EXPECT_STREQ(buffer, "");
}

TEST(TranslateAddressEdge, NullArgumentsAreRefused) {
    char buffer[] = "01721234567";
    int32_t network = 77;
    EXPECT_EQ(LUSMSTranslateAddress(nullptr, &network), 0);
    EXPECT_EQ(LUSMSTranslateAddress(buffer, nullptr), 0);
    EXPECT_EQ(network, 77);
    EXPECT_STREQ(buffer, "01721234567");
}

// ---- networks and protocols, byte for byte ----------------------------------

TEST_F(UcpCallTest, SubmitFrameForTestIsExact) {
    EXPECT_EQ(LUSMSSendMessage(SMS_NETWORK_D2, "0", "Test", "", "01721234567", "01722278010"),
              SMS_RESULT_OK);
    EXPECT_EQ(m_modem->DialledNumbers(), std::vector<std::string>{"001722278010"});
    EXPECT_EQ(UnitsOf("frame"),
              std::vector<std::string>{STX +
                                       "01/00070/O/51/01721234567/0/////////////////3//54657374/"
                                       "////////////1A" +
                                       ETX});
    ExpectHungUp(true);
}

TEST_F(UcpCallTest, NatelDSubmitsWithTheSender) {
    EXPECT_EQ(LUSMSSendMessage(SMS_NETWORK_NATEL_D, "", "Hi", "TARN", "0791234567", "0794998990"),
              SMS_RESULT_OK);
    EXPECT_EQ(UnitsOf("frame"),
              std::vector<std::string>{STX +
                                       "01/00068/O/51/0791234567/TARN/////////////////3//4869/////"
                                       "////////2E" +
                                       ETX});
    ExpectHungUp(true);
}

TEST_F(UcpCallTest, QuixSendsCallInputToTheShortenedNumber) {
    char number[] = "01653-1234567";
    int32_t network = 0;
    ASSERT_NE(LUSMSTranslateAddress(number, &network), 0);
    EXPECT_EQ(LUSMSSendMessage(network, "", "Hallo", "ignored", number, "016593"), SMS_RESULT_OK);
    EXPECT_EQ(UnitsOf("frame"),
              std::vector<std::string>{STX + "01/00039/O/01/1234567///3/48616C6C6F/94" + ETX});
    ExpectHungUp(true);
}

TEST_F(TapCallTest, D1GoesThroughPromptLogOnBlockAndEnd) {
    EXPECT_EQ(LUSMSSendMessage(SMS_NETWORK_D1, "", "Test", "ignored", "01711234567", "01712521001"),
              SMS_RESULT_OK);
    EXPECT_EQ(UnitKinds(), (std::vector<std::string>{"prompt", "logon", "block", "end"}));
    EXPECT_EQ(UnitsOf("logon"), std::vector<std::string>{ESC + "PG1" + CR});
    EXPECT_EQ(UnitsOf("block"),
              std::vector<std::string>{STX + "01711234567" + CR + "Test" + CR + ETX + "3?4" + CR});
    EXPECT_EQ(UnitsOf("end"), std::vector<std::string>{EOT + CR});
    ExpectHungUp(true);
}

TEST_F(TapCallTest, EPlusBlockIsExact) {
    EXPECT_EQ(LUSMSSendMessage(SMS_NETWORK_EPLUS, "", "Test", "", "01771234567", "01771167"),
              SMS_RESULT_OK);
    EXPECT_EQ(UnitsOf("block"),
              std::vector<std::string>{STX + "01771234567" + CR + "Test" + CR + ETX + "3?:" + CR});
    ExpectHungUp(true);
}

// ---- character tables through the whole path --------------------------------

struct TextCase {
    int32_t network;
    const char* utf8;
    std::string expected; // as it appears in the frame (hex) or block (bytes)
};

void PrintTo(const TextCase& c, std::ostream* os) {
    *os << c.network << "_" << Hex(c.utf8);
}

class UcpText : public UcpCallTest, public ::testing::WithParamInterface<TextCase> {};

TEST_P(UcpText, IsEncodedByTheOperationsTable) {
    const TextCase& c = GetParam();
    const char* recipient = c.network == SMS_NETWORK_QUIX ? "1234567" : "01721234567";
    ASSERT_EQ(LUSMSSendMessage(c.network, "", c.utf8, "", recipient, "1"), SMS_RESULT_OK);
    const std::vector<std::string> frames = UnitsOf("frame");
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_TRUE(CCentreSimulator::IsValidUcpFrame(frames[0]));
    const std::string& frame = frames[0];
    const std::string text =
        c.network == SMS_NETWORK_QUIX
            ? frame.substr(frame.find("///3/") + 5, frame.rfind('/') - frame.find("///3/") - 5)
            : SubmitText(frame);
    EXPECT_EQ(text, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, UcpText,
    ::testing::Values(TextCase{SMS_NETWORK_D2, "ä", "7B"}, TextCase{SMS_NETWORK_QUIX, "ä", "7B"},
                      TextCase{SMS_NETWORK_D2, "a\nb", "610A62"},
                      TextCase{SMS_NETWORK_D2, ":\\_$^§ÄÖÜßäöü", "3A2F2D245E405B5C5D7E7B7C7D"},
                      TextCase{SMS_NETWORK_QUIX, ":\\_$^§ÄÖÜßäöü", "3A2F2D205D5F5B5C5E1E7B7C7E"},
                      // Windows-1252 letters outside the table go as their own code; a
                      // character without an 8-bit form goes as "?".
                      TextCase{SMS_NETWORK_D2, "é€Ω😀", "E9803F3F"}));

class TapText : public TapCallTest, public ::testing::WithParamInterface<TextCase> {};

TEST_P(TapText, IsConvertedByTheNetworksTable) {
    const TextCase& c = GetParam();
    ASSERT_EQ(LUSMSSendMessage(c.network, "", c.utf8, "", "01711234567", "1"), SMS_RESULT_OK);
    const std::vector<std::string> blocks = UnitsOf("block");
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_TRUE(CCentreSimulator::IsValidTapBlock(blocks[0]));
    EXPECT_EQ(BlockText(blocks[0]), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, TapText,
    ::testing::Values(TextCase{SMS_NETWORK_D1, "ä", "{"}, TextCase{SMS_NETWORK_EPLUS, "ä", "{"},
                      TextCase{SMS_NETWORK_D1, "\\_ÄÖÜßäöü", std::string("/-[\\^\x1e{|~")},
                      TextCase{SMS_NETWORK_EPLUS, "\\_ÄÖÜßäöü", "/-[\\]~{|}"},
                      TextCase{SMS_NETWORK_D1, "é😀", "\xE9?"}));

// ---- message limit ----------------------------------------------------------

struct CutCase {
    int32_t network;
    size_t length;
    const char* sender;
    size_t expectedLength; // characters sent
};

void PrintTo(const CutCase& c, std::ostream* os) {
    *os << c.network << "_" << c.length << "_sender" << std::strlen(c.sender);
}

class MessageCut : public UcpCallTest, public ::testing::WithParamInterface<CutCase> {};

TEST_P(MessageCut, KeepsTheLimitLessTheSenderWithDots) {
    const CutCase& c = GetParam();
    std::string message;
    for (size_t i = 0; i < c.length; ++i) {
        message += static_cast<char>('a' + i % 26);
    }
    const char* recipient = c.network == SMS_NETWORK_QUIX ? "1234567" : "01721234567";
    ASSERT_EQ(LUSMSSendMessage(c.network, "", message.c_str(), c.sender, recipient, "1"),
              SMS_RESULT_OK);
    const std::vector<std::string> frames = UnitsOf("frame");
    ASSERT_EQ(frames.size(), 1u);
    std::string expected = message.substr(0, c.expectedLength);
    if (c.expectedLength < c.length) {
        expected.replace(c.expectedLength - 3, 3, "...");
    }
    EXPECT_NE(frames[0].find("/" + Hex(expected) + "/"), std::string::npos)
        << "expected " << expected.size() << " characters in " << frames[0];
}

INSTANTIATE_TEST_SUITE_P(Limits, MessageCut,
                         ::testing::Values(CutCase{SMS_NETWORK_D2, 170, "", 160},
                                           CutCase{SMS_NETWORK_D2, 170, "0123456789", 150},
                                           CutCase{SMS_NETWORK_D2, 160, "", 160},
                                           CutCase{SMS_NETWORK_D2, 151, "0123456789", 150},
                                           CutCase{SMS_NETWORK_NATEL_D, 161, "", 160},
                                           CutCase{SMS_NETWORK_QUIX, 79, "12345", 75},
                                           CutCase{SMS_NETWORK_QUIX, 75, "12345", 75}));

TEST_F(UcpCallTest, CutCountsCharactersNotUtf8Bytes) {
    const std::string message(170 / 2, 'x');
    std::string umlauts;
    for (int i = 0; i < 85; ++i) {
        umlauts += "ä";
    }
    ASSERT_EQ(LUSMSSendMessage(SMS_NETWORK_D2, "", (message + umlauts).c_str(), "", "0172", "1"),
              SMS_RESULT_OK);
    const std::vector<std::string> frames = UnitsOf("frame");
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(SubmitText(frames[0]).size(), 160u * 2);
    EXPECT_EQ(SubmitText(frames[0]).substr(2 * 157), "2E2E2E");
}

TEST_F(TapCallTest, TapMessageIsCutLikewise) {
    const std::string message(170, 'm');
    ASSERT_EQ(LUSMSSendMessage(SMS_NETWORK_D1, "", message.c_str(), "sender", "0171", "1"),
              SMS_RESULT_OK);
    const std::vector<std::string> blocks = UnitsOf("block");
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(BlockText(blocks[0]), std::string(151, 'm') + "...");
}

// ---- dial results -------------------------------------------------------------

struct DialCase {
    SimDialOutcome outcome;
    int32_t expected;
};

void PrintTo(const DialCase& c, std::ostream* os) {
    static const char* const kNames[] = {"Connect",    "Busy",  "NoCarrier", "NoAnswer",
                                         "NoDialtone", "Error", "Silence"};
    *os << kNames[static_cast<int>(c.outcome)];
}

class DialResult : public UcpCallTest, public ::testing::WithParamInterface<DialCase> {};

TEST_P(DialResult, MapsToTheLibraryResultAndReleasesTheLine) {
    SetTimeScale(0.02); // the 45-second wait for a silent modem
    m_modem->SetDialOutcome(GetParam().outcome);
    EXPECT_EQ(LUSMSSendMessage(SMS_NETWORK_D2, "", "Test", "", "01721234567", "1"),
              GetParam().expected);
    EXPECT_EQ(m_modem->DialledNumbers(), std::vector<std::string>{"1"});
    if (GetParam().outcome != SimDialOutcome::Connect) {
        EXPECT_TRUE(m_modem->Received().empty());
    }
    ExpectHungUp(GetParam().outcome == SimDialOutcome::Connect);
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, DialResult,
    ::testing::Values(DialCase{SimDialOutcome::Connect, SMS_RESULT_OK},
                      DialCase{SimDialOutcome::Busy, SMS_RESULT_BUSY},
                      DialCase{SimDialOutcome::NoCarrier, SMS_RESULT_DISCONNECTED},
                      DialCase{SimDialOutcome::NoAnswer, SMS_RESULT_NO_CONNECTION},
                      DialCase{SimDialOutcome::NoDialtone, SMS_RESULT_DISCONNECTED},
                      DialCase{SimDialOutcome::Error, SMS_RESULT_NO_MODEM},
                      DialCase{SimDialOutcome::Silence, SMS_RESULT_NO_CONNECTION}));

TEST_F(UcpCallTest, WorksWithoutCommandEcho) {
    m_modem->SetEcho(false);
    EXPECT_EQ(LUSMSSendMessage(SMS_NETWORK_D2, "", "Test", "", "01721234567", "1"), SMS_RESULT_OK);
    ExpectHungUp(true);
}

TEST_F(UcpCallTest, ControlCharactersCannotReachTheModemAsCommands) {
    EXPECT_EQ(LUSMSSendMessage(SMS_NETWORK_D2, "0\r", "Test", "", "0172", "123\rATH"),
              SMS_RESULT_OK);
    EXPECT_EQ(m_modem->DialledNumbers(), std::vector<std::string>{"0123ATH"});
}

// ---- modem configuration ------------------------------------------------------

TEST_F(UcpCallTest, NoModemConfiguredGives11) {
    m_registry.Write({});
    EXPECT_EQ(LUSMSSendMessage(SMS_NETWORK_D2, "", "Test", "", "0172", "1"), SMS_RESULT_NO_MODEM);
    EXPECT_TRUE(m_modem->Commands().empty());
}

TEST_F(UcpCallTest, NoDeviceThatOpensGives11) {
    m_registry.Write({"Line0=" + m_registry.Dir() + "/missing", "Line1=" + m_registry.Dir()});
    EXPECT_EQ(LUSMSSendMessage(SMS_NETWORK_D2, "", "Test", "", "0172", "1"), SMS_RESULT_NO_MODEM);
}

TEST_F(UcpCallTest, TheFirstLineThatOpensIsUsedWithItsInitString) {
    m_registry.Write({"Line0=" + m_registry.Dir() + "/missing", "Line1=" + m_modem->DevicePath(),
                      "Init=&F S7=60", "Speed=9600"});
    EXPECT_EQ(LUSMSSendMessage(SMS_NETWORK_D2, "", "Test", "", "0172", "1"), SMS_RESULT_OK);
    const std::vector<std::string> commands = m_modem->Commands();
    ASSERT_GE(commands.size(), 3u);
    EXPECT_EQ(commands[0], "ATZ");
    EXPECT_EQ(commands[1], "AT&F S7=60");
    EXPECT_EQ(commands[2], "ATD1");
}

TEST_F(UcpCallTest, ComPortMappedInTheRegistry) {
    m_registry.Write({"Line0=COM3", "COM3=" + m_modem->DevicePath()});
    EXPECT_EQ(LUSMSSendMessage(SMS_NETWORK_D2, "", "Test", "", "0172", "1"), SMS_RESULT_OK);
}

void PrintTo(SimResetOutcome outcome, std::ostream* os) {
    *os << (outcome == SimResetOutcome::Error ? "Error"
            : outcome == SimResetOutcome::Ok  ? "Ok"
                                              : "Silence");
}

class ModemReset : public UcpCallTest, public ::testing::WithParamInterface<SimResetOutcome> {};

TEST_P(ModemReset, AModemThatDoesNotAnswerTheResetIsNotUsed) {
    SetTimeScale(0.02);
    m_modem->SetResetOutcome(GetParam());
    EXPECT_EQ(LUSMSSendMessage(SMS_NETWORK_D2, "", "Test", "", "0172", "1"), SMS_RESULT_NO_MODEM);
    EXPECT_TRUE(m_modem->DialledNumbers().empty());
    ExpectHungUp(false);
}

INSTANTIATE_TEST_SUITE_P(Answers, ModemReset,
                         ::testing::Values(SimResetOutcome::Error, SimResetOutcome::Silence));

// ---- networks -----------------------------------------------------------------

TEST_F(UcpCallTest, UnknownNetworkGives2WithoutTouchingTheModem) {
    for (int32_t network : {0, 6, -1}) {
        EXPECT_EQ(LUSMSSendMessage(network, "", "Test", "", "0172", "1"), SMS_RESULT_NO_NETWORK);
    }
    EXPECT_FALSE(m_modem->WaitForCloses(1, std::chrono::milliseconds(200)));
    EXPECT_TRUE(m_modem->Commands().empty());
}

TEST_F(UcpCallTest, NullArgumentsAreTakenAsEmpty) {
    EXPECT_EQ(LUSMSSendMessage(SMS_NETWORK_D2, nullptr, nullptr, nullptr, nullptr, "1"),
              SMS_RESULT_OK);
    EXPECT_EQ(UnitsOf("frame"),
              std::vector<std::string>{STX + "01/00051/O/51//0/////////////////3///////////////3A" +
                                       ETX});
}

// ---- sending with the built-in centres ----------------------------------------

struct AutoCase {
    const char* recipient;
    int32_t alternate;
    const char* dialled;
    const char* unit; // "frame" or "block"
    const char* numberSent;
};

void PrintTo(const AutoCase& c, std::ostream* os) {
    *os << NameOf(c.recipient) << "_alternate" << c.alternate;
}

class SendAuto : public SmsCallTest, public ::testing::WithParamInterface<AutoCase> {
protected:
    SendAuto()
        : SmsCallTest(std::string(GetParam().unit) == "block" ? SimCentreKind::Tap
                                                              : SimCentreKind::Ucp) {}
};

TEST_P(SendAuto, DialsTheBuiltInCentreOfTheNetwork) {
    const AutoCase& c = GetParam();
    EXPECT_EQ(LUSMSSendMessageAuto("0", "Hi", "", c.recipient, c.alternate), SMS_RESULT_OK);
    EXPECT_EQ(m_modem->DialledNumbers(), std::vector<std::string>{std::string("0") + c.dialled});
    const std::vector<std::string> units = UnitsOf(c.unit);
    ASSERT_EQ(units.size(), 1u);
    EXPECT_NE(units[0].find(c.numberSent), std::string::npos) << units[0];
    ExpectHungUp(true);
}

INSTANTIATE_TEST_SUITE_P(
    Centres, SendAuto,
    ::testing::Values(AutoCase{"0172-1234567", 1, "01722278020", "frame", "/O/51/01721234567/"},
                      AutoCase{"0172-1234567", 0, "01722278010", "frame", "/O/51/01721234567/"},
                      AutoCase{"0171/1234567", 1, "01712092522", "block",
                               "\x02"
                               "01711234567\r"},
                      AutoCase{"0171/1234567", 0, "01712521001", "block",
                               "\x02"
                               "01711234567\r"},
                      AutoCase{"0177 1234567", 0, "01771167", "block",
                               "\x02"
                               "0177 1234567\r"},
                      AutoCase{"01653-1234567", 1, "016593", "frame", "/O/01/1234567/"},
                      AutoCase{"079-1234567", 0, "0794998990", "frame", "/O/51/0791234567/"}));

TEST_F(UcpCallTest, AutoWithAnUnknownNumberGives2WithoutDialling) {
    EXPECT_EQ(LUSMSSendMessageAuto("", "Hi", "", "+49 171 1234567", 0), SMS_RESULT_NO_NETWORK);
    EXPECT_EQ(LUSMSSendMessageAuto("", "Hi", "", "", 0), SMS_RESULT_NO_NETWORK);
    EXPECT_EQ(LUSMSSendMessageAuto("", "Hi", "", nullptr, 0), SMS_RESULT_NO_NETWORK);
    EXPECT_TRUE(m_modem->Commands().empty());
}

TEST_F(UcpCallTest, AutoTakesAtMost511CharactersOfTheRecipient) {
    // "0172" only after character 511: not seen, so no network.
    const std::string recipient = std::string(511, '1') + "0172";
    EXPECT_EQ(LUSMSSendMessageAuto("", "Hi", "", recipient.c_str(), 0), SMS_RESULT_NO_NETWORK);
}

// ---- TAP exchange ------------------------------------------------------------

TEST_F(TapCallTest, PromptFollowedByCarriageReturnFailsEveryAttempt) {
    for (int i = 0; i < 3; ++i) {
        m_modem->QueueAnswer("prompt", SimAnswer::Whole("ID=\r"));
    }
    EXPECT_EQ(LUSMSSendMessage(SMS_NETWORK_D1, "", "Test", "", "0171", "1"),
              SMS_RESULT_TAP_LOGON_FAILED);
    // Each attempt ends at the first wrong prompt, without a second CR or a log-on.
    EXPECT_EQ(UnitKinds(), (std::vector<std::string>{"prompt", "prompt", "prompt"}));
    ExpectHungUp(true);
}

TEST_F(TapCallTest, SilentCentreIsPromptedThreeTimesInEachOfThreeAttempts) {
    SetTimeScale(0.02);
    for (int i = 0; i < 9; ++i) {
        m_modem->QueueAnswer("prompt", SimAnswer::Silence());
    }
    EXPECT_EQ(LUSMSSendMessage(SMS_NETWORK_EPLUS, "", "Test", "", "0177", "1"),
              SMS_RESULT_TAP_LOGON_FAILED);
    EXPECT_EQ(UnitsOf("prompt").size(), 9u);
    EXPECT_TRUE(UnitsOf("logon").empty());
    ExpectHungUp(true);
}

TEST_F(TapCallTest, PromptAnsweredOnTheSecondCarriageReturn) {
    m_modem->QueueAnswer("prompt", SimAnswer::Silence());
    EXPECT_EQ(LUSMSSendMessage(SMS_NETWORK_D1, "", "Test", "", "0171", "1"), SMS_RESULT_OK);
    EXPECT_EQ(UnitKinds(), (std::vector<std::string>{"prompt", "prompt", "logon", "block", "end"}));
}

TEST_F(TapCallTest, MissingGoAheadRetriesFromThePrompt) {
    m_modem->QueueAnswer("logon", SimAnswer::Whole("110 1.8\r"));
    EXPECT_EQ(LUSMSSendMessage(SMS_NETWORK_D1, "", "Test", "", "0171", "1"), SMS_RESULT_OK);
    EXPECT_EQ(UnitKinds(),
              (std::vector<std::string>{"prompt", "logon", "prompt", "logon", "block", "end"}));
}

TEST_F(TapCallTest, NoGoAheadInAnyAttemptGives12) {
    for (int i = 0; i < 3; ++i) {
        m_modem->QueueAnswer("logon", SimAnswer::Whole(ESC + EOT + CR));
    }
    EXPECT_EQ(LUSMSSendMessage(SMS_NETWORK_D1, "", "Test", "", "0171", "1"),
              SMS_RESULT_TAP_LOGON_FAILED);
    EXPECT_EQ(UnitsOf("logon").size(), 3u);
    EXPECT_TRUE(UnitsOf("block").empty());
}

TEST_F(TapCallTest, BlockRefusedThreeTimesGives8) {
    for (int i = 0; i < 3; ++i) {
        m_modem->QueueAnswer("block", SimAnswer::Whole("212 Bad block\r" + NAK + CR));
    }
    EXPECT_EQ(LUSMSSendMessage(SMS_NETWORK_EPLUS, "", "Test", "", "0177", "1"), SMS_RESULT_REFUSED);
    EXPECT_EQ(UnitsOf("block").size(), 3u);
    EXPECT_TRUE(UnitsOf("end").empty());
    ExpectHungUp(true);
}

TEST_F(TapCallTest, BlockAcceptedOnTheSecondAttempt) {
    m_modem->QueueAnswer("block", SimAnswer::Whole(NAK + CR));
    EXPECT_EQ(LUSMSSendMessage(SMS_NETWORK_D1, "", "Test", "", "0171", "1"), SMS_RESULT_OK);
    EXPECT_EQ(UnitsOf("block").size(), 2u);
    EXPECT_EQ(UnitsOf("end").size(), 1u);
}

TEST_F(TapCallTest, BareAcknowledgementAcceptsTheBlock) {
    m_modem->QueueAnswer("block", SimAnswer::Whole(ACK + CR));
    EXPECT_EQ(LUSMSSendMessage(SMS_NETWORK_D1, "", "Test", "", "0171", "1"), SMS_RESULT_OK);
    EXPECT_EQ(UnitsOf("block").size(), 1u);
}

TEST_F(TapCallTest, AnswersInPiecesAreCollected) {
    m_modem->QueueAnswer("prompt", SimAnswer::InPieces("ID=", 3));
    m_modem->QueueAnswer("logon", SimAnswer::InPieces("110 1.8\r" + ESC + "[p\r", 4));
    m_modem->QueueAnswer("block", SimAnswer::InPieces("211 Message accepted\r" + ACK + CR, 5));
    EXPECT_EQ(LUSMSSendMessage(SMS_NETWORK_D1, "", "Test", "", "0171", "1"), SMS_RESULT_OK);
    EXPECT_EQ(UnitKinds(), (std::vector<std::string>{"prompt", "logon", "block", "end"}));
}

// ---- UCP answers ---------------------------------------------------------------

struct UcpAnswerCase {
    int32_t network;
    std::string answer;
    int32_t expected;
};

void PrintTo(const UcpAnswerCase& c, std::ostream* os) {
    *os << c.network << "_" << NameOf(c.answer);
}

class UcpAnswer : public UcpCallTest, public ::testing::WithParamInterface<UcpAnswerCase> {};

TEST_P(UcpAnswer, IsJudgedByItsFields) {
    const UcpAnswerCase& c = GetParam();
    m_modem->QueueAnswer("frame", SimAnswer::Whole(c.answer));
    EXPECT_EQ(LUSMSSendMessage(c.network, "", "Test", "", "1234567", "1"), c.expected);
    EXPECT_EQ(UnitsOf("frame").size(), 1u) << "no retransmission";
    ExpectHungUp(true);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, UcpAnswer,
    ::testing::Values(
        // seven fields with "A": right for operation 01, malformed for 51
        UcpAnswerCase{SMS_NETWORK_QUIX, CCentreSimulator::UcpAnswer("01", "A/"), SMS_RESULT_OK},
        UcpAnswerCase{SMS_NETWORK_D2, CCentreSimulator::UcpAnswer("01", "A/"),
                      SMS_RESULT_BAD_ANSWER},
        UcpAnswerCase{SMS_NETWORK_D2, CCentreSimulator::UcpAnswer("51", "A//0172:010100120000"),
                      SMS_RESULT_OK},
        UcpAnswerCase{SMS_NETWORK_D2, CCentreSimulator::UcpAnswer("51", "N/02/"),
                      SMS_RESULT_REFUSED_02},
        UcpAnswerCase{SMS_NETWORK_NATEL_D, CCentreSimulator::UcpAnswer("51", "N/06/"),
                      SMS_RESULT_REFUSED_06},
        UcpAnswerCase{SMS_NETWORK_D2, CCentreSimulator::UcpAnswer("51", "N/03/"),
                      SMS_RESULT_REFUSED},
        UcpAnswerCase{SMS_NETWORK_QUIX, CCentreSimulator::UcpAnswer("01", "N/02/"),
                      SMS_RESULT_REFUSED_02},
        UcpAnswerCase{SMS_NETWORK_QUIX, CCentreSimulator::UcpAnswer("01", "N/06/Syntax"),
                      SMS_RESULT_REFUSED_06},
        UcpAnswerCase{SMS_NETWORK_QUIX, CCentreSimulator::UcpAnswer("01", "N/24/"),
                      SMS_RESULT_REFUSED},
        // five fields is too few for either operation
        UcpAnswerCase{SMS_NETWORK_QUIX, STX + "01/00010/R/01/A" + ETX, SMS_RESULT_BAD_ANSWER},
        UcpAnswerCase{SMS_NETWORK_D2, STX + "garbage" + ETX, SMS_RESULT_BAD_ANSWER}));

TEST_F(UcpCallTest, SilentCentreGives6AfterTheAnswerWait) {
    SetTimeScale(0.02); // 150 s become 3 s
    m_modem->QueueAnswer("frame", SimAnswer::Silence());
    EXPECT_EQ(LUSMSSendMessage(SMS_NETWORK_D2, "", "Test", "", "0172", "1"), SMS_RESULT_BAD_ANSWER);
    ExpectHungUp(true);
}

TEST_F(UcpCallTest, AnswerInPiecesIsCollectedUntilEtx) {
    m_modem->QueueAnswer("frame",
                         SimAnswer::InPieces(CCentreSimulator::UcpAnswer("51", "N/02/"), 6));
    EXPECT_EQ(LUSMSSendMessage(SMS_NETWORK_D2, "", "Test", "", "0172", "1"), SMS_RESULT_REFUSED_02);
}

TEST_F(UcpCallTest, OnlyTheFirst2048BytesOfAnAnswerAreJudged) {
    // Eight fields in all, but the last separator lies beyond byte 2048.
    const std::string answer = STX + "01/02100/R/51/A//" + std::string(2100, 'x') + "/00" + ETX;
    m_modem->QueueAnswer("frame", SimAnswer::Whole(answer));
    EXPECT_EQ(LUSMSSendMessage(SMS_NETWORK_D2, "", "Test", "", "0172", "1"), SMS_RESULT_BAD_ANSWER);
    ExpectHungUp(true);
}

// ---- the simulator's standing orders (as its command line sets them) ------------

TEST_F(UcpCallTest, CentreThatRefusesEveryFrameInPieces) {
    m_modem->ConfigureCentre([](CCentreSimulator& centre) {
        centre.SetUcpError("06");
        centre.SetPieces(3);
    });
    EXPECT_EQ(LUSMSSendMessage(SMS_NETWORK_NATEL_D, "", "Hi", "", "079", "1"),
              SMS_RESULT_REFUSED_06);
    EXPECT_EQ(LUSMSSendMessage(SMS_NETWORK_QUIX, "", "Hi", "", "123", "1"), SMS_RESULT_REFUSED_06);
}

TEST_F(TapCallTest, CentreThatRefusesEveryBlock) {
    m_modem->ConfigureCentre([](CCentreSimulator& centre) { centre.SetTapRefusal(true); });
    EXPECT_EQ(LUSMSSendMessage(SMS_NETWORK_D1, "", "Hi", "", "0171", "1"), SMS_RESULT_REFUSED);
    EXPECT_EQ(UnitsOf("block").size(), 3u);
}
