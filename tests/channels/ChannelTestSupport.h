// Shared by the channel tests: a fresh installation in a temporary directory
// (configuration and history files with one open problem, a registry file),
// the console's recorder and caches over it, and the channels with the real
// libraries. Each test gives the channels the print path it needs.
#pragma once

#include "CDBEngineTARN.h"
#include "HistoryRecorder.h"
#include "IConsoleView.h"
#include "MailLibrary.h"
#include "NotificationCaches.h"
#include "NotificationChannels.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

struct ViewLine {
    int kind;
    std::string computer;
    std::string audition;
    std::string text;
};

class CRecordingView : public IConsoleView {
public:
    void AddEventViewLine(int kind, const std::string& computer, const std::string& audition,
                          const std::string& text) override;
    std::vector<ViewLine> Lines() const;

private:
    mutable std::mutex m_lock;
    std::vector<ViewLine> m_lines;
};

// Keeps what it is asked to print; answers as it is told.
class CRecordingPrinter : public IDocumentPrinter {
public:
    struct Document {
        std::string queue;
        std::string name;
        std::vector<std::string> lines;
    };
    bool PrintDocument(const std::string& queue, const std::string& documentName,
                       const std::vector<std::string>& lines) override;
    bool succeed = true;
    std::vector<Document> documents;
};

class ChannelTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The channels, made on first use (so that a test can set up the
    // environment the gateway link and the libraries read first).
    CNotificationChannels& Channels();
    // A job of the open problem for the notification "Bereitschaft" at the stage.
    NotificationJob MakeJob(int32_t stage = NOTIFY_STAGE_OCCURRED) const;
    // Changes the stored service settings and reloads the caches.
    void ChangeServices(const std::function<void(DBNotifySrvConfig&)>& change);
    // The history events of the open problem.
    std::vector<DBHEvent> Events();
    // Replaces the registry file's content.
    void WriteRegistry(const std::string& content) const;
    std::string ReadRegistry() const;

    std::string m_dir; // ends with "/"
    std::string m_registryPath;
    std::string m_mailLibraryPath;
    std::string m_gatewayProgram;
    IDocumentPrinter* m_printer = nullptr; // the recording printer unless set
    CRecordingPrinter m_recordingPrinter;
    CRecordingView m_view;
    int32_t m_problemID = 0;

    std::unique_ptr<CDBEngineTARN> m_database;
    std::unique_ptr<CHistoryRecorder> m_recorder;
    CNotificationCaches m_caches;
    std::mutex m_sendLock;
    std::unique_ptr<CGatewayLink> m_gateway;
    std::unique_ptr<CNotificationChannels> m_channels;
};

// The four parts of a channel's event text: sentence, status line, result label, result.
std::string ExpectedEventText(const std::string& sentence, const std::string& status,
                              const std::string& result);
std::string ReadWholeFile(const std::string& path);
