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

Result<std::string> SampleListReader::UseLocationOf(const std::string& path,
                                                    std::string& fullPath) {
    fullPath = FullPath(path, kMaxPath);
    if (fullPath.empty()) {
        fullPath = path;
        return Status::Error("the path cannot be made absolute or is too long");
    }
    // FullPath leaves no zero byte: only a part too long for its field is
    // refused.
    const Result<SampleListLocation> located = LocateSampleList(fullPath);
    if (!located.ok()) {
        return Status::Error("the path is too long for the data system");
    }
    if (UseGlobalFileInProcess(kLocationSection, kSampleListKey, &located.value().info) !=
        OSTREL_OK) {
        return Status::Error(SettingsLibraryError("the data system refused the location"));
    }
    return located.value().name;
}

Status SampleListReader::Open(const std::string& path) {
    const Result<std::string> name = UseLocationOf(path, m_path);
    if (!name.ok()) {
        return name.status();
    }
    const std::int32_t status = DB3Open(DB3_SAMPLE_LIST, name.value().c_str(), DB3_MODE_READ);
    if (status != DB3_OK) {
        // The library's cause names what failed and the system's reason.
        const std::string cause = DB3GetFailureCause(DB3_SAMPLE_LIST, nullptr);
        return Status::Error(cause.empty() ? DB3StatusText(status) : cause);
    }
    m_bOpen = true;
    m_nRecords = DB3GetRecordsInDB(DB3_SAMPLE_LIST);
    return Status::Ok();
}

Result<SampleListIdentity> SampleListReader::Identify(const std::string& path, bool changeCounter) {
    return Identify(path, changeCounter ? DB3_IDENTITY_COUNTER : DB3_IDENTITY_STATUS);
}

Result<SampleListIdentity> SampleListReader::Identify(const std::string& path, std::int32_t what) {
    SampleListIdentity identity{};
    const Result<std::string> name = UseLocationOf(path, identity.path);
    if (!name.ok()) {
        return name.status();
    }
    const std::int32_t status =
        DB3GetListIdentity(DB3_SAMPLE_LIST, name.value().c_str(), what, &identity.file);
    if (status != DB3_OK) {
        return Status::Error(DB3StatusText(status));
    }
    return identity;
}

Status SampleListReader::Read(std::int32_t number, SAMPLE_RECORD& record) {
    const std::int32_t status = DB3HandleRecord(DB3_SAMPLE_LIST, number, &record, DB3_OP_READ, 0);
    if (status != DB3_OK) {
        return Status::Error("record " + std::to_string(number) + ": " + DB3StatusText(status));
    }
    return Status::Ok();
}
