// Shared helpers of the database tests: a private temporary directory, a
// reporter that records what the database layer shows, the trace file as the
// record of assertion reports, and fresh installation files.
#pragma once

#include "CDBEngineTARN.h"
#include "IDBReporter.h"
#include "IDBVersionPrompt.h"

#include <gtest/gtest.h>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class CTempDir {
public:
    CTempDir();
    ~CTempDir();
    CTempDir(const CTempDir&) = delete;
    CTempDir& operator=(const CTempDir&) = delete;
    const std::string& Path() const { return m_strPath; }
    std::string File(const std::string& strName) const { return m_strPath + "/" + strName; }

private:
    std::string m_strPath;
};

class CRecordingReporter : public IDBReporter, public IDBVersionPrompt {
public:
    explicit CRecordingReporter(DBPromptAnswer eAnswer = DBPromptAnswer::Yes)
        : m_eAnswer(eAnswer) {}

    void ReportError(const std::string& strText) override;
    void BeginProgress(const std::string& strText, int nRange) override;
    void StepProgress(int nStep) override;
    void EndProgress() override;
    void ShowError(const std::string& strText) override;
    DBPromptAnswer AskYesNoCancel(const std::string& strText,
                                  const std::string& strCaption) override;

    void SetAnswer(DBPromptAnswer eAnswer) {
        std::lock_guard guard(m_lock);
        m_eAnswer = eAnswer;
    }
    std::vector<std::string> Errors() const;      // through ReportError (database thread)
    std::vector<std::string> ShownErrors() const; // through ShowError (caller's thread)
    std::vector<std::string> Questions() const;
    std::vector<std::string> QuestionCaptions() const;
    std::vector<int> ProgressSteps() const;
    int ProgressRange() const;
    std::string ProgressText() const;
    int ProgressEnds() const;
    std::thread::id ErrorThread() const;
    void Clear();

private:
    DBPromptAnswer m_eAnswer;
    mutable std::mutex m_lock;
    std::vector<std::string> m_errors, m_shown, m_questions, m_captions;
    std::vector<int> m_steps;
    int m_nRange = -1;
    int m_nEnds = 0;
    std::string m_strProgressText;
    std::thread::id m_errorThread;
};

// Points the trace file at a file of the temporary directory, so the test
// sees exactly the assertion reports it caused.
class CTraceCapture {
public:
    explicit CTraceCapture(const CTempDir& dir);
    ~CTraceCapture();
    std::string Text() const;
    // Number of assertion reports with this description.
    int Count(const std::string& strDescription) const;
    // Number of reports with this condition text and description.
    int Count(const std::string& strCondition, const std::string& strDescription) const;
    int Total() const;
    void Clear() const;

private:
    std::string m_strPath;
    std::string m_strPrevious;
};

// The two files of a new installation in the directory.
struct DBFiles {
    std::string Config;
    std::string History;
};
DBFiles CreateFreshFiles(const CTempDir& dir);

// Runs one SQL statement on a file outside the database thread and returns
// the first column of the first row as text ("" when there is none).
std::string QueryText(const std::string& strPath, const std::string& strSQL);
int64_t QueryInt(const std::string& strPath, const std::string& strSQL);
void ExecSQL(const std::string& strPath, const std::string& strSQL);

// A fixture with fresh files opened by the front, reporting to a recorder.
class DBEngineTest : public ::testing::Test {
protected:
    CTempDir m_dir;
    CTraceCapture m_trace{m_dir};
    CRecordingReporter m_reporter;
    DBFiles m_files;
    std::unique_ptr<CDBEngineTARN> m_pEngine;

    void SetUp() override;
    void TearDown() override;
    CDBEngineTARN& Engine() { return *m_pEngine; }
    // Closes the front (so the test may look at the files directly).
    void CloseEngine();
};
