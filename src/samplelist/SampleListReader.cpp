#include "samplelist/SampleListReader.h"

#include "datasystem/LocationFields.h"
#include "datasystem/SampleListLocation.h"
#include "datasystem/ferrox.h"
#include "framework/PathParts.h"

SampleListReader::~SampleListReader() {
    if (m_bOpen) {
        DB3Close(DB3_SAMPLE_LIST);
    }
}

Status SampleListReader::Open(const std::string& path) {
    m_path = FullPath(path, kMaxPath);
    if (m_path.empty()) {
        m_path = path;
        return Status::Error("the path cannot be made absolute or is too long");
    }
    // FullPath leaves no zero byte: only a part too long for its field is
    // refused.
    const Result<SampleListLocation> located = LocateSampleList(m_path);
    if (!located.ok()) {
        return Status::Error("the path is too long for the data system");
    }
    if (UseGlobalFileInProcess(kLocationSection, kSampleListKey, &located.value().info) !=
        OSTREL_OK) {
        return Status::Error(SettingsLibraryError("the data system refused the location"));
    }
    const std::int32_t status =
        DB3Open(DB3_SAMPLE_LIST, located.value().name.c_str(), DB3_MODE_READ);
    if (status != DB3_OK) {
        return Status::Error(DB3StatusText(status));
    }
    m_bOpen = true;
    m_nRecords = DB3GetRecordsInDB(DB3_SAMPLE_LIST);
    return Status::Ok();
}

Status SampleListReader::Read(std::int32_t number, SAMPLE_RECORD& record) {
    const std::int32_t status = DB3HandleRecord(DB3_SAMPLE_LIST, number, &record, DB3_OP_READ, 0);
    if (status != DB3_OK) {
        return Status::Error("record " + std::to_string(number) + ": " + DB3StatusText(status));
    }
    return Status::Ok();
}
