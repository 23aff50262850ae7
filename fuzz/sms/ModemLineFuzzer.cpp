// Feeds arbitrary bytes, split into lines at CR and LF as the modem sends
// them, to the reading of the modem's result codes. Checks that only the
// result texts of the table count as a result, that every result maps to a
// dial result, and that echoes and information lines (RING, CARRIER ...)
// never do.
#include "FuzzSupport.h"
#include "SmsModem.h"

#include <cstdint>
#include <string>

namespace {

bool IsResultText(const std::string& line) {
    return line == "OK" || line.rfind("CONNECT", 0) == 0 || line == "BUSY" ||
           line == "NO CARRIER" || line == "NO ANSWER" || line == "NO DIALTONE" ||
           line == "NO DIAL TONE" || line == "ERROR";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (size_t start = 0; start <= text.size();) {
        const size_t end = text.find_first_of("\r\n", start);
        const std::string line = text.substr(start, end - start);
        const CSmsModem::Reply reply = CSmsModem::Classify(line);
        Require((reply != CSmsModem::Reply::None) == IsResultText(line));
        const int dial = CSmsModem::DialResultOf(reply);
        Require(dial >= 0 && dial <= 5);
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return 0;
}
