// The journal as the NT event log: entries of priority emergency to error
// (TYPE 1) and warning (TYPE 2), chosen by exact PRIORITY= matches. Entries of
// system units and the kernel are the system log (SOURCE 1); those of user
// units, sessions and other programs the application log (SOURCE 2). The read
// position is a journal cursor that the agent keeps in its state file, so that
// an agent restart neither loses nor repeats an entry.
#pragma once

#include "ErrorLine.h"

#include <cstdint>
#include <string>
#include <vector>

struct sd_journal;

class CJournalReader {
public:
    CJournalReader() = default;
    ~CJournalReader();
    CJournalReader(const CJournalReader&) = delete;
    CJournalReader& operator=(const CJournalReader&) = delete;

    // The journal files of a directory, or the local journal when it is empty;
    // only entries of the listed syslog identifiers when there are any.
    bool Open(const std::string& directory, const std::vector<std::string>& identifiers,
              std::string& reason);
    // Where to go on: after the entry of the cursor, or, without one, from
    // the time given (microseconds since the epoch; the agent's first start).
    void SetPosition(const std::string& cursor, uint64_t sinceUsec);
    // Up to maxEntries new entries as error lines; the cursor moves past them.
    std::vector<ErrorLine> ReadNew(size_t maxEntries);
    const std::string& Cursor() const { return m_strCursor; }

private:
    bool Seek();
    ErrorLine EntryLine();
    std::string Field(const char* name);

    sd_journal* m_pJournal = nullptr;
    std::string m_strCursor;
    uint64_t m_nSinceUsec = 0;
    bool m_bPositioned = false;
    bool m_bCurrentIsNew = false; // the reader stands on an entry not yet read
};
