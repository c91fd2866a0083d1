// Location records and Sample Lists made and read through the data system's
// C functions (datasystem/ostrel.h, datasystem/ferrox.h), for the tests and
// the fuzz harnesses' seed maker. Header only: each program links the record
// and settings libraries it means (the stand-in, or a test's fake) and the
// contract library (k2l_datasystem_contract).
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "datasystem/FixedField.h"
#include "datasystem/LocationFields.h"
#include "datasystem/SampleListLocation.h"
#include "datasystem/ferrox.h"
#include "datasystem/ostrel.h"

namespace k2ltest {

// One record of a Sample List, byte for byte.
using ListRecord = std::array<unsigned char, DB3_SAMPLE_RECORD_SIZE>;

// The bytes of RECORD (a SAMPLE_RECORD, or any other record-sized object).
template <typename Record>
ListRecord ListRecordOf(const Record& record) {
    static_assert(sizeof(Record) == DB3_SAMPLE_RECORD_SIZE);
    ListRecord bytes;
    std::memcpy(bytes.data(), &record, bytes.size());
    return bytes;
}

// A location record of DIRECTORY (with its trailing separator), NAME and
// EXTENSION (without its dot), each cut to its field, zero everywhere else.
inline GLOBAL_FILE_INFO LocationRecord(std::string_view directory, std::string_view name = {},
                                       std::string_view extension = {}) {
    GLOBAL_FILE_INFO info;
    std::memset(&info, 0, sizeof info);
    WriteFixedFieldCut(info.szDirectory, directory);
    WriteFixedFieldCut(info.szName, name);
    WriteFixedFieldCut(info.szExtension, extension);
    return info;
}

// Where SetLocation keeps a location: for this process only, or stored in
// the settings file (and so for this process too).
enum class LocationScope { kThisProcess, kSettingsFile };

// Makes DIRECTORY and EXTENSION the location of KEY in the section
// "SystemList"; the settings library's status.
inline std::int32_t SetLocation(const char* key, std::string_view directory,
                                std::string_view extension,
                                LocationScope scope = LocationScope::kThisProcess) {
    const GLOBAL_FILE_INFO info = LocationRecord(directory, "", extension);
    return scope == LocationScope::kThisProcess
               ? UseGlobalFileInProcess(kLocationSection, key, &info)
               : StoreGlobalFile(kLocationSection, key, &info, 1);
}

// Makes the directory and extension of the list PATH this process's
// sample-list location; the list's name there, or "" when PATH cannot be
// such a location.
inline std::string UseListLocationOf(const std::string& path) {
    Result<SampleListLocation> located = LocateSampleList(path);
    if (!located.ok()) {
        return "";
    }
    GLOBAL_FILE_INFO info = located.value().info;
    std::memset(info.szName, 0, sizeof info.szName);
    return UseGlobalFileInProcess(kLocationSection, kSampleListKey, &info) == OSTREL_OK
               ? located.value().name
               : "";
}

// Creates the Sample List PATH holding RECORDS, numbered from 1, through the
// record library; the status of the first call that failed, DB3_OK when
// none did. The list's directory becomes this process's sample-list
// location.
inline std::int32_t WriteList(const std::string& path, const std::vector<ListRecord>& records) {
    const std::string name = UseListLocationOf(path);
    std::int32_t status = DB3Open(DB3_SAMPLE_LIST, name.c_str(), DB3_MODE_CREATE);
    for (std::size_t i = 0; status == DB3_OK && i < records.size(); ++i) {
        ListRecord copy = records[i];
        status = DB3HandleRecord(DB3_SAMPLE_LIST, static_cast<std::int32_t>(i + 1), copy.data(),
                                 DB3_OP_STORE, DB3_FLAG_APPEND);
    }
    if (status != DB3_OK) {
        DB3Abandon(DB3_SAMPLE_LIST);
        return status;
    }
    return DB3Close(DB3_SAMPLE_LIST);
}

// What the record library reads of a Sample List.
struct ListRead {
    std::int32_t status = DB3_OK;  // of the first call that failed
    std::vector<ListRecord> records;
};

// Reads every record of the Sample List PATH through the record library
// (opened as DB3_MODE_OPEN, then closed). The list's directory becomes this
// process's sample-list location.
inline ListRead ReadList(const std::string& path) {
    ListRead read;
    const std::string name = UseListLocationOf(path);
    read.status = DB3Open(DB3_SAMPLE_LIST, name.c_str(), DB3_MODE_OPEN);
    if (read.status != DB3_OK) {
        return read;
    }
    const std::int32_t count = DB3GetRecordsInDB(DB3_SAMPLE_LIST);
    for (std::int32_t number = 1; number <= count && read.status == DB3_OK; ++number) {
        ListRecord record{};
        read.status = DB3HandleRecord(DB3_SAMPLE_LIST, number, record.data(), DB3_OP_READ, 0);
        if (read.status == DB3_OK) {
            read.records.push_back(record);
        }
    }
    const std::int32_t closed = DB3Close(DB3_SAMPLE_LIST);
    if (read.status == DB3_OK) {
        read.status = closed;
    }
    return read;
}

}  // namespace k2ltest
