#include "datasystem/fault_vfs.h"

#include <sqlite3.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace faultvfs {

namespace {

struct State {
    Fault fault;
    int calls = 0;
    int failures = 0;
    bool fired = false;
    std::int64_t bytes = 0;
};

bool g_armed = false;
std::vector<State> g_faults;
sqlite3_vfs* g_real = nullptr;
sqlite3_vfs g_vfs;
sqlite3_io_methods g_methods;

// The wrapper's file: the real VFS's file follows it in the same block.
struct ShimFile {
    sqlite3_file base;
    FileKind kind;
    sqlite3_file* real;
};

sqlite3_file* Real(sqlite3_file* file) {
    return reinterpret_cast<ShimFile*>(file)->real;
}

FileKind KindOf(sqlite3_file* file) {
    return reinterpret_cast<ShimFile*>(file)->kind;
}

bool Applies(const State& state, Op op, FileKind kind) {
    return state.fault.op == op && (state.fault.file == FileKind::kAny || state.fault.file == kind);
}

int Failure(State& state) {
    ++state.failures;
    state.fired = true;
    errno = state.fault.systemError;
    return state.fault.resultCode;
}

// The result code of an armed fault when the call of OP on a KIND file is
// to fail, else SQLITE_OK. Counts the call for every fault it applies to.
int CheckCall(Op op, FileKind kind) {
    int rc = SQLITE_OK;
    for (State& state : g_faults) {
        if (!Applies(state, op, kind)) {
            continue;
        }
        ++state.calls;
        if (!g_armed || state.fault.onCall <= 0 || rc != SQLITE_OK) {
            continue;
        }
        if (state.calls == state.fault.onCall ||
            (state.fault.sticky && state.calls > state.fault.onCall)) {
            rc = Failure(state);
        }
    }
    return rc;
}

// The result code of an armed fault with a byte budget that a write of
// AMOUNT bytes to a KIND file exceeds, else SQLITE_OK; writes the part
// within the budget first.
int CheckBudget(sqlite3_file* real, FileKind kind, const void* buffer, int amount,
                sqlite3_int64 offset) {
    for (State& state : g_faults) {
        if (!g_armed || !Applies(state, Op::kWrite, kind) || state.fault.afterBytes < 0) {
            continue;
        }
        if (state.fired && state.fault.sticky) {
            return Failure(state);
        }
        const std::int64_t room = state.fault.afterBytes - state.bytes;
        if (!state.fired && amount > room) {
            // The device takes what fits, then refuses the rest.
            if (room > 0) {
                real->pMethods->xWrite(real, buffer, static_cast<int>(room), offset);
                state.bytes += room;
            }
            return Failure(state);
        }
    }
    return SQLITE_OK;
}

int Close(sqlite3_file* file) {
    sqlite3_file* real = Real(file);
    const int rc = real->pMethods->xClose(real);
    file->pMethods = nullptr;
    return rc;
}

int Read(sqlite3_file* file, void* buffer, int amount, sqlite3_int64 offset) {
    const int rc = CheckCall(Op::kRead, KindOf(file));
    if (rc != SQLITE_OK) {
        return rc;
    }
    return Real(file)->pMethods->xRead(Real(file), buffer, amount, offset);
}

int Write(sqlite3_file* file, const void* buffer, int amount, sqlite3_int64 offset) {
    sqlite3_file* real = Real(file);
    const FileKind kind = KindOf(file);
    int rc = CheckCall(Op::kWrite, kind);
    if (rc == SQLITE_OK) {
        rc = CheckBudget(real, kind, buffer, amount, offset);
    }
    if (rc != SQLITE_OK) {
        return rc;
    }
    rc = real->pMethods->xWrite(real, buffer, amount, offset);
    if (rc == SQLITE_OK) {
        for (State& state : g_faults) {
            if (Applies(state, Op::kWrite, kind)) {
                state.bytes += amount;
            }
        }
    }
    return rc;
}

int Truncate(sqlite3_file* file, sqlite3_int64 size) {
    const int rc = CheckCall(Op::kTruncate, KindOf(file));
    if (rc != SQLITE_OK) {
        return rc;
    }
    return Real(file)->pMethods->xTruncate(Real(file), size);
}

int Sync(sqlite3_file* file, int flags) {
    const int rc = CheckCall(Op::kSync, KindOf(file));
    if (rc != SQLITE_OK) {
        return rc;
    }
    return Real(file)->pMethods->xSync(Real(file), flags);
}

int FileSize(sqlite3_file* file, sqlite3_int64* size) {
    return Real(file)->pMethods->xFileSize(Real(file), size);
}

int Lock(sqlite3_file* file, int level) {
    return Real(file)->pMethods->xLock(Real(file), level);
}

int Unlock(sqlite3_file* file, int level) {
    return Real(file)->pMethods->xUnlock(Real(file), level);
}

int CheckReservedLock(sqlite3_file* file, int* out) {
    return Real(file)->pMethods->xCheckReservedLock(Real(file), out);
}

int FileControl(sqlite3_file* file, int op, void* arg) {
    return Real(file)->pMethods->xFileControl(Real(file), op, arg);
}

int SectorSize(sqlite3_file* file) {
    return Real(file)->pMethods->xSectorSize(Real(file));
}

int DeviceCharacteristics(sqlite3_file* file) {
    return Real(file)->pMethods->xDeviceCharacteristics(Real(file));
}

int ShmMap(sqlite3_file* file, int region, int size, int extend, void volatile** out) {
    sqlite3_file* real = Real(file);
    if (real->pMethods->iVersion < 2) {
        return SQLITE_IOERR_SHMMAP;
    }
    return real->pMethods->xShmMap(real, region, size, extend, out);
}

int ShmLock(sqlite3_file* file, int offset, int n, int flags) {
    sqlite3_file* real = Real(file);
    if (real->pMethods->iVersion < 2) {
        return SQLITE_IOERR_SHMLOCK;
    }
    return real->pMethods->xShmLock(real, offset, n, flags);
}

void ShmBarrier(sqlite3_file* file) {
    sqlite3_file* real = Real(file);
    if (real->pMethods->iVersion >= 2) {
        real->pMethods->xShmBarrier(real);
    }
}

int ShmUnmap(sqlite3_file* file, int deleteFlag) {
    sqlite3_file* real = Real(file);
    if (real->pMethods->iVersion < 2) {
        return SQLITE_OK;
    }
    return real->pMethods->xShmUnmap(real, deleteFlag);
}

int Fetch(sqlite3_file* file, sqlite3_int64 offset, int amount, void** out) {
    sqlite3_file* real = Real(file);
    if (real->pMethods->iVersion < 3) {
        *out = nullptr;
        return SQLITE_OK;
    }
    return real->pMethods->xFetch(real, offset, amount, out);
}

int Unfetch(sqlite3_file* file, sqlite3_int64 offset, void* page) {
    sqlite3_file* real = Real(file);
    if (real->pMethods->iVersion < 3) {
        return SQLITE_OK;
    }
    return real->pMethods->xUnfetch(real, offset, page);
}

int Open(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags) {
    auto* shim = reinterpret_cast<ShimFile*>(file);
    shim->real = reinterpret_cast<sqlite3_file*>(reinterpret_cast<char*>(file) + sizeof(ShimFile));
    shim->kind = (flags & SQLITE_OPEN_MAIN_DB)        ? FileKind::kDatabase
                 : (flags & SQLITE_OPEN_MAIN_JOURNAL) ? FileKind::kJournal
                                                      : FileKind::kAny;
    const int rc = g_real->xOpen(g_real, name, shim->real, flags, outFlags);
    file->pMethods = shim->real->pMethods != nullptr ? &g_methods : nullptr;
    return rc;
}

int Delete(sqlite3_vfs*, const char* name, int syncDirectory) {
    const std::size_t length = std::strlen(name);
    const bool journal = length >= 8 && std::strcmp(name + length - 8, "-journal") == 0;
    const int rc = CheckCall(Op::kDelete, journal ? FileKind::kJournal : FileKind::kDatabase);
    if (rc != SQLITE_OK) {
        return rc;
    }
    return g_real->xDelete(g_real, name, syncDirectory);
}

int Access(sqlite3_vfs*, const char* name, int flags, int* out) {
    return g_real->xAccess(g_real, name, flags, out);
}

int FullPathname(sqlite3_vfs*, const char* name, int size, char* out) {
    return g_real->xFullPathname(g_real, name, size, out);
}

void* DlOpen(sqlite3_vfs*, const char* name) {
    return g_real->xDlOpen(g_real, name);
}

void DlError(sqlite3_vfs*, int size, char* out) {
    g_real->xDlError(g_real, size, out);
}

void (*DlSym(sqlite3_vfs*, void* handle, const char* symbol))(void) {
    return g_real->xDlSym(g_real, handle, symbol);
}

void DlClose(sqlite3_vfs*, void* handle) {
    g_real->xDlClose(g_real, handle);
}

int Randomness(sqlite3_vfs*, int size, char* out) {
    return g_real->xRandomness(g_real, size, out);
}

int Sleep(sqlite3_vfs*, int microseconds) {
    return g_real->xSleep(g_real, microseconds);
}

int CurrentTime(sqlite3_vfs*, double* out) {
    return g_real->xCurrentTime(g_real, out);
}

int GetLastError(sqlite3_vfs*, int size, char* out) {
    return g_real->xGetLastError(g_real, size, out);
}

int CurrentTimeInt64(sqlite3_vfs*, sqlite3_int64* out) {
    return g_real->xCurrentTimeInt64(g_real, out);
}

}  // namespace

void Install() {
    if (g_real != nullptr) {
        return;
    }
    sqlite3_initialize();
    g_real = sqlite3_vfs_find(nullptr);

    g_methods = sqlite3_io_methods{};
    g_methods.iVersion = 3;
    g_methods.xClose = Close;
    g_methods.xRead = Read;
    g_methods.xWrite = Write;
    g_methods.xTruncate = Truncate;
    g_methods.xSync = Sync;
    g_methods.xFileSize = FileSize;
    g_methods.xLock = Lock;
    g_methods.xUnlock = Unlock;
    g_methods.xCheckReservedLock = CheckReservedLock;
    g_methods.xFileControl = FileControl;
    g_methods.xSectorSize = SectorSize;
    g_methods.xDeviceCharacteristics = DeviceCharacteristics;
    g_methods.xShmMap = ShmMap;
    g_methods.xShmLock = ShmLock;
    g_methods.xShmBarrier = ShmBarrier;
    g_methods.xShmUnmap = ShmUnmap;
    g_methods.xFetch = Fetch;
    g_methods.xUnfetch = Unfetch;

    g_vfs = sqlite3_vfs{};
    g_vfs.iVersion = 2;
    g_vfs.szOsFile = static_cast<int>(sizeof(ShimFile)) + g_real->szOsFile;
    g_vfs.mxPathname = g_real->mxPathname;
    g_vfs.zName = "k2l-fault";
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
}

void Arm(const Fault& fault) {
    g_faults.clear();
    ArmAlso(fault);
}

void ArmAlso(const Fault& fault) {
    State state;
    state.fault = fault;
    g_faults.push_back(state);
    g_armed = true;
}

void Disarm() {
    g_armed = false;
}

int Failures() {
    int failures = 0;
    for (const State& state : g_faults) {
        failures += state.failures;
    }
    return failures;
}

std::int64_t BytesWritten() {
    return g_faults.empty() ? 0 : g_faults.front().bytes;
}

int Calls() {
    return g_faults.empty() ? 0 : g_faults.front().calls;
}

}  // namespace faultvfs
