// Median time of one ping request to 127.0.0.1 through CGatewayLink, with the
// gateway already running. Uses a private runtime directory, so a gateway of a
// running console is not disturbed. Needs root or CAP_NET_RAW (see docs/GATEWAY.md).
#include "GatewayLink.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

void BM_PingLoopbackThroughGateway(benchmark::State& state) {
    std::string dir =
        (std::filesystem::temp_directory_path() / "tarn-gateway-bench-XXXXXX").string();
    if (!::mkdtemp(dir.data())) {
        state.SkipWithError("no temporary directory");
        return;
    }
    ::setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
    CGatewayLink link(std::string(TARN_BIN_DIR) + "/" + GATEWAY_PROGRAM_NAME);
    // The first request starts the gateway; only the following ones are timed.
    const int32_t first = link.Ping("127.0.0.1", 1000);
    if (first != GATEWAY_PING_REPLY) {
        state.SkipWithError(("ping answered " + std::to_string(first)).c_str());
    } else {
        for (auto _ : state) {
            if (link.Ping("127.0.0.1", 1000) != GATEWAY_PING_REPLY)
                state.SkipWithError("a ping was not answered");
        }
    }
    link.Quit();
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_PingLoopbackThroughGateway)
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(200)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
