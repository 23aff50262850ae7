// The agent's MIB through SnmpExtensionQuery: GET, GETNEXT and SET, the error
// statuses and the error index.
#include "SnmpTestSupport.h"

#include <gtest/gtest.h>

namespace {

const std::string kRegion = "1.3.6.1.4.1.12";
const std::string kName = kRegion + ".2.1.0";
const std::string kDescription = kRegion + ".2.2.0";
const std::string kFirstInteger = kRegion + ".2.3.0";
const std::string kSecondInteger = kRegion + ".2.4.0";
const std::string kThirdInteger = kRegion + ".2.5.0";

struct SAnswer {
    AsnInteger32 status;
    AsnInteger32 index;
};

class MibQuery : public ::testing::Test {
protected:
    void SetUp() override {
        UseOwnObjectNames();
        sem_t* trapEvent = nullptr;
        AsnObjectIdentifier view{0, nullptr};
        ASSERT_EQ(SnmpExtensionInit(0, &trapEvent, &view), 1);
        ASSERT_EQ(ToVector(view), Oid(kRegion));
    }
    void TearDown() override { SnmpExtensionClose(); }

    static SAnswer Query(uint8_t request, CBindingList& bindings) {
        SAnswer answer{-1, -1};
        EXPECT_EQ(SnmpExtensionQuery(request, bindings.List(), &answer.status, &answer.index), 1);
        return answer;
    }
    static AsnInteger32 GetInteger(const std::string& name) {
        CBindingList bindings({name});
        EXPECT_EQ(Query(SNMP_PDU_GET, bindings).status, SNMP_ERRORSTATUS_NOERROR);
        EXPECT_EQ(bindings[0].value.asnType, ASN_INTEGER);
        return bindings[0].value.asnValue.number;
    }
};

TEST_F(MibQuery, WalkFromTheRegionShowsTheFiveVariablesThenLeavesTheRegion) {
    CBindingList bindings({kRegion});
    const std::vector<std::pair<std::string, std::string>> expected = {
        {kName, "velda"},
        {kDescription, "SNMP Extension Agent for TARN!"},
        {kFirstInteger, "1"},
        {kSecondInteger, "2"},
        {kThirdInteger, "3"}};
    for (const auto& [name, value] : expected) {
        ASSERT_EQ(Query(SNMP_PDU_GETNEXT, bindings).status, SNMP_ERRORSTATUS_NOERROR);
        ASSERT_EQ(bindings.Name(0), Oid(name));
        if (bindings[0].value.asnType == ASN_OCTETSTRING) {
            EXPECT_EQ(bindings.Text(0), value);
        } else {
            ASSERT_EQ(bindings[0].value.asnType, ASN_INTEGER);
            EXPECT_EQ(std::to_string(bindings[0].value.asnValue.number), value);
        }
    }
    ASSERT_EQ(Query(SNMP_PDU_GETNEXT, bindings).status, SNMP_ERRORSTATUS_NOERROR);
    EXPECT_EQ(bindings.Name(0), Oid("1.3.6.1.4.1.13"));
}

TEST_F(MibQuery, GetOfTheDescriptionIsAnOctetStringOfExactLength) {
    CBindingList bindings({kDescription});
    const SAnswer answer = Query(SNMP_PDU_GET, bindings);
    EXPECT_EQ(answer.status, SNMP_ERRORSTATUS_NOERROR);
    EXPECT_EQ(answer.index, -1) << "the error index is written only on errors";
    ASSERT_EQ(bindings[0].value.asnType, ASN_OCTETSTRING);
    EXPECT_EQ(bindings[0].value.asnValue.string.length, 30u);
    EXPECT_NE(bindings[0].value.asnValue.string.dynamic, 0);
    EXPECT_EQ(bindings.Text(0), "SNMP Extension Agent for TARN!");
}

struct SNextCase {
    std::string requested;
    std::string answered;
};

void PrintTo(const SNextCase& next, std::ostream* out) {
    *out << next.requested;
}

class MibGetNext : public MibQuery, public ::testing::WithParamInterface<SNextCase> {};

TEST_P(MibGetNext, AnswersTheFollowingVariableOrThePlaceAfterTheRegion) {
    CBindingList bindings({GetParam().requested});
    EXPECT_EQ(Query(SNMP_PDU_GETNEXT, bindings).status, SNMP_ERRORSTATUS_NOERROR);
    EXPECT_EQ(bindings.Name(0), Oid(GetParam().answered));
}

INSTANTIATE_TEST_SUITE_P(Cases, MibGetNext,
                         ::testing::Values(SNextCase{"1.3.6.1.4.1.11.99", kName},
                                           SNextCase{"1.3", kName}, SNextCase{kRegion, kName},
                                           SNextCase{kName, kDescription},
                                           SNextCase{kRegion + ".2.1.0.7", kDescription},
                                           SNextCase{kRegion + ".2.3", kFirstInteger},
                                           SNextCase{kRegion + ".2.5.0.1", "1.3.6.1.4.1.13"},
                                           SNextCase{kRegion + ".3", "1.3.6.1.4.1.13"},
                                           SNextCase{"1.3.6.1.4.1.14", "1.3.6.1.4.1.13"}));

TEST_F(MibQuery, GetNextOfTheLastVariableEndsTheViewAndKeepsTheValue) {
    CBindingList bindings({kThirdInteger});
    bindings.SetInteger(0, 77);
    const SAnswer answer = Query(SNMP_PDU_GETNEXT, bindings);
    EXPECT_EQ(answer.status, SNMP_ERRORSTATUS_NOERROR);
    EXPECT_EQ(answer.index, -1);
    EXPECT_EQ(bindings.Name(0), Oid("1.3.6.1.4.1.13"));
    EXPECT_EQ(bindings[0].value.asnType, ASN_INTEGER);
    EXPECT_EQ(bindings[0].value.asnValue.number, 77);
}

TEST_F(MibQuery, GetOfANameThatIsNoVariableIsNoSuchName) {
    for (const std::string& name : {kRegion, kRegion + ".2", kRegion + ".2.6.0", kName + ".0",
                                    std::string("1.3.6.1.4.1.13")}) {
        CBindingList bindings({name});
        const SAnswer answer = Query(SNMP_PDU_GET, bindings);
        EXPECT_EQ(answer.status, SNMP_ERRORSTATUS_NOSUCHNAME) << name;
        EXPECT_EQ(answer.index, 1) << name;
    }
}

struct SSetCase {
    std::string name;
    bool asText;
    AsnInteger32 number;
    AsnInteger32 status;
};

void PrintTo(const SSetCase& set, std::ostream* out) {
    *out << set.name << (set.asText ? " text" : " = ")
         << (set.asText ? "" : std::to_string(set.number));
}

class MibSet : public MibQuery, public ::testing::WithParamInterface<SSetCase> {};

TEST_P(MibSet, AcceptsValuesOfTheRightTypeWithinTheRange) {
    const SSetCase& set = GetParam();
    const AsnInteger32 before = set.name == kName ? 0 : GetInteger(set.name);
    CBindingList bindings({set.name});
    if (set.asText) {
        bindings.SetString(0, "7");
    } else {
        bindings.SetInteger(0, set.number);
    }
    const SAnswer answer = Query(SNMP_PDU_SET, bindings);
    EXPECT_EQ(answer.status, set.status);
    EXPECT_EQ(answer.index, set.status == SNMP_ERRORSTATUS_NOERROR ? -1 : 1);
    if (set.name != kName) {
        EXPECT_EQ(GetInteger(set.name),
                  set.status == SNMP_ERRORSTATUS_NOERROR ? set.number : before);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MibSet,
    ::testing::Values(SSetCase{kSecondInteger, false, 11, SNMP_ERRORSTATUS_BADVALUE},
                      SSetCase{kSecondInteger, false, 10, SNMP_ERRORSTATUS_NOERROR},
                      SSetCase{kSecondInteger, false, 1, SNMP_ERRORSTATUS_NOERROR},
                      SSetCase{kSecondInteger, false, 0, SNMP_ERRORSTATUS_BADVALUE},
                      SSetCase{kSecondInteger, true, 7, SNMP_ERRORSTATUS_BADVALUE},
                      SSetCase{kFirstInteger, false, 2, SNMP_ERRORSTATUS_NOERROR},
                      SSetCase{kFirstInteger, false, 3, SNMP_ERRORSTATUS_BADVALUE},
                      SSetCase{kThirdInteger, false, 7, SNMP_ERRORSTATUS_NOERROR},
                      SSetCase{kThirdInteger, false, 8, SNMP_ERRORSTATUS_BADVALUE},
                      SSetCase{kThirdInteger, false, -1, SNMP_ERRORSTATUS_BADVALUE},
                      SSetCase{kName, true, 0, SNMP_ERRORSTATUS_NOSUCHNAME},
                      SSetCase{kName, false, 1, SNMP_ERRORSTATUS_NOSUCHNAME}));

TEST_F(MibQuery, SetOfTheDescriptionOrOfANameOutsideTheTableIsNoSuchName) {
    for (const std::string& name : {kDescription, kRegion + ".2.6.0"}) {
        CBindingList bindings({name});
        bindings.SetString(0, "x");
        EXPECT_EQ(Query(SNMP_PDU_SET, bindings).status, SNMP_ERRORSTATUS_NOSUCHNAME) << name;
    }
    CBindingList description({kDescription});
    Query(SNMP_PDU_GET, description);
    EXPECT_EQ(description.Text(0), "SNMP Extension Agent for TARN!");
}

TEST_F(MibQuery, TheFirstFailingBindingStopsTheRequest) {
    CBindingList get({kName, kRegion + ".2.9.0", kFirstInteger});
    const SAnswer answer = Query(SNMP_PDU_GET, get);
    EXPECT_EQ(answer.status, SNMP_ERRORSTATUS_NOSUCHNAME);
    EXPECT_EQ(answer.index, 2);
    EXPECT_EQ(get.Text(0), "velda");
    EXPECT_EQ(get[2].value.asnType, ASN_NULL) << "the third binding is not served";

    CBindingList set({kFirstInteger, kSecondInteger, kThirdInteger});
    set.SetInteger(0, 2);
    set.SetInteger(1, 11);
    set.SetInteger(2, 5);
    const SAnswer setAnswer = Query(SNMP_PDU_SET, set);
    EXPECT_EQ(setAnswer.status, SNMP_ERRORSTATUS_BADVALUE);
    EXPECT_EQ(setAnswer.index, 2);
    EXPECT_EQ(GetInteger(kFirstInteger), 2) << "bindings before the failure are stored";
    EXPECT_EQ(GetInteger(kThirdInteger), 3) << "bindings after the failure are not";
}

TEST_F(MibQuery, OtherRequestTypesAreGenErr) {
    CBindingList bindings({kName});
    const SAnswer answer = Query(SNMP_PDU_RESPONSE, bindings);
    EXPECT_EQ(answer.status, SNMP_ERRORSTATUS_GENERR);
    EXPECT_EQ(answer.index, 1);
}

TEST_F(MibQuery, AnEmptyRequestIsAnswered) {
    CBindingList bindings({});
    EXPECT_EQ(Query(SNMP_PDU_GET, bindings).status, SNMP_ERRORSTATUS_NOERROR);
}

TEST_F(MibQuery, SetValuesLastUntilTheAgentStartsAgain) {
    CBindingList set({kSecondInteger});
    set.SetInteger(0, 10);
    ASSERT_EQ(Query(SNMP_PDU_SET, set).status, SNMP_ERRORSTATUS_NOERROR);
    EXPECT_EQ(GetInteger(kSecondInteger), 10);
    EXPECT_EQ(GetInteger(kSecondInteger), 10);
    sem_t* trapEvent = nullptr;
    AsnObjectIdentifier view{0, nullptr};
    SnmpExtensionInit(0, &trapEvent, &view);
    EXPECT_EQ(GetInteger(kSecondInteger), 2);
}

} // namespace
