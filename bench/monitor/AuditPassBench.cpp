// One pass of the audition thread, without waiting, over 1,000 running App and
// Service auditions on 100 agent computers whose logs hold 10,000 lines each
// (nearly all already taken over), plus 100 network auditions answered by a
// stand-in gateway listening on the gateway's socket. Variants time the parts:
// the agent auditions alone and the network auditions alone. The steady passes
// time what the running console does: the same auditions pass after pass, one
// new line in every log before each pass, with logs of 10,000 and of 100,000
// lines (their cost should not depend on the size of the logs).
#include "AgentData.h"
#include "AuditThread.h"
#include "GatewayLink.h"
#include "GatewayPinger.h"
#include "StandInGateway.h"
#include "TARNTool.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <filesystem>
#include <stdlib.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int kComputers = 100;
constexpr int kAppsPerComputer = 5;
constexpr int kServicesPerComputer = 5;
constexpr int kLogLines = 10000;
constexpr int kLongLogLines = 100000;
constexpr int kOpenLinesPerLog = 10; // lines of other modules, never taken over
constexpr int kNetAuditions = 100;

class NullHost : public IAuditionHost {
public:
    void AddEventViewLine(int, const std::string&, const std::string&,
                          const std::string&) override {
        ++lines;
    }
    void CheckOpenProblems(AuditionEntry&) override {}
    bool OnAuditionError(AuditionEntry) override {
        ++errors;
        return true;
    }
    std::atomic<int> lines{0}, errors{0};
};

class World {
public:
    explicit World(int logLines) {
        m_layout.Computers = kComputers;
        m_layout.AppsPerComputer = kAppsPerComputer;
        m_layout.ServicesPerComputer = kServicesPerComputer;
        m_layout.LogLines = logLines;
        m_layout.OpenLinesPerLog = kOpenLinesPerLog;
        char pattern[] = "/tmp/tarn-bench-XXXXXX";
        if (!::mkdtemp(pattern))
            std::abort();
        m_dir = std::string(pattern) + "/";
        fs::create_directories(m_dir + "run");
        ::setenv("XDG_RUNTIME_DIR", (m_dir + "run").c_str(), 1);
        WriteAgentData(m_dir, m_layout);
        m_gateway = std::make_unique<StandInGateway>(m_dir + "run/");
    }
    ~World() {
        m_gateway.reset();
        fs::remove_all(m_dir);
    }
    const std::string& Dir() const { return m_dir; }
    int LogLines() const { return m_layout.LogLines; }
    // One more line in every log, of a module no audition watches.
    void AppendToEveryLog() { ::AppendToEveryLog(m_dir, m_layout); }

private:
    AgentDataLayout m_layout;
    std::string m_dir;
    std::unique_ptr<StandInGateway> m_gateway;
};

// One world at a time: each has the gateway socket of XDG_RUNTIME_DIR.
World& TheWorld(int logLines) {
    static std::unique_ptr<World> world;
    if (!world || world->LogLines() != logLines) {
        world.reset();
        world = std::make_unique<World>(logLines);
    }
    return *world;
}

void FillList(CAuditionList& list, CAuditThread& thread, bool agents, bool network) {
    int32_t id = 1;
    auto add = [&](DBAudition audition) {
        audition.AUDITION_ID = id++;
        audition.NAME = "audition " + std::to_string(audition.AUDITION_ID);
        list.AddAudition(audition);
        AuditionEntry entry = list.GetAt(list.GetSize() - 1);
        thread.StartAudition(entry);
        list.SetAt(list.GetSize() - 1, entry);
    };
    for (int c = 0; agents && c < kComputers; ++c) {
        for (int a = 0; a < kAppsPerComputer; ++a) {
            DBAudition audition;
            audition.AUDITION_TYPE = static_cast<int32_t>(AuditionType::App);
            audition.AgentComputer = audition.App.SERVER_PATH = BenchComputer(c);
            audition.App.APP_MODULE = BenchAppModule(a);
            add(audition);
        }
        for (int s = 0; s < kServicesPerComputer; ++s) {
            DBAudition audition;
            audition.AUDITION_TYPE = static_cast<int32_t>(AuditionType::Service);
            audition.AgentComputer = audition.Service.SERVER_PATH = BenchComputer(c);
            audition.Service.SERVICE_MODULE = audition.Service.SERVICE_NAME = BenchServiceName(s);
            add(audition);
        }
    }
    for (int n = 0; network && n < kNetAuditions; ++n) {
        DBAudition audition;
        audition.AUDITION_TYPE = static_cast<int32_t>(AuditionType::Net);
        audition.Net.SERVER_PATH = "net" + std::to_string(n);
        audition.Net.IP_ADDRESS = "127.0.0.1";
        add(audition);
    }
}

void RunPasses(benchmark::State& state, bool agents, bool network) {
    World& world = TheWorld(kLogLines);
    NullHost host;
    CComputerList computers;
    CAgentExchange exchange(computers, host, [&world] { return world.Dir(); });
    CGatewayLink link("/nonexistent/TARN_Gateway"); // the stand-in is already listening
    CGatewayPinger pinger(link);
    CEvent stop(true, false);
    int auditions = 0;
    for (auto _ : state) {
        state.PauseTiming();
        CAuditionList list;
        CAuditThread thread(host, list, exchange, pinger, stop);
        FillList(list, thread, agents, network);
        auditions = list.GetSize();
        state.ResumeTiming();
        thread.RunPass();
    }
    if (host.errors != 0)
        state.SkipWithError("an audition signalled an error");
    state.counters["auditions"] = auditions;
}

void RunSteadyPasses(benchmark::State& state, int logLines) {
    World& world = TheWorld(logLines);
    NullHost host;
    CComputerList computers;
    CAgentExchange exchange(computers, host, [&world] { return world.Dir(); });
    CGatewayLink link("/nonexistent/TARN_Gateway");
    CGatewayPinger pinger(link);
    CEvent stop(true, false);
    CAuditionList list;
    CAuditThread thread(host, list, exchange, pinger, stop);
    FillList(list, thread, true, true);
    thread.RunPass(); // the first pass reads every log once
    for (auto _ : state) {
        state.PauseTiming();
        world.AppendToEveryLog();
        state.ResumeTiming();
        thread.RunPass();
    }
    if (host.errors != 0)
        state.SkipWithError("an audition signalled an error");
    state.counters["auditions"] = list.GetSize();
    state.counters["checks/s"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * list.GetSize(), benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK_CAPTURE(RunSteadyPasses, logs_of_10000_lines, kLogLines)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(RunSteadyPasses, logs_of_100000_lines, kLongLogLines)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(RunPasses, agent_and_network_auditions, true, true)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(RunPasses, agent_auditions_only, true, false)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(RunPasses, network_auditions_only, false, true)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK_MAIN();
