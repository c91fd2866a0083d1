// CSampListFile creates or opens a Sample List and appends SAMPLE_RECORD
// rows to it, through the data system's record library (ferrox.h) only; it
// never touches the file itself.
//
// The record library is given only the list's base name: it finds the file
// through the data system's sample-list location (key "SAMPLES_DB" of
// section "SystemList", ostrel.h). Open therefore first publishes the
// path's own directory and extension as that location, and leaves it so:
// after a conversion the data system looks for Sample Lists where the last
// one was written.
//
// The calls to the two libraries, their order and their arguments are part
// of the contract with the data system and are kept exactly:
//   open:   StoreGlobalFile("SystemList", "SAMPLES_DB", info, 1);
//           DB3Open(5, name, 5)             status 13: fail
//           create: DB3Open(5, name, 3)     status ignored (left out when
//                                           an existing list must be kept)
//                   DB3Open(5, name, 2)     nonzero: fail; count = 0
//           open:   DB3Open(5, name, 0)     nonzero: fail
//                   count = DB3GetRecordsInDB(5)
//   append: DB3HandleRecord(5, count + 1, record, 3, 1)   nonzero: fail
//           count = DB3GetRecordsInDB(5)
//   close:  DB3Close(5)
//   abandon: DB3Abandon(5)
// The calls go through the table of samplelist/DataSystem.h. With a record
// library that is not Korr2LD's own, a create always asks for mode 3 (the
// caller has asked about an existing list before), and Abandon closes
// (DB3Close), as there is no other way to let go of a list.
// The status of each recorded call stays in GetError() (0 = success).
//
// A new list appears only when Close() commits it; until then a list it
// replaces stays as it was. Abandon() gives the new list up, leaving what
// was there before.
//
// The path is taken apart by the data system's rule (LocateSampleList,
// datasystem/SampleListLocation.h). A path whose directory (with its drive),
// base name or extension does not fit its field of the location record is
// refused before anything is published: the open fails with DB3_E_INVALID and GetTooLongPart()
// names the part. Publishing a cut path would point the data system elsewhere.
#pragma once

#include <cstdint>
#include <string>

#include "framework/Types.h"
#include "samplelist/SampListRecord.h"

class CSampListFile {
public:
    static constexpr const char* kRuntimeClassName = "CSampListFile";

    // Sets the initial values and calls Open(path, create). REPLACE_EXISTING
    // FALSE makes a create fail rather than replace a list of that name,
    // even one that appears while the new list is written (DB3_E_EXISTS).
    CSampListFile(const std::string& path, BOOL create, BOOL replaceExisting = TRUE);
    // Calls Close().
    virtual ~CSampListFile();

    CSampListFile(const CSampListFile&) = delete;
    CSampListFile& operator=(const CSampListFile&) = delete;

    // Publishes PATH's location and creates (bit 0 of CREATE set; an
    // existing list of that name is removed first) or opens the list named
    // by PATH's base name. TRUE on success. A failed open leaves the object
    // closed with the failing status in GetError(); the location has been
    // published all the same (unless a part of PATH is too long).
    BOOL Open(const std::string& path, BOOL create);

    BOOL IsOpen() const { return m_bOpen; }

    // Appends RECORD's buffer as the next record. FALSE, with the count
    // unchanged, when the file is not open, when the record library refuses
    // the record (its status in GetError()), or when the list already holds
    // the largest count a record number can express (DB3_E_TOO_LARGE, the
    // library not called).
    BOOL AppendRecord(CSampListRecord& record);

    // Closes the list if it is open; GetError() then holds the close status
    // (nonzero: the records appended since the open are lost, and a new
    // list does not appear).
    void Close();

    // Closes the list without committing it, if it is open: a new list does
    // not appear, and a list it was to replace stays as it was. With a
    // record library that is not Korr2LD's own it closes the list
    // (DB3Close): what was stored stays stored.
    void Abandon();

    std::int32_t GetError() const { return m_nError; }
    std::int32_t GetRecordCount() const { return m_nRecords; }
    // The DB3Open mode of the call that failed the last Open, or -1.
    std::int32_t GetFailedMode() const { return m_nFailedMode; }
    const std::string& GetName() const { return m_strName; }
    // "directory", "name" or "extension" when the last Open was refused
    // because that part of the path does not fit the location record, and
    // "path" when the path holds a zero byte; nullptr otherwise.
    const char* GetTooLongPart() const { return m_pszTooLongPart; }
    // Why the last Open could not store the sample-list location in the
    // data system's settings (the list is written all the same, but the
    // data system will not look for it there), or empty.
    const std::string& GetLocationWarning() const { return m_strLocationWarning; }

private:
    BOOL m_bReplaceExisting;
    std::int32_t m_nError;
    std::int32_t m_nDatabase;
    std::int32_t m_nRecords;
    BOOL m_bOpen;
    std::string m_strName;
    const char* m_pszTooLongPart = nullptr;
    std::int32_t m_nFailedMode = -1;
    std::string m_strLocationWarning;
};
