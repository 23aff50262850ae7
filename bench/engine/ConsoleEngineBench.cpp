// The whole headless console at work: the engine built as the headless console
// builds it (its event view writing standard output and the protocol file,
// the plug-in messages of a console without a display, the gateway link),
// started with both worker threads and the database thread, its audition
// list brought in line with a configuration database of 10,000 running
// auditions: 9,000 App and Service auditions on 300 agent computers, 900
// network auditions answered by a stand-in gateway and 100 log file
// auditions. One benchmark iteration is one pass of the audition thread; the
// period between passes is cut to 50 ms. Reported per pass: the processor
// time of the console (every thread of this process but the stand-in
// gateway's and the waiting benchmark thread's) as the iteration time, the
// wall time of the pass, and the resident memory. The same engine with no
// audition runs beside it as the baseline. Everything lies in /dev/shm when
// it exists (no disk flushes in the figures). Report medians:
// --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include "AgentData.h"
#include "CDBSchema.h"
#include "CHeadlessPluginUI.h"
#include "ConsoleEngine.h"
#include "HeadlessEventView.h"
#include "RegistryFile.h"
#include "StandInGateway.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <stdlib.h>
#include <thread>
#include <time.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int kComputers = 300;
constexpr int kAppsPerComputer = 15;
constexpr int kServicesPerComputer = 15;
constexpr int kLogLines = 1000;
constexpr int kNetAuditions = 900;
constexpr int kLogfileAuditions = 100;
constexpr std::chrono::milliseconds kPassPeriod{50};

double ProcessCpuSeconds() {
    timespec used{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used);
    return static_cast<double>(used.tv_sec) + static_cast<double>(used.tv_nsec) * 1e-9;
}

double ThreadCpuSeconds() {
    timespec used{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &used);
    return static_cast<double>(used.tv_sec) + static_cast<double>(used.tv_nsec) * 1e-9;
}

double ResidentMegabytes() {
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE)) / 1e6;
}

DBAudition NewAudition(AuditionType type, const std::string& name) {
    DBAudition audition;
    audition.AUDITION_ID = AUDITION_ID_NEW;
    audition.AUDITION_TYPE = static_cast<int32_t>(type);
    audition.NAME = name;
    audition.ACTIVE = true;
    return audition;
}

// An installation with its databases, data directory and stand-in gateway.
class Installation {
public:
    explicit Installation(bool withAuditions) {
        const std::string base = fs::exists("/dev/shm") ? "/dev/shm" : "/tmp";
        std::string pattern = base + "/tarn-engine-bench-XXXXXX";
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp");
        m_dir = pattern + "/";
        fs::create_directories(m_dir + "data");
        fs::create_directories(m_dir + "run");
        ::setenv("XDG_RUNTIME_DIR", (m_dir + "run").c_str(), 1);
        m_gateway = std::make_unique<StandInGateway>(m_dir + "run/");
        DBConfiguration configuration;
        configuration.DATA_DIRECTORY = m_dir + "data/";
        std::string error;
        if (!CDBSchema::CreateConfigurationFile(m_dir + "TARN.MDB", configuration,
                                                CDBSchema::DefaultNotifyServicesConfig(), error) ||
            !CDBSchema::CreateHistoryFile(m_dir + "HISTORY.MDB", error))
            throw std::runtime_error(error);
        bool config = false, history = false;
        if (!Database.Open(m_dir + "TARN.MDB", m_dir + "HISTORY.MDB", config, history))
            throw std::runtime_error("open");
        Settings.ProgramDirectory = m_dir + "bin/";
        Settings.InstallationDirectory = m_dir;
        Settings.RegistryFile = m_dir + "registry.ini";
        Settings.SetDataDirectory(m_dir + "data/");
        Settings.SetProtocolFile(m_dir + "TARN.LOG");
        CRegistryFile(Settings.RegistryFile).CreateKey(kTarnRegistryKey);
        if (withAuditions)
            StoreAuditions();
    }
    ~Installation() {
        Database.Close();
        m_gateway.reset();
        fs::remove_all(m_dir);
    }
    Installation(const Installation&) = delete;
    Installation& operator=(const Installation&) = delete;

    double GatewayCpuSeconds() { return m_gateway->CpuSeconds(); }

    CDBEngineTARN Database;
    CGlobalSettings Settings;

private:
    void StoreAuditions() {
        AgentDataLayout layout;
        layout.Computers = kComputers;
        layout.AppsPerComputer = kAppsPerComputer;
        layout.ServicesPerComputer = kServicesPerComputer;
        layout.LogLines = kLogLines;
        WriteAgentData(m_dir + "data/", layout);
        int n = 0;
        auto store = [&](DBAudition audition) {
            if (!Database.SetAudition(audition))
                throw std::runtime_error("storing an audition");
            ++n;
        };
        for (int c = 0; c < kComputers; ++c) {
            for (int a = 0; a < kAppsPerComputer; ++a) {
                DBAudition audition = NewAudition(AuditionType::App, "app " + std::to_string(n));
                audition.App.SERVER_PATH = BenchComputer(c);
                audition.App.APP_MODULE = BenchAppModule(a);
                store(audition);
            }
            for (int s = 0; s < kServicesPerComputer; ++s) {
                DBAudition audition =
                    NewAudition(AuditionType::Service, "service " + std::to_string(n));
                audition.Service.SERVER_PATH = BenchComputer(c);
                audition.Service.SERVICE_MODULE = audition.Service.SERVICE_NAME =
                    BenchServiceName(s);
                store(audition);
            }
        }
        for (int i = 0; i < kNetAuditions; ++i) {
            DBAudition audition = NewAudition(AuditionType::Net, "net " + std::to_string(i));
            audition.Net.SERVER_PATH = "net" + std::to_string(i);
            audition.Net.IP_ADDRESS = "127.0.0.1";
            audition.Net.CHECK_INTERVAL = 1;
            store(audition);
        }
        std::ofstream(m_dir + "watched.log") << "changes\n";
        for (int i = 0; i < kLogfileAuditions; ++i) {
            DBAudition audition = NewAudition(AuditionType::Logfile, "log " + std::to_string(i));
            audition.Logfile.LOGFILE = m_dir + "watched.log";
            audition.Logfile.CHECK_TYPE = 1; // must keep changing
            audition.Logfile.CHECK_INTERVAL = 5;
            store(audition);
        }
    }

    std::string m_dir;
    std::unique_ptr<StandInGateway> m_gateway;
};

void RunConsole(benchmark::State& state, bool withAuditions) {
    Installation installation(withAuditions);
    std::FILE* output = std::fopen("/dev/null", "w"); // the console's standard output
    CHeadlessEventView events([&] { return installation.Settings.GetProtocolFile(); }, output);
    CHeadlessPluginUI pluginUI(false);
    CGatewayLink gateway("/nonexistent/TARN_Gateway"); // the stand-in is already listening
    ConsoleEngineOptions options;
    options.AuditPeriod = kPassPeriod;
    CConsoleEngine engine(installation.Database, installation.Settings, &gateway, events, pluginUI,
                          options);
    engine.InitializeFrame();
    engine.SynchronizeAuditionList();
    auto waitForPass = [&engine](uint64_t after) {
        while (engine.GetAuditPassCount() <= after)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return engine.GetAuditPassCount();
    };
    uint64_t passes = waitForPass(0); // the first pass reads every log whole
    double wall = 0;
    for (auto _ : state) {
        const double cpuBefore =
            ProcessCpuSeconds() - installation.GatewayCpuSeconds() - ThreadCpuSeconds();
        const auto begin = std::chrono::steady_clock::now();
        const uint64_t now = waitForPass(passes);
        const double cpu =
            ProcessCpuSeconds() - installation.GatewayCpuSeconds() - ThreadCpuSeconds() - cpuBefore;
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
        state.SetIterationTime(cpu / static_cast<double>(now - passes));
        wall += seconds / static_cast<double>(now - passes);
        passes = now;
    }
    {
        CAuditionListLock lock(engine.GetAuditionList());
        state.counters["auditions"] = engine.GetAuditionList().GetSize();
    }
    state.counters["RSS_MB"] = ResidentMegabytes();
    state.counters["pass_ms"] = 1000 * (wall / static_cast<double>(state.iterations())) -
                                static_cast<double>(kPassPeriod.count());
    engine.ShutdownFrame();
    std::fclose(output);
}

} // namespace

BENCHMARK_CAPTURE(RunConsole, no_auditions, false)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(20);
BENCHMARK_CAPTURE(RunConsole, auditions_10000, true)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(20);

BENCHMARK_MAIN();
