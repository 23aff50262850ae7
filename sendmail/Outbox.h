// The outbox folder of a message store, which is also the queue of messages
// waiting for submission: every visible "*.eml" file is one complete RFC 5322
// message. A message leaves the outbox only after the submission command has
// accepted it; one that fails stays and is tried again at the next log-on or
// submission.
#pragma once

#include <memory>

class CMessageStore;
class COutboxDraft;
class CSubmitCommand;

class COutbox {
public:
    // Nothing when the store has no outbox folder or it does not open.
    static std::unique_ptr<COutbox> Open(const CMessageStore& store);
    ~COutbox();
    COutbox(const COutbox&) = delete;
    COutbox& operator=(const COutbox&) = delete;

    // A new hidden message file; nothing when it cannot be created.
    std::unique_ptr<COutboxDraft> CreateDraft() const;

    // Hands every waiting message to the command, oldest first, and removes the
    // ones it accepted. A message another caller is submitting is left to it.
    // Returns the number of messages still waiting that were tried and failed.
    int SubmitWaiting(const CSubmitCommand& command) const;

private:
    explicit COutbox(int directory) : m_directory(directory) {}
    bool SubmitOne(const char* name, const CSubmitCommand& command) const;
    void RemoveStaleDrafts() const;

    int m_directory;
};
