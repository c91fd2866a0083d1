#include "samplelist/SampleListReader.h"

#include <cstring>

#include "datasystem/LocationFields.h"
#include "datasystem/ferrox.h"
#include "framework/PathParts.h"
#include "util/PathName.h"

SampleListReader::~SampleListReader() {
    if (m_bOpen) {
        DB3Close(SAMPLE_LIST_DB);
    }
}

bool SampleListReader::Open(const std::string& path) {
    m_path = FullPath(path, CPathName::kMaxPath);
    if (m_path.empty()) {
        m_path = path;
        m_error = "the path cannot be made absolute or is too long";
        return false;
    }
    const PathParts parts = SplitPath(m_path);
    std::string extension = parts.extension;
    if (!extension.empty() && extension.front() == '.') {
        extension.erase(0, 1);
    }
    GLOBAL_FILE_INFO info;
    std::memset(&info, 0, sizeof info);
    if (!SetLocationField(info.szDirectory, parts.drive + parts.directory) ||
        !SetLocationField(info.szName, parts.name) ||
        !SetLocationField(info.szExtension, extension)) {
        m_error = "the path is too long for the data system";
        return false;
    }
    if (UseGlobalFileInProcess(kLocationSection, kSampleListKey, &info) != OSTREL_OK) {
        m_error =
            *OstrelLastError() != '\0' ? OstrelLastError() : "the data system refused the location";
        return false;
    }
    const std::int32_t status = DB3Open(SAMPLE_LIST_DB, parts.name.c_str(), DB3_MODE_READ);
    if (status != DB3_OK) {
        m_error = DB3StatusText(status);
        return false;
    }
    m_bOpen = true;
    m_nRecords = DB3GetRecordsInDB(SAMPLE_LIST_DB);
    return true;
}

bool SampleListReader::Read(std::int32_t number, SAMPLE_RECORD& record) {
    const std::int32_t status = DB3HandleRecord(SAMPLE_LIST_DB, number, &record, DB3_OP_READ, 0);
    if (status != DB3_OK) {
        m_error = "record " + std::to_string(number) + ": " + DB3StatusText(status);
        return false;
    }
    return true;
}
