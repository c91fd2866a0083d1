#include "samplelist/SampListFile.h"

#include <limits>

#include "datasystem/DataSystemEntries.h"
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
    m_nFailedMode = -1;

    const Result<SampleListLocation> located = LocateSampleList(path);
    if (!located.ok()) {
        m_pszTooLongPart = LocationPartName(UnfitLocationPart(path).value());
        m_nError = DB3_E_INVALID;
        return FALSE;
    }

    const DataSystemEntries& ds = DataSystem();
    m_strLocationWarning.clear();
    if (ds.StoreGlobalFile(kLocationSection, kSampleListKey, &located.value().info, kStoreFlag) !=
        OSTREL_OK) {
        m_strLocationWarning = SettingsLibraryError(ds, "the settings library refused it");
    }
    m_strName = located.value().name;

    m_nFailedMode = DB3_MODE_CHECK;
    m_nError = ds.DB3Open(m_nDatabase, m_strName.c_str(), DB3_MODE_CHECK);
    if (m_nError == DB3_E_LOCATION) {
        return FALSE;
    }

    if (create & 1) {
        // A library that is not ours gets the sequence the data system
        // knows, mode 3 included: whether a list may be replaced was asked
        // before (the caller's check of the output and its question).
        if (m_bReplaceExisting || !ds.ours) {
            ds.DB3Open(m_nDatabase, m_strName.c_str(), DB3_MODE_REPLACE);
        }
        m_nFailedMode = DB3_MODE_CREATE;
        m_nError = ds.DB3Open(m_nDatabase, m_strName.c_str(), DB3_MODE_CREATE);
        if (m_nError != 0) {
            return FALSE;
        }
        m_nRecords = 0;
    } else {
        m_nFailedMode = DB3_MODE_OPEN;
        m_nError = ds.DB3Open(m_nDatabase, m_strName.c_str(), DB3_MODE_OPEN);
        if (m_nError != 0) {
            return FALSE;
        }
        m_nRecords = ds.DB3GetRecordsInDB(m_nDatabase);
    }

    m_nFailedMode = -1;
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
    const DataSystemEntries& ds = DataSystem();
    m_nError = ds.DB3HandleRecord(m_nDatabase, m_nRecords + 1, &record.m_record, DB3_OP_STORE,
                                  DB3_FLAG_APPEND);
    if (m_nError != 0) {
        return FALSE;
    }
    m_nRecords = ds.DB3GetRecordsInDB(m_nDatabase);
    return TRUE;
}

void CSampListFile::Close() {
    if (m_bOpen) {
        m_nError = DataSystem().DB3Close(m_nDatabase);
    }
    m_bOpen = FALSE;
}

void CSampListFile::Abandon() {
    const DataSystemEntries& ds = DataSystem();
    if (!ds.ours || ds.DB3Abandon == nullptr) {
        Close();
        return;
    }
    if (m_bOpen) {
        m_nError = ds.DB3Abandon(m_nDatabase);
    }
    m_bOpen = FALSE;
}
