// The library's pieces without a modem: text conversion, cutting, frames,
// checksums, answer judging, modem settings and the time scale.
#include "SmsTestSupport.h"

#include "RegistryFile.h"
#include "SmsModemConfig.h"
#include "SmsTapSender.h"
#include "SmsText.h"
#include "SmsTiming.h"
#include "SmsUcpCallInputSender.h"
#include "SmsUcpSubmitSender.h"
#include "tarn/LUSMSLib2.h"

using namespace smstest;

struct ConversionCase {
    std::string utf8;
    std::string windows1252;
};

void PrintTo(const ConversionCase& c, std::ostream* os) {
    *os << Hex(c.windows1252) << "_from" << c.utf8.size();
}

class Utf8ToWindows1252 : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(Utf8ToWindows1252, GivesOneBytePerCharacter) {
    EXPECT_EQ(SmsText::Utf8ToWindows1252(GetParam().utf8), GetParam().windows1252);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Utf8ToWindows1252,
    ::testing::Values(ConversionCase{"Test", "Test"}, ConversionCase{"", ""},
                      ConversionCase{"äöüÄÖÜß§", "\xE4\xF6\xFC\xC4\xD6\xDC\xDF\xA7"},
                      ConversionCase{"€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ",
                                     "\x80\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8E\x91\x92"
                                     "\x93\x94\x95\x96\x97\x98\x99\x9A\x9B\x9C\x9E\x9F"},
                      // no 8-bit form: Greek, CJK, emoji, a C1 control Windows-1252 uses
                      ConversionCase{"Ω中😀\xC2\x80", "????"},
                      // the five undefined Windows-1252 bytes stand for their C1 controls
                      ConversionCase{"\xC2\x81\xC2\x9D", "\x81\x9D"},
                      // not UTF-8: taken as Windows-1252 already
                      ConversionCase{"Gr\xFC\xDF", "Gr\xFC\xDF"}, ConversionCase{"\xC3", "\xC3"},
                      ConversionCase{"\xE2\x82", "\xE2\x82"},
                      // overlong and surrogate forms are not UTF-8 either
                      ConversionCase{"\xC0\xAF", "\xC0\xAF"},
                      ConversionCase{"\xED\xA0\x80", "\xED\xA0\x80"},
                      ConversionCase{"a\nb\r", "a\nb\r"}));

struct CutCase {
    std::string text;
    size_t limit;
    std::string expected;
};

void PrintTo(const CutCase& c, std::ostream* os) {
    *os << c.text.size() << "_to_" << c.limit;
}

class CutMessage : public ::testing::TestWithParam<CutCase> {};

TEST_P(CutMessage, KeepsTheLimitWithThreeDots) {
    EXPECT_EQ(SmsText::CutMessage(GetParam().text, GetParam().limit), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, CutMessage,
                         ::testing::Values(CutCase{"abcdef", 6, "abcdef"},
                                           CutCase{"abcdefg", 6, "abc..."},
                                           CutCase{"abcdefg", 3, "..."},
                                           CutCase{"abcdefg", 2, ".."}, CutCase{"abcdefg", 0, ""},
                                           CutCase{"", 0, ""}));

TEST(MessageLimit, SenderLengthIsTakenOffButNeverBelowZero) {
    EXPECT_EQ(SmsText::MessageLimit(160, 0), 160u);
    EXPECT_EQ(SmsText::MessageLimit(160, 10), 150u);
    EXPECT_EQ(SmsText::MessageLimit(80, 5), 75u);
    EXPECT_EQ(SmsText::MessageLimit(80, 80), 0u);
    EXPECT_EQ(SmsText::MessageLimit(80, 200), 0u);
}

TEST(UcpFrame, SubmitFrameForTestHasLength70AndChecksum1A) {
    CSmsUcpSubmitSender sender;
    EXPECT_EQ(sender.BuildFrame("Test", "", "01721234567"),
              STX + "01/00070/O/51/01721234567/0/////////////////3//54657374/////////////1A" + ETX);
}

TEST(UcpFrame, CallInputFrameLeavesSenderAndAuthenticationEmpty) {
    CSmsUcpCallInputSender sender;
    EXPECT_EQ(sender.BuildFrame("Hallo", "someone", "1234567"),
              STX + "01/00039/O/01/1234567///3/48616C6C6F/94" + ETX);
}

TEST(UcpFrame, ChecksumIsTheLowByteOfTheSumInUpperCaseHex) {
    EXPECT_EQ(CSmsUcpSender::Checksum(""), "00");
    EXPECT_EQ(CSmsUcpSender::Checksum("\x0F"), "0F");
    EXPECT_EQ(CSmsUcpSender::Checksum("\xFF\x02"), "01");
    EXPECT_EQ(CSmsUcpSender::Checksum("zz"), "F4");
}

TEST(UcpFrame, EveryCharacterOutsideTheTableIsItsOwnCode) {
    CSmsUcpSubmitSender submit;
    CSmsUcpCallInputSender callInput;
    EXPECT_EQ(submit.EncodeText(std::string("\x00\x7F\xE9\x80", 4)), "007FE980");
    EXPECT_EQ(callInput.EncodeText(std::string("\x00\x7F\xE9\x80", 4)), "007FE980");
    EXPECT_EQ(submit.EncodeText("$^"), "245E");
    EXPECT_EQ(callInput.EncodeText("$^"), "205D");
}

TEST(UcpAnswerFields, FirstFieldHoldsWhateverCameBeforeIt) {
    const std::vector<std::string> fields = CSmsUcpSender::SplitFields("junk\x02"
                                                                       "01/x//y");
    ASSERT_EQ(fields.size(), 4u);
    EXPECT_EQ(fields[0], "junk\x02"
                         "01");
    EXPECT_EQ(fields[2], "");
    EXPECT_EQ(CSmsUcpSender::SplitFields("").size(), 1u);
}

// A UCP frame around `text` ("trn/len/kind/op/fields.../cs"), its length field
// and checksum made true.
std::string SealedFrame(std::string text) {
    char length[6];
    std::snprintf(length, sizeof length, "%05zu", text.size());
    text.replace(3, 5, length);
    text.replace(text.size() - 2, 2,
                 CSmsUcpSender::Checksum(std::string_view(text).substr(0, text.size() - 2)));
    return STX + text + ETX;
}

TEST(UcpAnswerFields, ErrorCodeIsReadAsADecimalNumber) {
    CSmsUcpSubmitSender submit;
    EXPECT_EQ(submit.JudgeAnswer(SealedFrame("01/00000/R/51/N/2//00")), SMS_RESULT_REFUSED_02);
    EXPECT_EQ(submit.JudgeAnswer(SealedFrame("01/00000/R/51/N/006//00")), SMS_RESULT_REFUSED_06);
    EXPECT_EQ(submit.JudgeAnswer(SealedFrame("01/00000/R/51/N///00")), SMS_RESULT_REFUSED);
    EXPECT_EQ(submit.JudgeAnswer(SealedFrame("01/00000/R/51/a/02//00")), SMS_RESULT_REFUSED_02);
    EXPECT_EQ(submit.JudgeAnswer(""), SMS_RESULT_BAD_ANSWER);
}

struct UcpFrameCase {
    std::string name;
    bool callInput; // judged by operation 01, else by 51
    std::string answer;
    int32_t expected;
};

void PrintTo(const UcpFrameCase& c, std::ostream* os) {
    *os << c.name;
}

class UcpAnswerFrame : public ::testing::TestWithParam<UcpFrameCase> {};

TEST_P(UcpAnswerFrame, IsTakenOnlyWhenWholeAndMeantForUs) {
    CSmsUcpSubmitSender submit;
    CSmsUcpCallInputSender callInput;
    const CSmsUcpSender& judge =
        GetParam().callInput ? static_cast<const CSmsUcpSender&>(callInput) : submit;
    EXPECT_EQ(judge.JudgeAnswer(GetParam().answer), GetParam().expected) << Hex(GetParam().answer);
}

// A positive answer to operation 51, sealed, and the same with one byte changed.
const std::string kAck51 = SealedFrame("01/00000/R/51/A//0172:010100120000/00");
std::string Changed(std::string frame, size_t pos, char c) {
    frame[pos] = c;
    return frame;
}

INSTANTIATE_TEST_SUITE_P(
    Answers, UcpAnswerFrame,
    ::testing::Values(
        UcpFrameCase{"Whole", false, kAck51, SMS_RESULT_OK},
        UcpFrameCase{"NoiseAroundTheFrame", false, "\r\nxx" + kAck51 + "\r\n", SMS_RESULT_OK},
        UcpFrameCase{"LowerCaseChecksum", false, STX + "01/00021/R/51/A//a/f7" + ETX,
                     SMS_RESULT_OK},
        UcpFrameCase{"NoStx", false, kAck51.substr(1), SMS_RESULT_BAD_ANSWER},
        UcpFrameCase{"NoEtx", false, kAck51.substr(0, kAck51.size() - 1), SMS_RESULT_BAD_ANSWER},
        UcpFrameCase{"EtxBeforeStx", false, ETX + kAck51.substr(0, kAck51.size() - 1),
                     SMS_RESULT_BAD_ANSWER},
        UcpFrameCase{"WrongChecksum", false, Changed(kAck51, kAck51.size() - 2, 'F'),
                     SMS_RESULT_BAD_ANSWER},
        UcpFrameCase{"ChangedText", false, Changed(kAck51, 20, '9'), SMS_RESULT_BAD_ANSWER},
        UcpFrameCase{"WrongLength", false, SealedFrame("01/00000/R/51/A//x/00").replace(8, 1, "9"),
                     SMS_RESULT_BAD_ANSWER},
        UcpFrameCase{"ChecksumOfThreeCharacters", false, STX + "01/00021/R/51/A///0A1" + ETX,
                     SMS_RESULT_BAD_ANSWER},
        UcpFrameCase{"OtherTransaction", false, SealedFrame("02/00000/R/51/A//x/00"),
                     SMS_RESULT_BAD_ANSWER},
        UcpFrameCase{"OtherOperation", false, SealedFrame("01/00000/R/52/A//x/00"),
                     SMS_RESULT_BAD_ANSWER},
        UcpFrameCase{"OperationNotResult", false, SealedFrame("01/00000/O/51/A//x/00"),
                     SMS_RESULT_BAD_ANSWER},
        // a refusal is judged only when it is whole too
        UcpFrameCase{"RefusalWithWrongChecksum", false, STX + "01/00022/R/51/N/02//00" + ETX,
                     SMS_RESULT_BAD_ANSWER},
        UcpFrameCase{"CallInputAnswer", true, SealedFrame("01/00000/R/01/A//00"), SMS_RESULT_OK},
        UcpFrameCase{"CallInputGivenTheSubmitAnswer", true, kAck51, SMS_RESULT_BAD_ANSWER}),
    [](const auto& info) { return info.param.name; });

TEST(TapBlock, ChecksumIsTwelveBitsInThreeCharactersFromZeroToQuestionMark) {
    EXPECT_EQ(CSmsTapSender::Checksum(""), "000");
    EXPECT_EQ(CSmsTapSender::Checksum(std::string(1, '\x0F')), "00?");
    // 17 x 0xFF = 0x10EF: only the low 12 bits count.
    EXPECT_EQ(CSmsTapSender::Checksum(std::string(17, '\xFF')), "0>?");
    EXPECT_EQ(CSmsTapSender::BuildBlock("01711234567", "Test"),
              STX + "01711234567" + CR + "Test" + CR + ETX + "3?4" + CR);
}

TEST(TapBlock, AcceptedOnlyWithAcknowledgementBeforeTheFinalCarriageReturn) {
    EXPECT_TRUE(CSmsTapSender::IsBlockAccepted(ACK + CR));
    EXPECT_TRUE(CSmsTapSender::IsBlockAccepted("211 ok" + CR + ACK + CR));
    EXPECT_FALSE(CSmsTapSender::IsBlockAccepted(NAK + CR));
    EXPECT_FALSE(CSmsTapSender::IsBlockAccepted(ACK));
    EXPECT_FALSE(CSmsTapSender::IsBlockAccepted(""));
    EXPECT_FALSE(CSmsTapSender::IsBlockAccepted(ESC + EOT + CR));
}

TEST(TapBlock, TablesDifferOnlyWhereTheNetworksDo) {
    const std::string letters = "\\_\xC4\xD6\xDC\xDF\xE4\xF6\xFC"
                                "abc[]{}";
    EXPECT_EQ(CSmsTapSender(SmsTapTable::D1).ConvertText(letters), "/-[\\^\x1E{|~abc[]{}");
    EXPECT_EQ(CSmsTapSender(SmsTapTable::EPlus).ConvertText(letters), "/-[\\]~{|}abc[]{}");
}

struct DeviceCase {
    std::string line;
    std::string mapped;
    std::string device;
};

void PrintTo(const DeviceCase& c, std::ostream* os) {
    *os << (c.mapped.empty() ? "plain_" : "mapped_") << c.device.substr(c.device.rfind('/') + 1);
}

class ModemDevice : public ::testing::TestWithParam<DeviceCase> {};

TEST_P(ModemDevice, ComPortsBecomeSerialDevicesUnlessMapped) {
    EXPECT_EQ(CSmsModemConfig::ResolveDevice(GetParam().line, GetParam().mapped),
              GetParam().device);
}

INSTANTIATE_TEST_SUITE_P(Cases, ModemDevice,
                         ::testing::Values(DeviceCase{"COM1", "", "/dev/ttyS0"},
                                           DeviceCase{"com12", "", "/dev/ttyS11"},
                                           DeviceCase{"COM3", "/dev/ttyUSB0", "/dev/ttyUSB0"},
                                           DeviceCase{"/dev/ttyACM0", "", "/dev/ttyACM0"},
                                           DeviceCase{"COM0", "", "COM0"},
                                           DeviceCase{"COM", "", "COM"},
                                           DeviceCase{"COM1x", "", "COM1x"}));

TEST(ModemSettings, AreReadFromTheModemsKeyUpToTheFirstMissingLine) {
    CTempRegistry registry;
    registry.Write({"Line0=/dev/ttyUSB1", "Line1=COM2", "Line3=/dev/never", "COM2=/dev/ttyACM0",
                    "Init=ATE0", "Speed=9600"});
    const CSmsModemConfig config = CSmsModemConfig::Load(CRegistryFile());
    EXPECT_EQ(config.devices, (std::vector<std::string>{"/dev/ttyUSB1", "/dev/ttyACM0"}));
    EXPECT_EQ(config.init, "ATE0");
    EXPECT_EQ(config.speed, 9600u);
}

TEST(ModemSettings, MissingKeyMeansNoLineAndDefaults) {
    CTempRegistry registry;
    const CSmsModemConfig config = CSmsModemConfig::Load(CRegistryFile());
    EXPECT_TRUE(config.devices.empty());
    EXPECT_EQ(config.init, "");
    EXPECT_EQ(config.speed, kSmsDefaultSpeed);
}

TEST(ModemSettings, UnreadableSpeedFallsBackToTheDefault) {
    CTempRegistry registry;
    registry.Write({"Line0=/dev/ttyS0", "Speed=fast"});
    EXPECT_EQ(CSmsModemConfig::Load(CRegistryFile()).speed, kSmsDefaultSpeed);
}

struct ScaleCase {
    const char* text;
    double scale;
};

void PrintTo(const ScaleCase& c, std::ostream* os) {
    *os << "scale_" << (*c.text ? c.text : "empty");
}

class TimeScale : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(TimeScale, OnlyShortensAndOnlyWhenReadable) {
    setenv("TARN_SMS_TIME_SCALE", GetParam().text, 1);
    EXPECT_DOUBLE_EQ(CSmsTiming::FromEnvironment().Scale(), GetParam().scale);
    unsetenv("TARN_SMS_TIME_SCALE");
}

INSTANTIATE_TEST_SUITE_P(Cases, TimeScale,
                         ::testing::Values(ScaleCase{"0.01", 0.01}, ScaleCase{"1", 1.0},
                                           ScaleCase{"", 1.0}, ScaleCase{"5", 1.0},
                                           ScaleCase{"0", 1.0}, ScaleCase{"-0.5", 1.0},
                                           ScaleCase{"0.5x", 1.0}));

TEST(TimeScaleUnset, MeansRealTime) {
    unsetenv("TARN_SMS_TIME_SCALE");
    const CSmsTiming timing = CSmsTiming::FromEnvironment();
    EXPECT_EQ(timing.Scaled(45000).count(), 45000);
    EXPECT_EQ(CSmsTiming(0.01).Scaled(150000).count(), 1500);
    EXPECT_EQ(CSmsTiming(0.0001).Scaled(1).count(), 1);
    EXPECT_EQ(CSmsTiming(0.5).Scaled(0).count(), 0);
}
