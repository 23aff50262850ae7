// Feeds arbitrary bytes to the agent log line parser and, as a whole file, to
// the reader's scan-and-mark loop. Checks that a line parses exactly when it
// has nine fields, that its fields put together give the line back, and that
// marking changes nothing in the file but date characters turned into "0";
// and that every way of passing over taken lines agrees with the plain one.
#include "FieldText.h"
#include "FuzzSupport.h"
#include "LMLogFile.h"
#include "LUTool.h"
#include "TakenLineRun.h"
#include "TextEncoding.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace {

void CheckLineParser(std::string_view data) {
    std::string_view text = data.substr(0, std::min(data.find('\0'), data.size()));
    AgentLogEntry entry;
    bool parsed = ParseAgentLogLine(data, 7, entry);
    Require(parsed == (CountFields(text, ';') == kAgentLogFieldCount));
    if (!parsed || text.front() == ';')
        return;
    std::string joined = entry.Date + ";" + entry.Computer + ";" +
                         GetField(DecodeExternalText(text), 3, ';') + ";" + entry.SourceName + ";" +
                         entry.SourceModuleName + ";" + GetField(DecodeExternalText(text), 6, ';') +
                         ";" + GetField(DecodeExternalText(text), 7, ';') + ";" + entry.InfoID +
                         ";" + entry.EventDescription;
    Require(joined == DecodeExternalText(text));
    Require(entry.EventID == 7);
}

std::string ReadAll(int fd) {
    std::string bytes;
    char buffer[4096];
    off_t offset = 0;
    ssize_t n;
    while ((n = ::pread(fd, buffer, sizeof buffer, offset)) > 0) {
        bytes.append(buffer, static_cast<size_t>(n));
        offset += n;
    }
    return bytes;
}

// A real file in a directory of the fuzzer's own: the reader opens agent logs
// only from their directory and never through a link (/proc/self/fd/N is one).
std::string g_logPath;

void CheckScanAndMark(std::string_view data) {
    int fd = ::open(g_logPath.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    Require(::write(fd, data.data(), data.size()) == static_cast<ssize_t>(data.size()));
    {
        LMLogFile file([](std::chrono::milliseconds) {});
        Require(file.Open(g_logPath));
        AgentLogEntry entry;
        for (int taken = 0; taken < 64 && file.SeekToEntry(1) && file.ReadNextEntry("ALPHA", entry);
             ++taken) {
            Require(EqualsNoCase(entry.Computer, "ALPHA") && entry.Source != 0 && entry.Type != 0);
            Require(file.MarkProcessed(entry.EventID)); // a line the scan takes can be marked
        }
    }
    std::string after = ReadAll(fd);
    ::close(fd);
    Require(after.size() == data.size());
    for (size_t i = 0; i < after.size(); ++i)
        Require(after[i] == data[i] || (after[i] == '0' && data[i] != ';' && data[i] != '\n'));
}

void CheckTakenLineRun(std::string_view data) {
    int32_t expectedLines = 0;
    const size_t expected = SkipTakenLinesPlain(data, expectedLines);
    for (const TakenLineSkipper& skipper : TakenLineSkippers()) {
        int32_t lines = 0;
        Require(skipper.Skip(data, lines) == expected && lines == expectedLines);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    LUTool().SetOutputs(0); // misuse reports are not expected; keep the disk quiet
    g_logPath = FuzzScratchDirectory("/tmp") + "/ALPHA.log";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    std::string_view data(reinterpret_cast<const char*>(bytes), size);
    CheckLineParser(data);
    CheckScanAndMark(data);
    CheckTakenLineRun(data);
    return 0;
}
