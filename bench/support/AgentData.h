// A data directory as agents leave it: TARN.CFG listing every computer with its
// applications and services, and per computer an information file of a running
// agent and a log whose lines are nearly all taken over already.
#pragma once

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

struct AgentDataLayout {
    int Computers = 100;
    int AppsPerComputer = 5;
    int ServicesPerComputer = 5;
    int LogLines = 10000;
    int OpenLinesPerLog = 10; // of other modules, never taken over
};

inline std::string BenchComputer(int i) {
    return "host" + std::to_string(i);
}
inline std::string BenchAppModule(int i) {
    return "app" + std::to_string(i) + ".exe";
}
inline std::string BenchServiceName(int i) {
    return "svc" + std::to_string(i);
}

// dir ends with "/".
inline void WriteAgentData(const std::string& dir, const AgentDataLayout& layout) {
    namespace fs = std::filesystem;
    std::ofstream cfg(dir + "TARN.CFG");
    cfg << "[Server]\r\n";
    for (int c = 0; c < layout.Computers; ++c)
        cfg << "Server" << c + 1 << "=" << BenchComputer(c) << "\r\n";
    for (int c = 0; c < layout.Computers; ++c) {
        const std::string name = BenchComputer(c);
        cfg << "[" << name << "]\r\n";
        for (int a = 0; a < layout.AppsPerComputer; ++a)
            cfg << "App" << a + 1 << "=" << BenchAppModule(a) << "\r\n";
        for (int s = 0; s < layout.ServicesPerComputer; ++s)
            cfg << "Service" << s + 1 << "=" << BenchServiceName(s) << ";" << BenchServiceName(s)
                << ";Service " << s << "\r\n";
        fs::create_directories(dir + name);
        std::ofstream(dir + name + "/" + name + ".INI")
            << "[Information]\r\nTARNStartDate=20240115080000\r\nLastTouch=20240115120000\r\n";
        std::ofstream log(dir + name + "/" + name + ".log");
        const int openEvery = std::max(1, layout.LogLines / std::max(1, layout.OpenLinesPerLog));
        for (int i = 0; i < layout.LogLines; ++i) {
            const bool open = i % openEvery == 0;
            log << (open ? "20240115100000" : "00000000000000") << ";" << name << ";1;"
                << (i % 2 ? BenchServiceName(i % 7) : "") << ";"
                << (open ? "other.exe" : BenchAppModule(i % 7)) << ";1;" << (i % 2 ? 2 : 1)
                << ";0;the application stopped unexpectedly\r\n";
        }
    }
    cfg.close();
    // An agent configuration written just now is read anew at every check.
    fs::last_write_time(dir + "TARN.CFG", fs::file_time_type::clock::now() - std::chrono::hours(1));
}

// One more line in every log, of a module no audition watches.
inline void AppendToEveryLog(const std::string& dir, const AgentDataLayout& layout) {
    for (int c = 0; c < layout.Computers; ++c) {
        const std::string name = BenchComputer(c);
        std::ofstream(dir + name + "/" + name + ".log", std::ios::app)
            << "20240115110000;" << name << ";1;;other.exe;1;1;0;a new line\r\n";
    }
}
