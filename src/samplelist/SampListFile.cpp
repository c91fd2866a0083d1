#include "samplelist/SampListFile.h"

#include <cstring>
#include <limits>

#include "datasystem/LocationFields.h"
#include "datasystem/SampleListLocation.h"
#include "datasystem/ferrox.h"
#include "datasystem/ostrel.h"
#include "framework/PathParts.h"

static_assert(sizeof(SAMPLE_RECORD) == DB3_SAMPLE_RECORD_SIZE);
static_assert(SAMPLE_LIST_DB == DB3_SAMPLE_LIST);
static_assert(sizeof(GLOBAL_FILE_INFO) == 784);
static_assert(offsetof(GLOBAL_FILE_INFO, szDirectory) == 2);
static_assert(offsetof(GLOBAL_FILE_INFO, szName) == 262);
static_assert(offsetof(GLOBAL_FILE_INFO, szExtension) == 518);

namespace {

constexpr std::int32_t kStoreFlag = 1;

}  // namespace

CSampListFile::CSampListFile(const std::string& path, BOOL create, BOOL replaceExisting)
    : m_bReplaceExisting(replaceExisting),
      m_nError(0),
      m_nDatabase(SAMPLE_LIST_DB),
      m_nRecords(0),
      m_bOpen(FALSE) {
    Open(path, create);
}

CSampListFile::~CSampListFile() {
    Close();
}

const char* CSampListFile::FillLocation(const std::string& path, GLOBAL_FILE_INFO& info,
                                        std::string& name) {
    if (path.find('\0') != std::string::npos) {
        return "path";
    }
    const PathParts parts = SplitPath(path);
    const std::string directory = parts.drive + parts.directory;
    const std::string extension = !parts.extension.empty() && parts.extension[0] == '.'
                                      ? parts.extension.substr(1)
                                      : parts.extension;
    if (directory.size() >= sizeof(info.szDirectory)) {
        return "directory";
    }
    if (parts.name.size() >= sizeof(info.szName)) {
        return "name";
    }
    if (extension.size() >= sizeof(info.szExtension)) {
        return "extension";
    }
    SetLocationField(info.szDirectory, directory);
    SetLocationField(info.szName, parts.name);
    SetLocationField(info.szExtension, extension);
    name = parts.name;
    return nullptr;
}

BOOL CSampListFile::Open(const std::string& path, BOOL create) {
    // One database of a number can be open at a time.
    Close();
    m_pszTooLongPart = nullptr;

    GLOBAL_FILE_INFO info;
    std::memset(&info, 0, sizeof(info));
    std::string name;
    m_pszTooLongPart = FillLocation(path, info, name);
    if (m_pszTooLongPart != nullptr) {
        m_nError = DB3_E_INVALID;
        return FALSE;
    }

    m_strLocationWarning.clear();
    if (StoreGlobalFile(kLocationSection, kSampleListKey, &info, kStoreFlag) != OSTREL_OK) {
        const char* why = OstrelLastError();
        m_strLocationWarning = *why != '\0' ? why : "the settings library refused it";
    }
    m_strName = name;

    m_nError = DB3Open(m_nDatabase, m_strName.c_str(), DB3_MODE_CHECK);
    if (m_nError == DB3_E_LOCATION) {
        return FALSE;
    }

    if (create & 1) {
        if (m_bReplaceExisting) {
            DB3Open(m_nDatabase, m_strName.c_str(), DB3_MODE_REPLACE);
        }
        m_nError = DB3Open(m_nDatabase, m_strName.c_str(), DB3_MODE_CREATE);
        if (m_nError != 0) {
            return FALSE;
        }
        m_nRecords = 0;
    } else {
        m_nError = DB3Open(m_nDatabase, m_strName.c_str(), DB3_MODE_OPEN);
        if (m_nError != 0) {
            return FALSE;
        }
        m_nRecords = DB3GetRecordsInDB(m_nDatabase);
    }

    m_bOpen = TRUE;
    return TRUE;
}

BOOL CSampListFile::AppendRecord(CSampListRecord& record) {
    if (!m_bOpen) {
        return FALSE;
    }
    if (m_nRecords >= std::numeric_limits<std::int32_t>::max()) {
        m_nError = DB3_E_TOO_LARGE;
        return FALSE;
    }
    m_nError = DB3HandleRecord(m_nDatabase, m_nRecords + 1, &record.m_record, DB3_OP_STORE,
                               DB3_FLAG_APPEND);
    if (m_nError != 0) {
        return FALSE;
    }
    m_nRecords = DB3GetRecordsInDB(m_nDatabase);
    return TRUE;
}

void CSampListFile::Close() {
    if (m_bOpen) {
        m_nError = DB3Close(m_nDatabase);
    }
    m_bOpen = FALSE;
}

void CSampListFile::Abandon() {
    if (m_bOpen) {
        m_nError = DB3Abandon(m_nDatabase);
    }
    m_bOpen = FALSE;
}

std::string CSampListFile::LibraryPath(const std::string& path, std::string& why) {
    GLOBAL_FILE_INFO info;
    std::memset(&info, 0, sizeof(info));
    std::string name;
    if (const char* part = FillLocation(path, info, name)) {
        why = std::strcmp(part, "path") == 0
                  ? "its path holds a zero byte"
                  : std::string("its ") + part +
                        " is too long for the data system's sample-list location";
        return std::string();
    }
    if (name.empty()) {
        why = "it names no file, only a directory or an extension";
        return std::string();
    }
    std::string written = SampleListPath(info, name);
    if (written != path) {
        why =
            "the data system would write " + written + " instead" +
            (!path.empty() && path.back() == '.' ? ": a Sample List name cannot end in a dot" : "");
        return std::string();
    }
    return written;
}
