// The configuration document: what a written snapshot reads back as, and
// where errors are placed.
#include "CAuditionRules.h"
#include "CConfigDocument.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

TEST(ConfigDocument, WrittenSnapshotReadsBackWithDocumentNumbers) {
    ConfigSnapshot snapshot;
    snapshot.settings.DATA_DIRECTORY = testing::TempDir();
    snapshot.services.SMS_RETRIES = snapshot.services.FAX_RETRIES = snapshot.services.FAX_COM_PORT =
        1;
    DBNotifyProfile profile;
    profile.PROFILE_ID = 40;
    profile.NAME = "night";
    snapshot.profiles.push_back(profile);
    DBAudition net = CAuditionRules::NewAudition(AuditionType::Net);
    net.AUDITION_ID = 17;
    snapshot.auditions.push_back(net);
    snapshot.auditionProfiles[17] = {40};

    ConfigSnapshot read;
    ConfigErrors errors;
    ASSERT_TRUE(CConfigDocument::Read(CConfigDocument::Write(snapshot), read, errors));
    ASSERT_EQ(read.auditions.size(), 1u);
    EXPECT_EQ(read.auditions[0].AUDITION_ID, 1);
    EXPECT_EQ(read.auditions[0].NAME, "Netzwerk");
    EXPECT_EQ(read.auditionProfiles[1], DBKeyList{1});
    EXPECT_EQ(CConfigDocument::Write(read), CConfigDocument::Write(snapshot));
}

TEST(ConfigDocument, EveryErrorNamesItsPlace) {
    const struct {
        const char* text;
        const char* place;
    } cases[] = {
        {R"({"": []})", "document"},
        {R"({"settings": []})", "settings"},
        {R"({"auditions": [7]})", "auditions[0]"},
        {R"({"auditions": [{"id": 1, "AUDITION_TYPE": "Net", "TIMEOUT": 99}]})",
         "auditions[0].TIMEOUT"},
        {R"({"auditions": [{"id": 1}, {"id": 1, "AUDITION_TYPE": "Net"}]})", "auditions[1].id"},
        {"{", "document"},
        {R"({"settings": {"DATA_DIRECTORY": 1e400}})", "document"}, // a number overflow
    };
    for (const auto& c : cases) {
        ConfigSnapshot snapshot;
        ConfigErrors errors;
        EXPECT_FALSE(CConfigDocument::Read(c.text, snapshot, errors)) << c.text;
        EXPECT_TRUE(std::any_of(errors.begin(), errors.end(), [&](const ConfigError& e) {
            return e.field == c.place && !e.message.empty();
        })) << c.text;
    }
}

} // namespace
