#include "RegistryFile.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class RegistryFileTest : public testing::Test {
protected:
    TempDir dir;
    std::string path = dir.Path("registry.ini");
    CRegistryFile registry{path};
};

TEST_F(RegistryFileTest, ReadsValuesOfAKeyIgnoringCase) {
    TempDir::Write(path, "[SOFTWARE\\velda\\TARN!]\r\nOEMName=velda\r\nDebugLevel=3\r\n");
    EXPECT_TRUE(registry.KeyExists("software\\VELDA\\tarn!"));
    EXPECT_EQ(registry.ReadString(kTarnRegistryKey, "oemname"), "velda");
    EXPECT_EQ(registry.ReadString(kTarnRegistryKey, "Missing"), "");
    EXPECT_EQ(registry.ReadString("SOFTWARE\\Lipp&Grau\\Fax", "OEMName"), "");
}

TEST_F(RegistryFileTest, WritesOnlyWhereTheKeyExists) {
    const std::string before = "[SOFTWARE\\velda\\TARN!]\nReactivateSurv=0\n";
    TempDir::Write(path, before);
    EXPECT_FALSE(registry.WriteString("SOFTWARE\\Lipp&Grau\\Fax", "Number", "123"));
    EXPECT_FALSE(registry.WriteDword("SOFTWARE\\Lipp&Grau\\Fax", "Speed", 1));
    EXPECT_EQ(TempDir::Read(path), before);

    EXPECT_TRUE(registry.WriteDword(kTarnRegistryKey, "ReactivateSurv", 4294967295u));
    EXPECT_TRUE(registry.WriteString(kTarnRegistryKey, "OEMName", "Firma M\xC3\xBCller"));
    EXPECT_EQ(TempDir::Read(path), "[SOFTWARE\\velda\\TARN!]\nReactivateSurv=4294967295\n"
                                   "OEMName=Firma M\xC3\xBCller\n");
}

TEST_F(RegistryFileTest, MissingFileHasNoKeysAndIsNotCreatedByWrites) {
    EXPECT_FALSE(registry.KeyExists(kTarnRegistryKey));
    EXPECT_FALSE(registry.WriteString(kTarnRegistryKey, "OEMName", "x"));
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(RegistryFileTest, CreateKeyMakesAnEmptySectionOnce) {
    EXPECT_TRUE(registry.CreateKey(kTarnRegistryKey));
    EXPECT_TRUE(registry.CreateKey("software\\velda\\tarn!"));
    EXPECT_EQ(TempDir::Read(path), "[SOFTWARE\\velda\\TARN!]\r\n");
    EXPECT_TRUE(registry.WriteDword(kTarnRegistryKey, "DebugLevel", 2));
    EXPECT_EQ(registry.ReadString(kTarnRegistryKey, "DebugLevel"), "2");
}

TEST(RegistryFileDefaultPath, FromTheEnvironment) {
    const char* oldRegistry = std::getenv("TARN_REGISTRY");
    const char* oldHome = std::getenv("TARN_HOME");
    std::string savedRegistry = oldRegistry ? oldRegistry : "";
    std::string savedHome = oldHome ? oldHome : "";

    ::setenv("TARN_REGISTRY", "/etc/tarn/reg.ini", 1);
    ::setenv("TARN_HOME", "/srv/tarn", 1);
    EXPECT_EQ(CRegistryFile::DefaultPath(), "/etc/tarn/reg.ini");
    ::unsetenv("TARN_REGISTRY");
    EXPECT_EQ(CRegistryFile::DefaultPath(), "/srv/tarn/registry.ini");

    oldRegistry ? ::setenv("TARN_REGISTRY", savedRegistry.c_str(), 1) : ::unsetenv("TARN_REGISTRY");
    oldHome ? ::setenv("TARN_HOME", savedHome.c_str(), 1) : ::unsetenv("TARN_HOME");
}

} // namespace
