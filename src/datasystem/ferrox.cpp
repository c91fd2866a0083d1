// The record library's entry points: database 5, the Sample List, found
// through the settings library's sample-list location.
#include "datasystem/ferrox.h"

#include <cstring>
#include <memory>
#include <string>

#include "datasystem/FerroxStatus.h"
#include "datasystem/FixedField.h"
#include "datasystem/ListLock.h"
#include "datasystem/LocationFields.h"
#include "datasystem/SampleListDatabase.h"
#include "datasystem/SampleListFormat.h"
#include "datasystem/SampleListLocation.h"
#include "datasystem/ostrel.h"

namespace {

struct SampleListState {
    std::unique_ptr<SampleListDatabase> open;
    // The writer lock, held from a replace, create or open for writing to
    // the close or abandon.
    ListLock lock;
    // The list that DB3_MODE_REPLACE marked for the next create.
    std::string replacePath;
    // A DB3_MODE_REPLACE that failed, and its status: the next create of
    // that list fails the same way rather than create without replacing
    // (or wait for the lock a second time).
    std::string failedReplacePath;
    int32_t failedReplaceStatus = DB3_OK;
    ferrox::FailureCause failedReplaceCause;
    std::string lastPath;
    // The list the last close put in place, and its identity then.
    std::string committedPath;
    DB3_LIST_IDENTITY committed{};
};

SampleListState g_sampleList;

bool IsValidName(const char* name) {
    if (name == nullptr || *name == '\0' ||
        std::strlen(name) >= sizeof(GLOBAL_FILE_INFO{}.szName)) {
        return false;
    }
    if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) {
        return false;
    }
    return std::strpbrk(name, "/\\") == nullptr;
}

// The sample-list location as this process sees it; false when it is not
// configured.
bool ConfiguredLocation(GLOBAL_FILE_INFO& info) {
    std::memset(&info, 0, sizeof info);
    _MSGGetGlobalFile(kLocationSection, kSampleListKey, 0, &info);
    return info.szDirectory[0] != '\0';
}

// The location's directory exists and this process may create files in it
// (access() with the effective ids; a privileged process may write
// anywhere except on a read-only file system).
int32_t CheckLocation(const GLOBAL_FILE_INFO& info) {
    const std::string directory(FixedFieldText(info.szDirectory));
    const Result<FileStatus> st = StatusAt(directory);
    if (!st.ok() || st.value().kind != FileKind::kDirectory || !CheckWritable(directory).ok()) {
        return DB3_E_LOCATION;
    }
    return DB3_OK;
}

// Ends the writing of the list: the writer lock and the replace mark go.
void ReleaseWriter(SampleListState& state) {
    state.lock.Release();
    state.replacePath.clear();
}

// Holds the writer lock of PATH, taking it unless this process holds it.
int32_t LockFor(SampleListState& state, const std::string& path) {
    if (state.lock.IsHeld() && state.lock.GetListPath() == path) {
        return DB3_OK;
    }
    ReleaseWriter(state);
    return state.lock.Acquire(path, ferrox::kBusyTimeoutMs);
}

int32_t MarkReplace(SampleListState& state, const std::string& path) {
    int32_t status = LockFor(state, path);
    if (status == DB3_OK) {
        status = SampleListDatabase::CheckReplaceable(path);
        if (status == DB3_E_NOT_FOUND) {
            status = DB3_OK;  // nothing to replace: the create simply creates
        }
    }
    if (status == DB3_OK) {
        state.replacePath = path;
    } else {
        ReleaseWriter(state);
        state.failedReplacePath = path;
        state.failedReplaceStatus = status;
        state.failedReplaceCause = ferrox::LastFailureCause();
    }
    return status;
}

int32_t OpenList(SampleListState& state, const std::string& path, int32_t mode) {
    auto database = std::make_unique<SampleListDatabase>();
    int32_t status = DB3_OK;
    if (mode == DB3_MODE_READ) {
        status = database->Open(path, true);
    } else if (state.failedReplacePath == path) {
        const ferrox::FailureCause& cause = state.failedReplaceCause;
        status = ferrox::FailWithCause(state.failedReplaceStatus, cause.path, cause.clause);
    } else {
        const bool replace = state.replacePath == path;
        status = LockFor(state, path);
        if (status == DB3_OK) {
            status = mode == DB3_MODE_CREATE ? database->Create(path, replace)
                                             : database->Open(path, false);
        }
        state.replacePath.clear();
        if (status != DB3_OK) {
            ReleaseWriter(state);
        }
    }
    if (status == DB3_OK) {
        state.open = std::move(database);
    }
    return status;
}

// Closes the open list, committing it or giving it up, and ends the
// writing; DB3_E_NOT_OPEN when no list was open.
int32_t EndWriting(SampleListState& state, bool commit) {
    int32_t status = DB3_E_NOT_OPEN;
    if (state.open) {
        status = DB3_OK;
        state.committedPath.clear();
        if (commit) {
            status = state.open->Close();
            if (const DB3_LIST_IDENTITY* committed = state.open->GetCommitted()) {
                state.committedPath = state.open->GetPath();
                state.committed = *committed;
            }
        } else {
            state.open->Abandon();
        }
        state.open.reset();
    }
    ReleaseWriter(state);
    return status;
}

}  // namespace

extern "C" {

int32_t DB3Open(int32_t database, const char* name, int32_t mode) {
    if (database != DB3_SAMPLE_LIST) {
        return DB3_E_INVALID;
    }
    ferrox::ClearFailureCause();
    SampleListState& state = g_sampleList;
    state.lastPath.clear();
    if (mode != DB3_MODE_OPEN && mode != DB3_MODE_READ && mode != DB3_MODE_CREATE &&
        mode != DB3_MODE_REPLACE && mode != DB3_MODE_CHECK) {
        return DB3_E_INVALID;
    }
    if (!IsValidName(name)) {
        return DB3_E_INVALID;
    }
    GLOBAL_FILE_INFO info;
    if (!ConfiguredLocation(info)) {
        return DB3_E_LOCATION;
    }
    const std::string path = SampleListPath(info, name);
    state.lastPath = path;

    if (mode == DB3_MODE_CHECK) {
        return CheckLocation(info);
    }
    if (state.open) {
        return DB3_E_ALREADY_OPEN;
    }
    if (mode == DB3_MODE_REPLACE) {
        return MarkReplace(state, path);
    }
    const int32_t status = OpenList(state, path, mode);
    state.failedReplacePath.clear();
    return status;
}

int32_t DB3Close(int32_t database) {
    ferrox::ClearFailureCause();
    return database == DB3_SAMPLE_LIST ? EndWriting(g_sampleList, true) : DB3_E_INVALID;
}

int32_t DB3Abandon(int32_t database) {
    ferrox::ClearFailureCause();
    return database == DB3_SAMPLE_LIST ? EndWriting(g_sampleList, false) : DB3_E_INVALID;
}

int32_t DB3HandleRecord(int32_t database, int32_t number, void* record, int32_t operation,
                        int32_t flag) {
    ferrox::ClearFailureCause();
    if (database != DB3_SAMPLE_LIST) {
        return DB3_E_INVALID;
    }
    if (!g_sampleList.open) {
        return DB3_E_NOT_OPEN;
    }
    if (record == nullptr) {
        return DB3_E_INVALID;
    }
    if (operation == DB3_OP_STORE && flag == DB3_FLAG_APPEND) {
        return g_sampleList.open->Append(number, record);
    }
    if (operation == DB3_OP_READ && flag == 0) {
        return g_sampleList.open->Read(number, record);
    }
    return DB3_E_INVALID;
}

int32_t DB3GetRecordsInDB(int32_t database) {
    if (database != DB3_SAMPLE_LIST || !g_sampleList.open) {
        return 0;
    }
    return g_sampleList.open->GetCount();
}

const char* DB3StatusText(int32_t status) {
    return ferrox::StatusText(status);
}

const char* DB3GetPath(int32_t database) {
    return database == DB3_SAMPLE_LIST ? g_sampleList.lastPath.c_str() : "";
}

const char* DB3GetFailureCause(int32_t database, const char** path) {
    const ferrox::FailureCause& cause = ferrox::LastFailureCause();
    const bool known = database == DB3_SAMPLE_LIST && !cause.clause.empty();
    if (path != nullptr) {
        *path = known ? cause.path.c_str() : "";
    }
    return known ? cause.clause.c_str() : "";
}

int32_t DB3GetListIdentity(int32_t database, const char* name, int32_t what,
                           DB3_LIST_IDENTITY* identity) {
    if (database != DB3_SAMPLE_LIST || identity == nullptr ||
        (what != DB3_IDENTITY_STATUS && what != DB3_IDENTITY_COUNTER &&
         what != DB3_IDENTITY_COMMITTED) ||
        !IsValidName(name)) {
        return DB3_E_INVALID;
    }
    GLOBAL_FILE_INFO info;
    if (!ConfiguredLocation(info)) {
        return DB3_E_LOCATION;
    }
    if (what == DB3_IDENTITY_COMMITTED) {
        if (g_sampleList.committedPath.empty() ||
            g_sampleList.committedPath != SampleListPath(info, name)) {
            return DB3_E_NOT_FOUND;
        }
        *identity = g_sampleList.committed;
        return DB3_OK;
    }
    return ferrox::IdentifyList(SampleListPath(info, name), what == DB3_IDENTITY_COUNTER,
                                *identity);
}

int32_t Korr2ldFerroxStandIn(void) {
    return 1;
}

}  // extern "C"
