#include "OutboxDraft.h"

#include "UniqueName.h"

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

COutboxDraft::COutboxDraft(int outbox) : m_outbox(outbox) {
    m_strHiddenName = ".tmp-" + UniqueName();
    m_file =
        ::openat(m_outbox, m_strHiddenName.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
}

COutboxDraft::~COutboxDraft() {
    if (m_file < 0)
        return;
    ::close(m_file);
    if (!m_bQueued)
        ::unlinkat(m_outbox, m_strHiddenName.c_str(), 0);
}

bool COutboxDraft::Queue() {
    if (m_file < 0 || ::fsync(m_file) != 0)
        return false;
    const std::string name = UniqueName() + ".eml";
    if (::renameat(m_outbox, m_strHiddenName.c_str(), m_outbox, name.c_str()) != 0)
        return false;
    m_bQueued = true;
    ::fsync(m_outbox);
    return true;
}
