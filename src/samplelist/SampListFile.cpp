#include "samplelist/SampListFile.h"

#include <limits>

#include "datasystem/LocationFields.h"
#include "datasystem/SampleListLocation.h"
#include "datasystem/ferrox.h"
#include "datasystem/ostrel.h"

namespace {

constexpr std::int32_t kStoreFlag = 1;

}  // namespace

CSampListFile::CSampListFile(const std::string& path, BOOL create, BOOL replaceExisting)
    : m_bReplaceExisting(replaceExisting),
      m_nError(0),
      m_nDatabase(DB3_SAMPLE_LIST),
      m_nRecords(0),
      m_bOpen(FALSE) {
    Open(path, create);
}

CSampListFile::~CSampListFile() {
    Close();
}

BOOL CSampListFile::Open(const std::string& path, BOOL create) {
    // One database of a number can be open at a time.
    Close();
    m_pszTooLongPart = nullptr;

    const Result<SampleListLocation> located = LocateSampleList(path);
    if (!located.ok()) {
        m_pszTooLongPart = LocationPartName(UnfitLocationPart(path).value());
        m_nError = DB3_E_INVALID;
        return FALSE;
    }

    m_strLocationWarning.clear();
    if (StoreGlobalFile(kLocationSection, kSampleListKey, &located.value().info, kStoreFlag) !=
        OSTREL_OK) {
        m_strLocationWarning = SettingsLibraryError("the settings library refused it");
    }
    m_strName = located.value().name;

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
