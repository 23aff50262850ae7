#include "DBTestSupport.h"

#include "CDBSchema.h"
#include "LUTool.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sqlite3.h>
#include <sstream>
#include <stdexcept>

CTempDir::CTempDir() {
    char pattern[] = "/tmp/tarn-db-test-XXXXXX";
    char* pPath = ::mkdtemp(pattern);
    if (!pPath)
        throw std::runtime_error("mkdtemp failed");
    m_strPath = pPath;
}

CTempDir::~CTempDir() {
    std::error_code error;
    std::filesystem::permissions(m_strPath, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, error);
    std::filesystem::remove_all(m_strPath, error);
}

void CRecordingReporter::ReportError(const std::string& strText) {
    std::lock_guard guard(m_lock);
    m_errors.push_back(strText);
    m_errorThread = std::this_thread::get_id();
}

void CRecordingReporter::BeginProgress(const std::string& strText, int nRange) {
    std::lock_guard guard(m_lock);
    m_strProgressText = strText;
    m_nRange = nRange;
}

void CRecordingReporter::StepProgress(int nStep) {
    std::lock_guard guard(m_lock);
    m_steps.push_back(nStep);
}

void CRecordingReporter::EndProgress() {
    std::lock_guard guard(m_lock);
    ++m_nEnds;
}

void CRecordingReporter::ShowError(const std::string& strText) {
    std::lock_guard guard(m_lock);
    m_shown.push_back(strText);
}

DBPromptAnswer CRecordingReporter::AskYesNoCancel(const std::string& strText,
                                                  const std::string& strCaption) {
    std::lock_guard guard(m_lock);
    m_questions.push_back(strText);
    m_captions.push_back(strCaption);
    return m_eAnswer;
}

#define RECORDER_GETTER(type, name, member)                                                        \
    type CRecordingReporter::name() const {                                                        \
        std::lock_guard guard(m_lock);                                                             \
        return member;                                                                             \
    }
RECORDER_GETTER(std::vector<std::string>, Errors, m_errors)
RECORDER_GETTER(std::vector<std::string>, ShownErrors, m_shown)
RECORDER_GETTER(std::vector<std::string>, Questions, m_questions)
RECORDER_GETTER(std::vector<std::string>, QuestionCaptions, m_captions)
RECORDER_GETTER(std::vector<int>, ProgressSteps, m_steps)
RECORDER_GETTER(int, ProgressRange, m_nRange)
RECORDER_GETTER(std::string, ProgressText, m_strProgressText)
RECORDER_GETTER(int, ProgressEnds, m_nEnds)
RECORDER_GETTER(std::thread::id, ErrorThread, m_errorThread)
#undef RECORDER_GETTER

void CRecordingReporter::Clear() {
    std::lock_guard guard(m_lock);
    m_errors.clear();
    m_shown.clear();
    m_questions.clear();
    m_captions.clear();
    m_steps.clear();
    m_nRange = -1;
    m_nEnds = 0;
}

CTraceCapture::CTraceCapture(const CTempDir& dir)
    : m_strPath(dir.File("trace.log")), m_strPrevious(LUTool().GetFileName()) {
    LUTool().SetFileName(m_strPath);
}

CTraceCapture::~CTraceCapture() {
    LUTool().SetFileName(m_strPrevious);
}

std::string CTraceCapture::Text() const {
    std::ifstream in(m_strPath);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

namespace {
int CountOf(const std::string& strText, const std::string& strNeedle) {
    int nCount = 0;
    for (size_t nAt = strText.find(strNeedle); nAt != std::string::npos;
         nAt = strText.find(strNeedle, nAt + 1))
        ++nCount;
    return nCount;
}
} // namespace

int CTraceCapture::Count(const std::string& strDescription) const {
    return CountOf(Text(), "Beschreibung: " + strDescription + "\n");
}

int CTraceCapture::Count(const std::string& strCondition, const std::string& strDescription) const {
    return CountOf(Text(),
                   "Bedingung: " + strCondition + " \n\nBeschreibung: " + strDescription + "\n");
}

int CTraceCapture::Total() const {
    return CountOf(Text(), "Assert fehlgeschlagen!");
}

void CTraceCapture::Clear() const {
    std::ofstream truncate(m_strPath, std::ios::trunc);
}

DBFiles CreateFreshFiles(const CTempDir& dir) {
    DBFiles files{dir.File("TARN.MDB"), dir.File("HISTORY.MDB")};
    DBConfiguration configuration;
    configuration.DATA_DIRECTORY = dir.Path() + "/data/";
    configuration.PROTOCOLFILE = dir.Path() + "/protocol.log";
    std::string strError;
    if (!CDBSchema::CreateConfigurationFile(files.Config, configuration,
                                            CDBSchema::DefaultNotifyServicesConfig(), strError) ||
        !CDBSchema::CreateHistoryFile(files.History, strError))
        throw std::runtime_error("cannot create the files: " + strError);
    return files;
}

namespace {
sqlite3* OpenRaw(const std::string& strPath) {
    sqlite3* pDB = nullptr;
    if (sqlite3_open_v2(strPath.c_str(), &pDB, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        throw std::runtime_error("cannot open " + strPath);
    sqlite3_busy_timeout(pDB, 5000);
    return pDB;
}
} // namespace

std::string QueryText(const std::string& strPath, const std::string& strSQL) {
    sqlite3* pDB = OpenRaw(strPath);
    sqlite3_stmt* pStmt = nullptr;
    std::string strResult;
    if (sqlite3_prepare_v2(pDB, strSQL.c_str(), -1, &pStmt, nullptr) != SQLITE_OK) {
        std::string strError = sqlite3_errmsg(pDB);
        sqlite3_close(pDB);
        throw std::runtime_error(strError + " in " + strSQL);
    }
    if (sqlite3_step(pStmt) == SQLITE_ROW && sqlite3_column_text(pStmt, 0))
        strResult = reinterpret_cast<const char*>(sqlite3_column_text(pStmt, 0));
    sqlite3_finalize(pStmt);
    sqlite3_close(pDB);
    return strResult;
}

int64_t QueryInt(const std::string& strPath, const std::string& strSQL) {
    return std::atoll(QueryText(strPath, strSQL).c_str());
}

void ExecSQL(const std::string& strPath, const std::string& strSQL) {
    sqlite3* pDB = OpenRaw(strPath);
    char* pMessage = nullptr;
    int nResult = sqlite3_exec(pDB, strSQL.c_str(), nullptr, nullptr, &pMessage);
    std::string strError = pMessage ? pMessage : "";
    sqlite3_free(pMessage);
    sqlite3_close(pDB);
    if (nResult != SQLITE_OK)
        throw std::runtime_error(strError + " in " + strSQL);
}

void DBEngineTest::SetUp() {
    m_files = CreateFreshFiles(m_dir);
    m_pEngine = std::make_unique<CDBEngineTARN>(&m_reporter);
    m_pEngine->SetConversionPause(std::chrono::milliseconds(0));
    bool bConfigOpened = false, bHistoryOpened = false;
    ASSERT_TRUE(m_pEngine->Open(m_files.Config, m_files.History, bConfigOpened, bHistoryOpened));
}

void DBEngineTest::TearDown() {
    CloseEngine();
}

void DBEngineTest::CloseEngine() {
    m_pEngine.reset();
}
