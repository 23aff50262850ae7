#include "AgentSandbox.h"

#include "IniFile.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

CAgentSandbox::CAgentSandbox() {
    char pattern[] = "/tmp/tarn-agent-test-XXXXXX";
    m_strRoot = std::string(::mkdtemp(pattern)) + "/";
    m_strData = m_strRoot + "data/";
    std::filesystem::create_directories(m_strData);
}

CAgentSandbox::~CAgentSandbox() {
    std::filesystem::remove_all(m_strRoot);
}

AgentConfig CAgentSandbox::Config() const {
    AgentConfig config;
    config.Computer = "alpha";
    config.DataDirectory = m_strData;
    config.StateFile = m_strRoot + "state.ini";
    config.Interval = std::chrono::seconds(1);
    config.WatchJournal = false;
    config.StopGrace = std::chrono::seconds(2);
    return config;
}

std::string CAgentSandbox::ReadFile(const std::string& path) const {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

void CAgentSandbox::WriteFile(const std::string& path, const std::string& text) const {
    std::ofstream(path, std::ios::binary) << text;
}

std::vector<std::string> CAgentSandbox::LogLines() const {
    std::vector<std::string> lines;
    std::istringstream text(ReadFile(Exchange() + "alpha.log"));
    for (std::string line; std::getline(text, line);)
        lines.push_back(line);
    return lines;
}

void CAgentSandbox::WriteCommand(const std::string& number, const std::string& line) const {
    CIniFile file = CIniFile::Parse("", Exchange() + "TARN" + number + ".TRA");
    file.SetValue("Commands", "Command1", line);
    file.Save();
}

std::string CAgentSandbox::Result(const std::string& number) const {
    return ReadProfileString(Exchange() + "TARN" + number + ".RLT", "Results", "Result1");
}

bool RunRoundsUntil(CAgent& agent, const std::function<bool()>& condition, int seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        agent.Round();
        if (condition())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    size_t begin = 0;
    for (;;) {
        size_t end = line.find(';', begin);
        fields.push_back(
            line.substr(begin, end == std::string::npos ? std::string::npos : end - begin));
        if (end == std::string::npos)
            return fields;
        begin = end + 1;
    }
}
