#include "FaultVfs.h"

#include <atomic>
#include <cstring>
#include <mutex>
#include <sqlite3.h>
#include <string>

namespace {

struct FaultFile {
    sqlite3_file base;
    sqlite3_file* pReal;
};

sqlite3_vfs* g_pRealVfs = nullptr;
sqlite3_vfs g_vfs;
std::mutex g_settingsLock;
std::string g_readOnlySuffix;
std::atomic<int64_t> g_writeBudget{-1};

sqlite3_file* Real(sqlite3_file* pFile) {
    return reinterpret_cast<FaultFile*>(pFile)->pReal;
}

int Close(sqlite3_file* f) {
    return Real(f)->pMethods->xClose(Real(f));
}
int Read(sqlite3_file* f, void* p, int n, sqlite3_int64 o) {
    return Real(f)->pMethods->xRead(Real(f), p, n, o);
}
// Like a real full disk, only growth needs space: overwriting existing bytes
// (as a rollback does) always succeeds.
int Write(sqlite3_file* f, const void* p, int n, sqlite3_int64 o) {
    int64_t budget = g_writeBudget.load();
    if (budget >= 0) {
        sqlite3_int64 size = 0;
        Real(f)->pMethods->xFileSize(Real(f), &size);
        int64_t growth = o + n > size ? o + n - size : 0;
        if (growth > budget) {
            g_writeBudget = 0;
            return SQLITE_FULL;
        }
        g_writeBudget -= growth;
    }
    return Real(f)->pMethods->xWrite(Real(f), p, n, o);
}
int Truncate(sqlite3_file* f, sqlite3_int64 s) {
    return Real(f)->pMethods->xTruncate(Real(f), s);
}
int Sync(sqlite3_file* f, int flags) {
    return Real(f)->pMethods->xSync(Real(f), flags);
}
int FileSize(sqlite3_file* f, sqlite3_int64* p) {
    return Real(f)->pMethods->xFileSize(Real(f), p);
}
int Lock(sqlite3_file* f, int l) {
    return Real(f)->pMethods->xLock(Real(f), l);
}
int Unlock(sqlite3_file* f, int l) {
    return Real(f)->pMethods->xUnlock(Real(f), l);
}
int CheckReservedLock(sqlite3_file* f, int* p) {
    return Real(f)->pMethods->xCheckReservedLock(Real(f), p);
}
int FileControl(sqlite3_file* f, int op, void* p) {
    return Real(f)->pMethods->xFileControl(Real(f), op, p);
}
int SectorSize(sqlite3_file* f) {
    return Real(f)->pMethods->xSectorSize(Real(f));
}
int DeviceCharacteristics(sqlite3_file* f) {
    return Real(f)->pMethods->xDeviceCharacteristics(Real(f));
}
int ShmMap(sqlite3_file* f, int i, int s, int b, void volatile** p) {
    return Real(f)->pMethods->xShmMap(Real(f), i, s, b, p);
}
int ShmLock(sqlite3_file* f, int o, int n, int fl) {
    return Real(f)->pMethods->xShmLock(Real(f), o, n, fl);
}
void ShmBarrier(sqlite3_file* f) {
    Real(f)->pMethods->xShmBarrier(Real(f));
}
int ShmUnmap(sqlite3_file* f, int d) {
    return Real(f)->pMethods->xShmUnmap(Real(f), d);
}

// Memory mapping is left out (version 2), so every write goes through Write.
const sqlite3_io_methods g_methods = {2,
                                      Close,
                                      Read,
                                      Write,
                                      Truncate,
                                      Sync,
                                      FileSize,
                                      Lock,
                                      Unlock,
                                      CheckReservedLock,
                                      FileControl,
                                      SectorSize,
                                      DeviceCharacteristics,
                                      ShmMap,
                                      ShmLock,
                                      ShmBarrier,
                                      ShmUnmap,
                                      nullptr,
                                      nullptr};

bool EndsWith(const char* path, const std::string& suffix) {
    size_t n = std::strlen(path);
    return !suffix.empty() && n >= suffix.size() &&
           std::memcmp(path + n - suffix.size(), suffix.data(), suffix.size()) == 0;
}

int Open(sqlite3_vfs*, const char* zName, sqlite3_file* pFile, int flags, int* pOutFlags) {
    auto* pFault = reinterpret_cast<FaultFile*>(pFile);
    pFault->base.pMethods = nullptr;
    pFault->pReal = reinterpret_cast<sqlite3_file*>(pFault + 1);
    {
        std::lock_guard guard(g_settingsLock);
        if (zName && (flags & SQLITE_OPEN_MAIN_DB) && EndsWith(zName, g_readOnlySuffix))
            flags = (flags & ~(SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE)) | SQLITE_OPEN_READONLY;
    }
    int rc = g_pRealVfs->xOpen(g_pRealVfs, zName, pFault->pReal, flags, pOutFlags);
    if (pFault->pReal->pMethods)
        pFault->base.pMethods = &g_methods;
    return rc;
}

int Delete(sqlite3_vfs*, const char* z, int s) {
    return g_pRealVfs->xDelete(g_pRealVfs, z, s);
}
int Access(sqlite3_vfs*, const char* z, int f, int* r) {
    return g_pRealVfs->xAccess(g_pRealVfs, z, f, r);
}
int FullPathname(sqlite3_vfs*, const char* z, int n, char* o) {
    return g_pRealVfs->xFullPathname(g_pRealVfs, z, n, o);
}
void* DlOpen(sqlite3_vfs*, const char* z) {
    return g_pRealVfs->xDlOpen(g_pRealVfs, z);
}
void DlError(sqlite3_vfs*, int n, char* z) {
    g_pRealVfs->xDlError(g_pRealVfs, n, z);
}
void (*DlSym(sqlite3_vfs*, void* p, const char* z))(void) {
    return g_pRealVfs->xDlSym(g_pRealVfs, p, z);
}
void DlClose(sqlite3_vfs*, void* p) {
    g_pRealVfs->xDlClose(g_pRealVfs, p);
}
int Randomness(sqlite3_vfs*, int n, char* z) {
    return g_pRealVfs->xRandomness(g_pRealVfs, n, z);
}
int Sleep(sqlite3_vfs*, int n) {
    return g_pRealVfs->xSleep(g_pRealVfs, n);
}
int CurrentTime(sqlite3_vfs*, double* p) {
    return g_pRealVfs->xCurrentTime(g_pRealVfs, p);
}
int GetLastError(sqlite3_vfs*, int n, char* z) {
    return g_pRealVfs->xGetLastError(g_pRealVfs, n, z);
}
int CurrentTimeInt64(sqlite3_vfs*, sqlite3_int64* p) {
    return g_pRealVfs->xCurrentTimeInt64(g_pRealVfs, p);
}

} // namespace

namespace FaultVfs {

void Install() {
    static std::once_flag once;
    std::call_once(once, [] {
        g_pRealVfs = sqlite3_vfs_find(nullptr);
        g_vfs = sqlite3_vfs{};
        g_vfs.iVersion = 2;
        g_vfs.szOsFile = static_cast<int>(sizeof(FaultFile)) + g_pRealVfs->szOsFile;
        g_vfs.mxPathname = g_pRealVfs->mxPathname;
        g_vfs.zName = "tarn-fault";
        g_vfs.xOpen = Open;
        g_vfs.xDelete = Delete;
        g_vfs.xAccess = Access;
        g_vfs.xFullPathname = FullPathname;
        g_vfs.xDlOpen = DlOpen;
        g_vfs.xDlError = DlError;
        g_vfs.xDlSym = DlSym;
        g_vfs.xDlClose = DlClose;
        g_vfs.xRandomness = Randomness;
        g_vfs.xSleep = Sleep;
        g_vfs.xCurrentTime = CurrentTime;
        g_vfs.xGetLastError = GetLastError;
        g_vfs.xCurrentTimeInt64 = CurrentTimeInt64;
        sqlite3_vfs_register(&g_vfs, 1);
    });
}

void SetReadOnlySuffix(const char* suffix) {
    std::lock_guard guard(g_settingsLock);
    g_readOnlySuffix = suffix ? suffix : "";
}

void SetWriteBudget(int64_t bytes) {
    g_writeBudget = bytes;
}

void Reset() {
    SetReadOnlySuffix(nullptr);
    SetWriteBudget(-1);
}

} // namespace FaultVfs
