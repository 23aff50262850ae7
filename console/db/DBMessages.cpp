#include "DBMessages.h"

#include "MessageIds.h"
#include "StringTable.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace {

std::string FormatText(unsigned nId, ...) {
    std::string strFormat = LoadTarnString(nId);
    va_list args;
    va_start(args, nId);
    va_list copy;
    va_copy(copy, args);
    int nLength = std::vsnprintf(nullptr, 0, strFormat.c_str(), copy);
    va_end(copy);
    std::string strText;
    if (nLength > 0) {
        std::vector<char> buffer(static_cast<size_t>(nLength) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), strFormat.c_str(), args);
        strText.assign(buffer.data(), static_cast<size_t>(nLength));
    }
    va_end(args);
    return strText;
}

} // namespace

std::string FormatDBErrorText(const std::string& strOperation, const std::string& strDescription) {
    return FormatText(IDS_DB_ACCESS_ERROR, strOperation.c_str(), strDescription.c_str());
}

std::string FormatConversionFailedText(int nCurrentVersion, int nRequiredVersion) {
    return FormatText(IDS_DB_CONVERSION_FAILED, nCurrentVersion, nRequiredVersion);
}

void ReportDBError(IDBReporter& reporter, const std::string& strOperation,
                   const std::string& strDescription) {
    reporter.ReportError(FormatDBErrorText(strOperation, strDescription));
}
