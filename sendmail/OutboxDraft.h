// A message being written into the outbox: a hidden file (".tmp-...") that
// the outbox ignores until Queue() gives it its final name. A draft that is
// never queued is removed again.
#pragma once

#include <string>

class COutboxDraft {
public:
    // Creates the hidden file; Valid() tells whether that worked.
    explicit COutboxDraft(int outbox);
    ~COutboxDraft();
    COutboxDraft(const COutboxDraft&) = delete;
    COutboxDraft& operator=(const COutboxDraft&) = delete;

    bool Valid() const { return m_file >= 0; }
    int File() const { return m_file; }

    // Makes the completely written message visible in the outbox under a name
    // that sorts by creation time, durably (file and folder synced).
    bool Queue();

private:
    int m_outbox;
    int m_file = -1;
    std::string m_strHiddenName;
    bool m_bQueued = false;
};
