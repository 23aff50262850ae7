#include "ChannelTestSupport.h"

#include "CDBSchema.h"
#include "TARNTool.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

void CRecordingView::AddEventViewLine(int kind, const std::string& computer,
                                      const std::string& audition, const std::string& text) {
    std::lock_guard guard(m_lock);
    m_lines.push_back({kind, computer, audition, text});
}

std::vector<ViewLine> CRecordingView::Lines() const {
    std::lock_guard guard(m_lock);
    return m_lines;
}

bool CRecordingPrinter::PrintDocument(const std::string& queue, const std::string& documentName,
                                      const std::vector<std::string>& lines) {
    documents.push_back({queue, documentName, lines});
    return succeed;
}

void ChannelTest::SetUp() {
    std::string pattern = (fs::temp_directory_path() / "tarn-channels-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    m_dir = pattern + "/";
    m_registryPath = m_dir + "registry.ini";
    WriteRegistry("[SOFTWARE\\velda\\TARN!]\nDebugLevel=0\n");
    ::setenv("TARN_REGISTRY", m_registryPath.c_str(), 1);
    m_mailLibraryPath = std::string(TARN_BIN_DIR) + "/libLUSendMail.so";
    m_gatewayProgram = std::string(TARN_BIN_DIR) + "/TARN_Gateway";
    m_printer = &m_recordingPrinter;

    DBConfiguration configuration;
    configuration.DATA_DIRECTORY = m_dir + "data/";
    configuration.PROTOCOLFILE = m_dir + "protocol.log";
    std::string error;
    ASSERT_TRUE(CDBSchema::CreateConfigurationFile(m_dir + "TARN.MDB", configuration,
                                                   CDBSchema::DefaultNotifyServicesConfig(), error))
        << error;
    ASSERT_TRUE(CDBSchema::CreateHistoryFile(m_dir + "HISTORY.MDB", error)) << error;
    m_database = std::make_unique<CDBEngineTARN>();
    bool configOpened = false, historyOpened = false;
    ASSERT_TRUE(
        m_database->Open(m_dir + "TARN.MDB", m_dir + "HISTORY.MDB", configOpened, historyOpened));

    DBHProblem problem;
    problem.PROBLEM_ID = DB_KEY_NEW;
    problem.PROBLEM_STATUS = 1;
    problem.PROBLEM_DESCRIPTION = "Dienst angehalten";
    problem.PROBLEM_BEGIN = "20261209143000";
    problem.AUDITION_NAME = "Spooler-Dienst";
    problem.COMPUTER_NAME = "PC7";
    ASSERT_TRUE(m_database->SetProblem(problem));
    m_problemID = problem.PROBLEM_ID;
    m_recorder = std::make_unique<CHistoryRecorder>(*m_database, m_view);
    m_caches.Reload(*m_database);
}

void ChannelTest::TearDown() {
    m_channels.reset();
    m_gateway.reset();
    m_recorder.reset();
    m_database.reset();
    ::unsetenv("TARN_REGISTRY");
    std::error_code ignored;
    fs::remove_all(m_dir, ignored);
}

CNotificationChannels& ChannelTest::Channels() {
    if (!m_channels) {
        m_gateway = std::make_unique<CGatewayLink>(m_gatewayProgram);
        m_channels = std::make_unique<CNotificationChannels>(
            *m_recorder, m_sendLock, m_caches, m_gateway.get(), m_mailLibraryPath, *m_printer,
            CRegistryFile(m_registryPath));
    }
    return *m_channels;
}

NotificationJob ChannelTest::MakeJob(int32_t stage) const {
    NotificationJob job;
    job.JobNumber = 1;
    job.Stage = stage;
    job.ProblemID = m_problemID;
    job.Audition.Definition.AUDITION_ID = 4;
    job.Audition.Definition.NAME = "Spooler-Dienst";
    job.Audition.Definition.AUDITION_TYPE = static_cast<int32_t>(AuditionType::Service);
    job.Audition.Signal.DATE = "20261209143000";
    job.Audition.Signal.COMPUTER = "PC7";
    job.Audition.Signal.EVENT_DESCRIPTION = "Dienst angehalten";
    job.ProfileID = 3;
    job.ProfileName = "Nachtschicht";
    DBNotification& n = job.Notification;
    n.NOTIFICATION_ID = 7;
    n.NAME = "Bereitschaft";
    n.SMS.RECIPIENT = "0172-1234567";
    n.SMS.SENDERINFO = "TARN";
    n.MSMail.RECIPIENTS = "Bereitschaft";
    n.MSMail.MAILTEXT = "Bitte sofort pruefen.";
    n.Fax.RECIPIENT = "0891234567";
    n.Fax.FAXTEXT = "An die Leitstelle";
    n.Printer.PRINTERNAME = "Leitstand";
    n.Printer.PRINTERTEXT = "Meldung fuer den Leitstand";
    n.SMTP.RECIPIENTS = "oncall@example.org";
    n.SMTP.MAILTEXT = "Bitte sofort pruefen.";
    n.SNMP.SPECIFIC_ID = 11;
    n.SNMP.SPECIFIC_ID_UNRESOLVED = 12;
    n.SNMP.SPECIFIC_ID_RESOLVED = 13;
    return job;
}

void ChannelTest::ChangeServices(const std::function<void(DBNotifySrvConfig&)>& change) {
    DBNotifySrvConfig services;
    ASSERT_TRUE(m_database->GetNotifyServicesConfig(services));
    change(services);
    ASSERT_TRUE(m_database->SetNotifyServicesConfig(services));
    m_caches.Reload(*m_database);
}

std::vector<DBHEvent> ChannelTest::Events() {
    DBHEventList list;
    EXPECT_TRUE(m_database->GetProblemEventEntries(m_problemID, list));
    return {list.begin(), list.end()};
}

void ChannelTest::WriteRegistry(const std::string& content) const {
    std::ofstream(m_registryPath, std::ios::trunc) << content;
}

std::string ChannelTest::ReadRegistry() const {
    return ReadWholeFile(m_registryPath);
}

std::string ExpectedEventText(const std::string& sentence, const std::string& status,
                              const std::string& result) {
    return sentence + " Status: " + status + " Ergebnis: " + result;
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
