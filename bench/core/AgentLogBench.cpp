// Scanning an agent log of 100,000 lines, all but the last taken over, for its
// one unprocessed line (open, scan, close), against simply reading the file.
#include "LMLogFile.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kLines = 100000;

class AgentLog {
public:
    AgentLog() {
        char pattern[] = "/tmp/tarn-bench-XXXXXX";
        int fd = ::mkstemp(pattern);
        m_path = pattern;
        std::string content;
        for (int i = 1; i <= kLines; ++i) {
            content += i < kLines ? "00000000000000" : "19980301235959";
            content +=
                ";ALPHA;2;Spooler;;1;2;7036;Der Dienst \"Druckwarteschlange\" wurde beendet (" +
                std::to_string(i) + ").\r\n";
        }
        m_size = content.size();
        if (fd < 0 || ::write(fd, content.data(), content.size()) != static_cast<ssize_t>(m_size))
            std::perror("writing the benchmark log");
        ::close(fd);
    }
    ~AgentLog() { ::unlink(m_path.c_str()); }
    const std::string& Path() const { return m_path; }
    size_t Size() const { return m_size; }

private:
    std::string m_path;
    size_t m_size = 0;
};

const AgentLog& Log() {
    static AgentLog log;
    return log;
}

void ScanForTheUnprocessedLine(benchmark::State& state) {
    const AgentLog& log = Log();
    for (auto _ : state) {
        LMLogFile file;
        AgentLogEntry entry;
        bool found =
            file.Open(log.Path()) && file.SeekToEntry(1) && file.ReadNextEntry("alpha", entry);
        file.Close();
        if (!found || entry.EventID != kLines)
            state.SkipWithError("the unprocessed line was not found");
        benchmark::DoNotOptimize(entry);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * log.Size()));
}

void ReadTheWholeFile(benchmark::State& state) {
    const AgentLog& log = Log();
    std::vector<char> buffer(256 * 1024);
    for (auto _ : state) {
        int fd = ::open(log.Path().c_str(), O_RDONLY);
        size_t total = 0;
        ssize_t n;
        while ((n = ::read(fd, buffer.data(), buffer.size())) > 0)
            total += static_cast<size_t>(n);
        ::close(fd);
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * log.Size()));
}

BENCHMARK(ScanForTheUnprocessedLine)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadTheWholeFile)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
