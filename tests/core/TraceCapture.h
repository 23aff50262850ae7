// Test helper: points the process-wide trace object at a fresh file in a
// temporary folder and reads back what was written.
#pragma once

#include "LUTool.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

class TraceCapture {
public:
    TraceCapture() {
        char pattern[] = "/tmp/tarn-trace-XXXXXX";
        const char* dir = ::mkdtemp(pattern);
        EXPECT_NE(dir, nullptr);
        m_dir = dir ? dir : "/tmp";
        m_file = m_dir + "/TRC_TARN.LOG";
        m_oldFile = LUTool().GetFileName();
        m_oldOutputs = LUTool().GetOutputs();
        m_oldLevel = LUTool().GetLevel();
        m_oldMax = LUTool().GetMaxFileSize();
        LUTool().SetFileName(m_file);
        LUTool().SetOutputs(CLUTool::OutputFile);
        LUTool().SetMaxFileSize(100000);
    }
    ~TraceCapture() {
        LUTool().SetFileName(m_oldFile);
        LUTool().SetOutputs(m_oldOutputs);
        LUTool().SetLevel(m_oldLevel);
        LUTool().SetMaxFileSize(m_oldMax);
        LUTool().SetMessageSink(nullptr);
        std::string command = "rm -rf '" + m_dir + "'";
        [[maybe_unused]] int rc = std::system(command.c_str());
    }

    const std::string& Dir() const { return m_dir; }
    const std::string& File() const { return m_file; }

    std::string Text() const {
        std::ifstream in(m_file, std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }
    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        std::istringstream in(Text());
        std::string line;
        while (std::getline(in, line))
            lines.push_back(line);
        return lines;
    }
    // Number of assertion entries written so far.
    size_t AssertCount() const {
        size_t count = 0;
        for (const std::string& line : Lines())
            count += line.find("] Assert fehlgeschlagen!") != std::string::npos;
        return count;
    }
    // The "Beschreibung: " lines of all assertion entries, in order.
    std::vector<std::string> AssertDescriptions() const {
        std::vector<std::string> out;
        for (const std::string& line : Lines()) {
            if (line.rfind("Beschreibung: ", 0) == 0)
                out.push_back(line.substr(14));
        }
        return out;
    }
    void Clear() const { std::ofstream(m_file, std::ios::trunc); }

private:
    std::string m_dir, m_file, m_oldFile;
    uint32_t m_oldOutputs = 0, m_oldLevel = 0;
    int32_t m_oldMax = 0;
};
