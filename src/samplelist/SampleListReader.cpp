#include "samplelist/SampleListReader.h"

#include "datasystem/DataSystemEntries.h"
#include "datasystem/LocationFields.h"
#include "datasystem/SampleListLocation.h"
#include "datasystem/ferrox.h"
#include "framework/File.h"
#include "framework/PathParts.h"

namespace {

// Reading a list in place is not among what the data system's own record
// library is known to offer.
Status WithoutReading() {
    return Status::Error("this record library does not offer reading");
}

// The record library's sentence for STATUS, or its number alone.
std::string StatusText(std::int32_t status) {
    const DataSystemEntries& ds = DataSystem();
    return ds.DB3StatusText != nullptr ? std::string(ds.DB3StatusText(status))
                                       : "status " + std::to_string(status);
}

// Without the record library's identity, the file's own stamp (no change
// counter) names the list as it lies now, so that what was kept of a list
// read before can still be used; a regular file only.
Result<SampleListIdentity> StampOnly(const std::string& path) {
    SampleListIdentity identity{};
    identity.path = FullPath(path, kMaxPath);
    const Result<FileStatus> status = StatusAt(identity.path.empty() ? path : identity.path);
    if (!status.ok() || status.value().kind != FileKind::kRegular) {
        return WithoutReading();
    }
    const FileStatus& file = status.value();
    identity.file = DB3_LIST_IDENTITY{file.device,
                                      file.inode,
                                      static_cast<std::int64_t>(file.size),
                                      file.modifiedSeconds,
                                      file.modifiedNanoseconds,
                                      file.changedSeconds,
                                      file.changedNanoseconds,
                                      0,
                                      0};
    return identity;
}

}  // namespace

SampleListReader::~SampleListReader() {
    if (m_bOpen) {
        DataSystem().DB3Close(DB3_SAMPLE_LIST);
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
    if (DataSystem().UseGlobalFileInProcess(kLocationSection, kSampleListKey,
                                            &located.value().info) != OSTREL_OK) {
        return Status::Error(
            SettingsLibraryError(DataSystem(), "the data system refused the location"));
    }
    return located.value().name;
}

Status SampleListReader::Open(const std::string& path) {
    if (!DataSystem().Reads()) {
        m_path = path;
        return WithoutReading();
    }
    const Result<std::string> name = UseLocationOf(path, m_path);
    if (!name.ok()) {
        return name.status();
    }
    const DataSystemEntries& ds = DataSystem();
    const std::int32_t status = ds.DB3Open(DB3_SAMPLE_LIST, name.value().c_str(), DB3_MODE_READ);
    if (status != DB3_OK) {
        // The library's cause names what failed and the system's reason.
        const std::string cause = ds.DB3GetFailureCause != nullptr
                                      ? ds.DB3GetFailureCause(DB3_SAMPLE_LIST, nullptr)
                                      : std::string();
        return Status::Error(cause.empty() ? StatusText(status) : cause);
    }
    m_bOpen = true;
    m_nRecords = ds.DB3GetRecordsInDB(DB3_SAMPLE_LIST);
    return Status::Ok();
}

Result<SampleListIdentity> SampleListReader::Identify(const std::string& path, bool changeCounter) {
    return Identify(path, changeCounter ? DB3_IDENTITY_COUNTER : DB3_IDENTITY_STATUS);
}

Result<SampleListIdentity> SampleListReader::Identify(const std::string& path, std::int32_t what) {
    SampleListIdentity identity{};
    if (!DataSystem().Reads() || DataSystem().DB3GetListIdentity == nullptr) {
        return StampOnly(path);
    }
    const Result<std::string> name = UseLocationOf(path, identity.path);
    if (!name.ok()) {
        return name.status();
    }
    const std::int32_t status = DataSystem().DB3GetListIdentity(
        DB3_SAMPLE_LIST, name.value().c_str(), what, &identity.file);
    if (status != DB3_OK) {
        return Status::Error(StatusText(status));
    }
    return identity;
}

Status SampleListReader::Read(std::int32_t number, SAMPLE_RECORD& record) {
    if (!m_bOpen) {
        return WithoutReading();
    }
    const std::int32_t status =
        DataSystem().DB3HandleRecord(DB3_SAMPLE_LIST, number, &record, DB3_OP_READ, 0);
    if (status != DB3_OK) {
        return Status::Error("record " + std::to_string(number) + ": " + StatusText(status));
    }
    return Status::Ok();
}
