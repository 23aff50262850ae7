#include "AgentConfigCache.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

using List = std::vector<std::string>;

class AgentConfigCacheTest : public testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tarn-test-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_dir = pattern;
        m_path = m_dir + "/TARN.CFG";
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }
    void Write(const std::string& path, const std::string& apps) {
        std::ofstream(path, std::ios::trunc) << "[alpha]\r\n" << apps;
    }

    std::string m_dir, m_path;
    CAgentConfigCache m_cache;
};

TEST_F(AgentConfigCacheTest, ListsFollowEveryChangeOfTheFile) {
    Write(m_path, "App1=a.exe\r\n");
    EXPECT_EQ(m_cache.GetList(m_path, "alpha", "App"), List{"a.exe"});
    EXPECT_EQ(m_cache.GetList(m_path, "alpha", "Service"), List{});

    Write(m_path, "App1=b.exe\r\n"); // rewritten in place, same length
    EXPECT_EQ(m_cache.GetList(m_path, "alpha", "App"), List{"b.exe"});

    Write(m_path + ".new", "App1=c.exe\r\nApp2=d.exe\r\n");
    ASSERT_EQ(std::rename((m_path + ".new").c_str(), m_path.c_str()), 0); // replaced
    EXPECT_EQ(m_cache.GetList(m_path, "alpha", "App"), (List{"c.exe", "d.exe"}));

    ASSERT_EQ(::unlink(m_path.c_str()), 0);
    EXPECT_EQ(m_cache.GetList(m_path, "alpha", "App"), List{});
}

} // namespace
