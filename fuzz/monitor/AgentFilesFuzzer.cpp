// Feeds arbitrary bytes as the files of one agent: the input is split at the
// first two NUL bytes into the information file "PC1/PC1.INI", "TARN.CFG" and
// a result file, written into a data directory of the fuzzer's own. Runs a
// pass of the console's agent exchange over them (liveness, whether the agent
// performs a service and an application audition, the inventory) and reads
// the result. Checks that an agent is alive exactly when it names its start,
// that an audition counts as performed only for a live agent listed in
// "TARN.CFG", that the inventory keeps only entries of the right shape, and
// that a result is success or an error code to show.
#include "AgentActions.h"
#include "AgentExchange.h"
#include "FuzzSupport.h"
#include "IniFile.h"
#include "LUTool.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/stat.h>

namespace {

class CNoEvents : public IEventViewSink {
public:
    void AddEventViewLine(int, const std::string&, const std::string&,
                          const std::string&) override {}
};

std::string g_dataDirectory;

void WriteFile(const std::string& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), bytes.size());
}

AuditionEntry AgentAudition(AuditionType type) {
    AuditionEntry entry;
    entry.Definition.AUDITION_TYPE = static_cast<int32_t>(type);
    entry.Definition.AgentComputer = "PC1";
    entry.Definition.Service.SERVICE_MODULE = "Spooler";
    entry.Definition.App.APP_MODULE = "notepad.exe";
    return entry;
}

std::string_view Piece(std::string_view& rest) {
    const size_t end = rest.find('\0');
    const std::string_view piece = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
    return piece;
}

void CheckResult(std::string_view file) {
    const std::string value = CIniFile::Parse(file).GetString("Results", "Result1");
    std::string code;
    if (!ParseActionResult(value, code)) {
        Require(!code.empty());
        Require(code == "-1" || code.find_first_not_of("+-0123456789") == std::string::npos);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    LUTool().SetOutputs(0);
    g_dataDirectory = FuzzScratchDirectory("/dev/shm") + "/";
    ::mkdir((g_dataDirectory + "PC1").c_str(), 0700);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    WriteFile(g_dataDirectory + "PC1/PC1.INI", Piece(rest));
    WriteFile(g_dataDirectory + "TARN.CFG", Piece(rest));

    CComputerList computers;
    CNoEvents events;
    CAgentExchange exchange(computers, events, [] { return g_dataDirectory; });
    AuditionEntry service = AgentAudition(AuditionType::Service);
    AuditionEntry app = AgentAudition(AuditionType::App);
    exchange.RegisterAgentComputer(service);
    exchange.RegisterAgentComputer(app);
    exchange.CheckAgentLiveness();
    const AgentComputer computer = exchange.GetAgentComputer("PC1");
    Require(computer.Alive == !computer.TARNStartDate.empty());

    const auto inventory = BuildAgentInventory(exchange.GlobalConfigFile());
    const bool listed =
        std::any_of(inventory.begin(), inventory.end(),
                    [](const AgentInventoryComputer& c) { return c.Name == "PC1"; });
    for (AuditionEntry* entry : {&service, &app}) {
        if (exchange.CheckAgentPerforms(*entry))
            Require(computer.Alive && listed);
        Require(entry->AgentPerforms == exchange.CheckAgentPerforms(*entry));
    }
    for (const AgentInventoryComputer& listedComputer : inventory) {
        for (const std::string& appName : listedComputer.Apps)
            Require(appName.find(';') == std::string::npos);
    }
    CheckResult(Piece(rest));
    return 0;
}
