#include "JournalReader.h"

#include <cstdlib>
#include <cstring>
#include <systemd/sd-journal.h>
#include <unistd.h>

namespace {

constexpr size_t kMaxFieldLength = 64 * 1024;

bool StartsWith(const std::string& text, const char* head) {
    return text.compare(0, std::strlen(head), head) == 0;
}

} // namespace

CJournalReader::~CJournalReader() {
    if (m_pJournal != nullptr)
        sd_journal_close(m_pJournal);
}

bool CJournalReader::Open(const std::string& directory, const std::vector<std::string>& identifiers,
                          std::string& reason) {
    int result = directory.empty() ? sd_journal_open(&m_pJournal, SD_JOURNAL_LOCAL_ONLY)
                                   : sd_journal_open_directory(&m_pJournal, directory.c_str(), 0);
    if (result < 0) {
        reason = std::string("the journal cannot be opened: ") + std::strerror(-result);
        m_pJournal = nullptr;
        return false;
    }
    sd_journal_set_data_threshold(m_pJournal, kMaxFieldLength);
    sd_journal_get_fd(m_pJournal); // lets sd_journal_process notice new journal files
    // Matches of one field are alternatives: these five priorities, no range.
    for (const char* priority :
         {"PRIORITY=0", "PRIORITY=1", "PRIORITY=2", "PRIORITY=3", "PRIORITY=4"})
        sd_journal_add_match(m_pJournal, priority, 0);
    if (!identifiers.empty()) {
        sd_journal_add_conjunction(m_pJournal);
        for (const std::string& identifier : identifiers)
            sd_journal_add_match(m_pJournal, ("SYSLOG_IDENTIFIER=" + identifier).c_str(), 0);
    }
    return true;
}

void CJournalReader::SetPosition(const std::string& cursor, uint64_t sinceUsec) {
    m_strCursor = cursor;
    m_nSinceUsec = sinceUsec;
    m_bPositioned = false;
}

bool CJournalReader::Seek() {
    if (!m_strCursor.empty()) {
        if (sd_journal_seek_cursor(m_pJournal, m_strCursor.c_str()) < 0)
            return false;
        // The entry at the cursor was read before; when it is gone (rotated
        // away) the reader stands on the next one, which is new.
        m_bCurrentIsNew = sd_journal_next(m_pJournal) > 0 &&
                          sd_journal_test_cursor(m_pJournal, m_strCursor.c_str()) <= 0;
        return true;
    }
    return sd_journal_seek_realtime_usec(m_pJournal, m_nSinceUsec) >= 0;
}

std::string CJournalReader::Field(const char* name) {
    const void* data = nullptr;
    size_t length = 0;
    if (sd_journal_get_data(m_pJournal, name, &data, &length) < 0)
        return {};
    const size_t prefix = std::strlen(name) + 1; // "NAME="
    if (length < prefix)
        return {};
    return std::string(static_cast<const char*>(data) + prefix, length - prefix);
}

ErrorLine CJournalReader::EntryLine() {
    ErrorLine line;
    uint64_t usec = 0;
    sd_journal_get_realtime_usec(m_pJournal, &usec);
    line.When = static_cast<std::time_t>(usec / 1000000);
    const std::string unit = Field("_SYSTEMD_UNIT");
    const bool userUnit = !Field("_SYSTEMD_USER_UNIT").empty();
    const bool systemUnit =
        !unit.empty() && !userUnit && !StartsWith(unit, "session-") && !StartsWith(unit, "user@");
    line.Source =
        systemUnit || Field("_TRANSPORT") == "kernel" ? kSourceSystemLog : kSourceApplicationLog;
    line.Type = Field("PRIORITY") == "4" ? kTypeWarning : kTypeError;
    line.SourceName = Field("SYSLOG_IDENTIFIER");
    if (line.SourceName.empty())
        line.SourceName = Field("_COMM");
    const std::string messageId = Field("MESSAGE_ID");
    line.InfoId = messageId.empty() ? "0" : messageId;
    line.Description = Field("MESSAGE");
    return line;
}

std::vector<ErrorLine> CJournalReader::ReadNew(size_t maxEntries) {
    std::vector<ErrorLine> lines;
    if (m_pJournal == nullptr)
        return lines;
    if (!m_bPositioned) {
        if (!Seek())
            return lines;
        m_bPositioned = true;
    }
    sd_journal_process(m_pJournal);
    const std::string ownPid = std::to_string(::getpid());
    while (lines.size() < maxEntries && (m_bCurrentIsNew || sd_journal_next(m_pJournal) > 0)) {
        m_bCurrentIsNew = false;
        // The agent's own warnings would come back as lines of their own.
        if (Field("_PID") != ownPid)
            lines.push_back(EntryLine());
        char* cursor = nullptr;
        if (sd_journal_get_cursor(m_pJournal, &cursor) >= 0) {
            m_strCursor = cursor;
            std::free(cursor);
        }
    }
    return lines;
}
