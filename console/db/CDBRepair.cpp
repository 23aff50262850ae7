#include "CDBRepair.h"

#include "CDBConnection.h"
#include "CDBException.h"

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string QuotedLiteral(const std::string& strText) {
    std::string strQuoted = "'";
    for (char c : strText) {
        strQuoted += c;
        if (c == '\'')
            strQuoted += '\'';
    }
    return strQuoted + "'";
}

bool IntegrityOk(CDBConnection& connection) {
    CDBStatement check = connection.Prepare("PRAGMA integrity_check");
    return check.Step() && check.ColumnText(0) == "ok" && !check.Step();
}

void RemoveFile(const std::string& strPath) {
    ::unlink(strPath.c_str());
    ::unlink((strPath + "-journal").c_str());
}

// Copies the file's bytes to a temporary file beside the target, flushes it
// and renames it over the target, so the target is never half-written.
bool CopyOver(const std::string& strSource, const std::string& strTarget) {
    struct stat targetInfo {};
    mode_t mode = ::stat(strTarget.c_str(), &targetInfo) == 0 ? (targetInfo.st_mode & 07777) : 0644;
    int in = ::open(strSource.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return false;
    std::string strTemporary = strTarget + ".repair";
    int out = ::open(strTemporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
    bool bOk = out >= 0;
    char buffer[65536];
    while (bOk) {
        ssize_t nRead = ::read(in, buffer, sizeof buffer);
        if (nRead <= 0) {
            bOk = nRead == 0;
            break;
        }
        bOk = ::write(out, buffer, static_cast<size_t>(nRead)) == nRead;
    }
    ::close(in);
    if (out >= 0) {
        bOk = ::fsync(out) == 0 && bOk;
        bOk = ::close(out) == 0 && bOk;
    }
    if (bOk)
        bOk = ::rename(strTemporary.c_str(), strTarget.c_str()) == 0;
    if (!bOk)
        ::unlink(strTemporary.c_str());
    return bOk;
}

} // namespace

bool CDBRepair::PassesIntegrityCheck(const std::string& strPath) {
    std::string strError;
    auto pConnection = CDBConnection::Open(strPath, strError);
    if (!pConnection)
        return false;
    try {
        return IntegrityOk(*pConnection);
    } catch (const CDBException&) {
        return false;
    }
}

bool CDBRepair::RepairAndCompactDatabase(const std::string& strPath) {
    const std::string strBackup = BackupPath(strPath);
    {
        // Opening read-write also rolls back a transaction that a crash left
        // in the journal.
        std::string strError;
        auto pConnection = CDBConnection::Open(strPath, strError);
        if (!pConnection)
            return false;
        try {
            if (!IntegrityOk(*pConnection))
                return false;
            RemoveFile(strBackup);
            pConnection->Execute("VACUUM INTO " + QuotedLiteral(strBackup));
        } catch (const CDBException&) {
            RemoveFile(strBackup);
            return false;
        }
    }
    if (!PassesIntegrityCheck(strBackup))
        return false;
    return CopyOver(strBackup, strPath);
}
