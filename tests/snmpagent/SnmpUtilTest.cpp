// The OID and binding utilities of the extension-agent interface.
#include "SnmpTestSupport.h"

#include <gtest/gtest.h>

namespace {

struct SOrderCase {
    const char* left;
    const char* right;
    int expected; // sign
};

void PrintTo(const SOrderCase& order, std::ostream* out) {
    *out << order.left << " vs " << order.right;
}

class OidOrder : public ::testing::TestWithParam<SOrderCase> {};

int Sign(int value) {
    return (value > 0) - (value < 0);
}

TEST_P(OidOrder, ComparesComponentsThenLength) {
    std::vector<uint32_t> left = Oid(GetParam().left);
    std::vector<uint32_t> right = Oid(GetParam().right);
    const AsnObjectIdentifier a{static_cast<uint32_t>(left.size()), left.data()};
    const AsnObjectIdentifier b{static_cast<uint32_t>(right.size()), right.data()};
    EXPECT_EQ(Sign(SnmpUtilOidCmp(&a, &b)), GetParam().expected);
    EXPECT_EQ(Sign(SnmpUtilOidCmp(&b, &a)), -GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, OidOrder,
                         ::testing::Values(SOrderCase{"1.3.6.1.4.1.12", "1.3.6.1.4.1.12", 0},
                                           SOrderCase{"1.3.6.1.4.1.12", "1.3.6.1.4.1.12.2.1.0", -1},
                                           SOrderCase{"1.3.6.1.4.1.12.2.5.0", "1.3.6.1.4.1.13", -1},
                                           SOrderCase{"1.3.6.1.4.1.12.2.10.0",
                                                      "1.3.6.1.4.1.12.2.9.0", 1},
                                           SOrderCase{"4294967295", "1.2", 1}));

TEST(OidUtilities, NCmpLooksAtTheFirstComponentsOnly) {
    std::vector<uint32_t> left = Oid("1.3.6.1.4.1.12.2.1.0");
    std::vector<uint32_t> right = Oid("1.3.6.1.4.1.12.9");
    const AsnObjectIdentifier a{static_cast<uint32_t>(left.size()), left.data()};
    const AsnObjectIdentifier b{static_cast<uint32_t>(right.size()), right.data()};
    EXPECT_EQ(SnmpUtilOidNCmp(&a, &b, 7), 0);
    EXPECT_LT(SnmpUtilOidNCmp(&a, &b, 8), 0);
}

TEST(OidUtilities, CopyAppendAndFree) {
    std::vector<uint32_t> region = Oid("1.3.6.1.4.1.12");
    std::vector<uint32_t> suffix = Oid("2.4.0");
    const AsnObjectIdentifier source{static_cast<uint32_t>(region.size()), region.data()};
    const AsnObjectIdentifier tail{static_cast<uint32_t>(suffix.size()), suffix.data()};
    AsnObjectIdentifier copy;
    ASSERT_EQ(SnmpUtilOidCpy(&copy, &source), 1);
    ASSERT_NE(copy.ids, region.data());
    ASSERT_EQ(SnmpUtilOidAppend(&copy, &tail), 1);
    EXPECT_EQ(ToVector(copy), Oid("1.3.6.1.4.1.12.2.4.0"));
    SnmpUtilOidFree(&copy);
    EXPECT_EQ(copy.idLength, 0u);
    EXPECT_EQ(copy.ids, nullptr);
}

TEST(OidUtilities, BindingListFreeReleasesNamesAndOwnedValues) {
    SnmpVarBindList list{static_cast<SnmpVarBind*>(SnmpUtilMemAlloc(2 * sizeof(SnmpVarBind))), 2};
    std::vector<uint32_t> name = Oid("1.3.6.1.4.1.12.2.1.0");
    const AsnObjectIdentifier source{static_cast<uint32_t>(name.size()), name.data()};
    for (uint32_t i = 0; i < list.len; ++i) {
        ASSERT_EQ(SnmpUtilOidCpy(&list.list[i].name, &source), 1);
    }
    list.list[0].value.asnType = ASN_OCTETSTRING;
    list.list[0].value.asnValue.string = {static_cast<uint8_t*>(SnmpUtilMemAlloc(5)), 5, 1};
    list.list[1].value.asnType = ASN_OBJECTIDENTIFIER;
    ASSERT_EQ(SnmpUtilOidCpy(&list.list[1].value.asnValue.object, &source), 1);
    SnmpUtilVarBindListFree(&list); // the sanitizer build reports any leak
    EXPECT_EQ(list.list, nullptr);
    EXPECT_EQ(list.len, 0u);
}

} // namespace
