// SampleListReader reads the records of an existing Sample List in place,
// through the record library only, and never changes a file: a list with
// an unfinished write beside it is refused, not repaired.
//
// The record library finds a list by base name at the sample-list location.
// Open points that location at the list's own directory and extension for
// this process only (UseGlobalFileInProcess), so reading a list never
// changes the location the data system has stored. The reader holds the
// record library's Sample List database from a successful Open until its
// destruction; there can be one open reader in a process at a time.
//
// Reading in place needs the record library's read mode and operation,
// which only Korr2LD's own record library is known to offer: with any
// other, Open and Read fail with "this record library does not offer
// reading" and call nothing, and Identify gives the file's own stamp
// (framework/File.h) without a change counter.
#pragma once

#include <cstdint>
#include <string>

#include "datasystem/ferrox.h"
#include "framework/Status.h"
#include "samplelist/SampleRecord.h"

// A Sample List's file as the record library identifies it
// (DB3GetListIdentity), with the path to name it by.
struct SampleListIdentity {
    std::string path;  // made absolute, as GetPath() gives it
    DB3_LIST_IDENTITY file;
};

class SampleListReader {
public:
    // The identity of the Sample List at PATH without opening it, through
    // the record library: a stat of the list and of its journal's name, and
    // with CHANGE_COUNTER a read of the list's header. Points the location
    // as Open does, and fails whenever the record library would not look at
    // the file as a list to read (no regular file there, an unfinished write
    // beside it); it may still refuse to open a list that Identify accepts.
    // Can be called while a reader is open.
    static Result<SampleListIdentity> Identify(const std::string& path, bool changeCounter);
    // The same with WHAT as DB3GetListIdentity takes it (DB3_IDENTITY_COMMITTED:
    // the list this process's last close put at PATH, as it was then).
    static Result<SampleListIdentity> Identify(const std::string& path, std::int32_t what);

    SampleListReader() = default;
    ~SampleListReader();

    SampleListReader(const SampleListReader&) = delete;
    SampleListReader& operator=(const SampleListReader&) = delete;

    // Opens the Sample List at PATH. A failure says, as a clause, why the
    // path cannot be used or the record library refuses the list.
    Status Open(const std::string& path);

    // The list's path made absolute (set by Open, even when it fails after
    // making it absolute); the path to name in messages.
    const std::string& GetPath() const { return m_path; }

    std::int32_t GetRecordCount() const { return m_nRecords; }

    // Copies record NUMBER (1-based) into RECORD. A failure names the record
    // and the record library's reason.
    Status Read(std::int32_t number, SAMPLE_RECORD& record);

private:
    // Makes PATH absolute into FULL_PATH (PATH itself when it cannot be)
    // and the record library find the list there by the name it returns.
    static Result<std::string> UseLocationOf(const std::string& path, std::string& fullPath);

    std::string m_path;
    std::int32_t m_nRecords = 0;
    bool m_bOpen = false;
};
