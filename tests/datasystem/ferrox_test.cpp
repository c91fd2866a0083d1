#include "datasystem/ferrox.h"

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "datasystem_test_support.h"

namespace {

using dstest::Append;
using dstest::DataSystemTest;
using dstest::MakeRecord;
using dstest::Record;
using k2ltest::ReadFile;

constexpr int32_t kDb = DB3_SAMPLE_LIST;

// Runs SQL on the file at PATH with a connection of its own.
void Sql(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK)
        << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
}

// The rows of a query on the file at PATH, columns joined by '|'.
std::vector<std::string> Rows(const std::string& path, const std::string& sql) {
    std::vector<std::string> rows;
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt* statement = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr), SQLITE_OK)
        << sqlite3_errmsg(db);
    while (sqlite3_step(statement) == SQLITE_ROW) {
        std::string row;
        for (int i = 0; i < sqlite3_column_count(statement); ++i) {
            const auto* text = sqlite3_column_text(statement, i);
            row += (i ? "|" : "") + std::string(text ? reinterpret_cast<const char*>(text) : "");
        }
        rows.push_back(row);
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return rows;
}

class FerroxTest : public DataSystemTest {
protected:
    FerroxTest() { UseListDirectory(m_lists); }
};

// ---- Mode 5: the location --------------------------------------------------

TEST_F(FerroxTest, CheckModeTellsWhetherTheLocationIsUsable) {
    EXPECT_EQ(DB3Open(kDb, "run12", DB3_MODE_CHECK), DB3_OK);
    EXPECT_EQ(std::string(DB3GetPath(kDb)), m_lists + "run12.sdb");
    EXPECT_FALSE(std::filesystem::exists(m_lists + "run12.sdb"));

    UseListDirectory(m_lists + "missing/");
    EXPECT_EQ(DB3Open(kDb, "run12", DB3_MODE_CHECK), DB3_E_LOCATION);
    UseListDirectory(m_scratch.Write("plainfile", "x") + "/");
    EXPECT_EQ(DB3Open(kDb, "run12", DB3_MODE_CHECK), DB3_E_LOCATION);
    UseListDirectory("");
    EXPECT_EQ(DB3Open(kDb, "run12", DB3_MODE_CHECK), DB3_E_LOCATION);
    EXPECT_EQ(DB3Open(kDb, "run12", DB3_MODE_CREATE), DB3_E_LOCATION);
    EXPECT_STREQ(DB3GetPath(kDb), "");
}

TEST_F(FerroxTest, CheckModeRefusesADirectoryThatCannotBeWritten) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "running as root: every directory can be written";
    }
    ASSERT_EQ(chmod(m_lists.c_str(), 0555), 0);
    const int32_t status = DB3Open(kDb, "run12", DB3_MODE_CHECK);
    chmod(m_lists.c_str(), 0755);
    EXPECT_EQ(status, DB3_E_LOCATION);
}

TEST_F(FerroxTest, LocationStoredInTheSettingsFileIsFoundByAnotherProcess) {
    ASSERT_EQ(
        k2ltest::SetLocation(kSampleListKey, m_lists, "lst", k2ltest::LocationScope::kSettingsFile),
        OSTREL_OK);
    EXPECT_EQ(dstest::RunProbe("create run12"), m_lists + "run12.lst");
    EXPECT_TRUE(std::filesystem::exists(m_lists + "run12.lst"));
    ASSERT_EQ(DB3Open(kDb, "run12", DB3_MODE_OPEN), DB3_OK);
    EXPECT_EQ(DB3GetRecordsInDB(kDb), 0);
}

TEST_F(FerroxTest, PathHasNoDotWithoutExtension) {
    UseListDirectory(m_lists, "");
    ASSERT_EQ(DB3Open(kDb, "run.12", DB3_MODE_CREATE), DB3_OK);
    EXPECT_EQ(std::string(DB3GetPath(kDb)), m_lists + "run.12");
    EXPECT_EQ(DB3Close(kDb), DB3_OK);
    EXPECT_TRUE(std::filesystem::exists(m_lists + "run.12"));
}

TEST_F(FerroxTest, EveryNameTheFileSystemTakesIsWritten) {
    // With ".sdb", 224 to 255 bytes: longer than the hidden files' names allow
    // unless they are shortened.
    for (const std::size_t length : {220u, 221u, 240u, 251u}) {
        const std::string name(length, 'n');
        ASSERT_EQ(DB3Open(kDb, name.c_str(), DB3_MODE_CREATE), DB3_OK) << length;
        ASSERT_EQ(Append(1), DB3_OK);
        ASSERT_EQ(DB3Close(kDb), DB3_OK);
        ASSERT_EQ(DB3Open(kDb, name.c_str(), DB3_MODE_OPEN), DB3_OK);
        EXPECT_EQ(DB3GetRecordsInDB(kDb), 1);
        EXPECT_EQ(DB3Close(kDb), DB3_OK);
        EXPECT_EQ(k2ltest::Entries(m_lists), std::vector<std::string>{name + ".sdb"});
        std::filesystem::remove(m_lists + name + ".sdb");
    }
}

TEST_F(FerroxTest, RefusesBadNamesNumbersAndModes) {
    for (const char* name : {"", "a/b", "a\\b", ".", ".."}) {
        EXPECT_EQ(DB3Open(kDb, name, DB3_MODE_CREATE), DB3_E_INVALID) << name;
    }
    EXPECT_EQ(DB3Open(kDb, nullptr, DB3_MODE_CHECK), DB3_E_INVALID);
    EXPECT_EQ(DB3Open(kDb, std::string(256, 'n').c_str(), DB3_MODE_CREATE), DB3_E_INVALID);
    EXPECT_EQ(DB3Open(4, "run12", DB3_MODE_CREATE), DB3_E_INVALID);
    EXPECT_EQ(DB3Open(kDb, "run12", 4), DB3_E_INVALID);
    EXPECT_EQ(DB3Close(kDb), DB3_E_NOT_OPEN);
    EXPECT_EQ(DB3GetRecordsInDB(kDb), 0);
    Record record = MakeRecord(1);
    EXPECT_EQ(DB3HandleRecord(kDb, 1, record.data(), DB3_OP_STORE, DB3_FLAG_APPEND),
              DB3_E_NOT_OPEN);
    EXPECT_TRUE(std::filesystem::is_empty(m_lists));
}

// ---- Modes 3, 2 and 0 ------------------------------------------------------

TEST_F(FerroxTest, CreateAppendCloseAndReopenKeepsEveryByte) {
    EXPECT_EQ(DB3Open(kDb, "run12", DB3_MODE_REPLACE), DB3_OK);  // nothing to replace
    ASSERT_EQ(DB3Open(kDb, "run12", DB3_MODE_CREATE), DB3_OK);
    EXPECT_EQ(DB3GetRecordsInDB(kDb), 0);
    for (int n = 1; n <= 40; ++n) {
        ASSERT_EQ(Append(n), DB3_OK);
        EXPECT_EQ(DB3GetRecordsInDB(kDb), n);
    }
    Record back;
    ASSERT_EQ(DB3HandleRecord(kDb, 17, back.data(), DB3_OP_READ, 0), DB3_OK);  // uncommitted
    EXPECT_EQ(back, MakeRecord(17));
    ASSERT_EQ(DB3Close(kDb), DB3_OK);
    EXPECT_EQ(DB3GetRecordsInDB(kDb), 0);

    ASSERT_EQ(DB3Open(kDb, "run12", DB3_MODE_OPEN), DB3_OK);
    EXPECT_EQ(DB3GetRecordsInDB(kDb), 40);
    for (int n = 1; n <= 40; ++n) {
        back.fill(0);
        ASSERT_EQ(DB3HandleRecord(kDb, n, back.data(), DB3_OP_READ, 0), DB3_OK);
        EXPECT_EQ(back, MakeRecord(n)) << "record " << n;
    }
    EXPECT_EQ(DB3HandleRecord(kDb, 41, back.data(), DB3_OP_READ, 0), DB3_E_NO_RECORD);
    EXPECT_EQ(DB3HandleRecord(kDb, 0, back.data(), DB3_OP_READ, 0), DB3_E_NO_RECORD);
    EXPECT_EQ(DB3HandleRecord(kDb, 1, back.data(), DB3_OP_READ, 1), DB3_E_INVALID);
    EXPECT_EQ(DB3HandleRecord(kDb, 1, nullptr, DB3_OP_READ, 0), DB3_E_INVALID);
    // Appending continues after the records already there.
    EXPECT_EQ(Append(41, MakeRecord(41)), DB3_OK);
    EXPECT_EQ(DB3Close(kDb), DB3_OK);
    ASSERT_EQ(DB3Open(kDb, "run12", DB3_MODE_OPEN), DB3_OK);
    EXPECT_EQ(DB3GetRecordsInDB(kDb), 41);
}

TEST_F(FerroxTest, StoreOnlyAppendsTheNextNumber) {
    ASSERT_EQ(DB3Open(kDb, "run12", DB3_MODE_CREATE), DB3_OK);
    EXPECT_EQ(Append(2, MakeRecord(2)), DB3_E_SEQUENCE);
    EXPECT_EQ(Append(0, MakeRecord(0)), DB3_E_SEQUENCE);
    EXPECT_EQ(Append(1, MakeRecord(1)), DB3_OK);
    EXPECT_EQ(Append(1, MakeRecord(1)), DB3_E_SEQUENCE);
    EXPECT_EQ(Append(3, MakeRecord(3)), DB3_E_SEQUENCE);
    EXPECT_EQ(Append(2, MakeRecord(2)), DB3_OK);
    Record record = MakeRecord(3);
    EXPECT_EQ(DB3HandleRecord(kDb, 3, record.data(), DB3_OP_STORE, 0), DB3_E_INVALID);
    EXPECT_EQ(DB3HandleRecord(kDb, 3, record.data(), 2, DB3_FLAG_APPEND), DB3_E_INVALID);
    EXPECT_EQ(DB3GetRecordsInDB(kDb), 2);
    EXPECT_EQ(DB3Close(kDb), DB3_OK);
}

TEST_F(FerroxTest, CreateRefusesAnExistingFileAndOneListIsOpenAtATime) {
    CreateList("run12", 3);
    EXPECT_EQ(DB3Open(kDb, "run12", DB3_MODE_CREATE), DB3_E_EXISTS);
    ASSERT_EQ(DB3Open(kDb, "run12", DB3_MODE_OPEN), DB3_OK);
    EXPECT_EQ(DB3Open(kDb, "other", DB3_MODE_CREATE), DB3_E_ALREADY_OPEN);
    EXPECT_EQ(DB3Open(kDb, "run12", DB3_MODE_OPEN), DB3_E_ALREADY_OPEN);
    EXPECT_EQ(DB3Open(kDb, "run12", DB3_MODE_REPLACE), DB3_E_ALREADY_OPEN);
    EXPECT_EQ(DB3GetRecordsInDB(kDb), 3);
    EXPECT_EQ(DB3Close(kDb), DB3_OK);
    EXPECT_EQ(DB3Open(kDb, "missing", DB3_MODE_OPEN), DB3_E_NOT_FOUND);
}

TEST_F(FerroxTest, ReplaceKeepsTheOldListWholeUntilTheCommit) {
    CreateList("run12", 2);
    const std::string list = m_lists + "run12.sdb";
    const std::string before = ReadFile(list);
    auto listing = [&] {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_lists)) {
            names.insert(entry.path().filename().string());
        }
        return names;
    };

    // Abandoned: the old list stays, byte for byte, and nothing else does.
    ASSERT_EQ(DB3Open(kDb, "run12", DB3_MODE_REPLACE), DB3_OK);
    ASSERT_EQ(DB3Open(kDb, "run12", DB3_MODE_CREATE), DB3_OK);
    ASSERT_EQ(Append(1, MakeRecord(7)), DB3_OK);
    EXPECT_EQ(ReadFile(list), before) << "visible before the commit";
    EXPECT_EQ(DB3Abandon(kDb), DB3_OK);
    EXPECT_EQ(ReadFile(list), before);
    EXPECT_EQ(listing(), std::set<std::string>{"run12.sdb"});

    // Committed: the new list takes the name; a journal of the old one goes.
    m_scratch.Write("lists/run12.sdb-journal", "stale");
    ASSERT_EQ(DB3Open(kDb, "run12", DB3_MODE_REPLACE), DB3_OK);
    ASSERT_EQ(DB3Open(kDb, "run12", DB3_MODE_CREATE), DB3_OK);
    ASSERT_EQ(Append(1, MakeRecord(7)), DB3_OK);
    ASSERT_EQ(DB3Close(kDb), DB3_OK);
    EXPECT_EQ(listing(), std::set<std::string>{"run12.sdb"});
    ASSERT_EQ(DB3Open(kDb, "run12", DB3_MODE_READ), DB3_OK);
    EXPECT_EQ(DB3GetRecordsInDB(kDb), 1);
    EXPECT_EQ(DB3Close(kDb), DB3_OK);

    // Without a replace mark a create never replaces, and only Sample Lists
    // are ever replaced: an empty file or another file stays as it is.
    EXPECT_EQ(DB3Open(kDb, "run12", DB3_MODE_CREATE), DB3_E_EXISTS);
    const std::string text = m_scratch.Write("lists/notes.sdb", "my notes, not a list\n");
    const std::string empty = m_scratch.Write("lists/empty.sdb", "");
    for (const char* name : {"notes", "empty"}) {
        EXPECT_EQ(DB3Open(kDb, name, DB3_MODE_CREATE), DB3_E_EXISTS) << name;
        // A failed replace fails the create that follows it the same way.
        EXPECT_EQ(DB3Open(kDb, name, DB3_MODE_REPLACE), DB3_E_NOT_SAMPLE_LIST) << name;
        EXPECT_EQ(DB3Open(kDb, name, DB3_MODE_CREATE), DB3_E_NOT_SAMPLE_LIST) << name;
        EXPECT_EQ(DB3Open(kDb, name, DB3_MODE_CREATE), DB3_E_EXISTS) << name;
    }
    EXPECT_EQ(ReadFile(text), "my notes, not a list\n");
    EXPECT_TRUE(std::filesystem::exists(empty));
    EXPECT_EQ(listing(), (std::set<std::string>{"run12.sdb", "notes.sdb", "empty.sdb"}));
}

TEST_F(FerroxTest, StaleJournalIsNotPlayedIntoANewList) {
    // A list with a pending transaction, killed: its hot journal stays.
    CreateList("run12", 1);
    ASSERT_EQ(dstest::AppendAndDie("run12", DB3_MODE_OPEN, 2, 3000), 0);
    ASSERT_TRUE(std::filesystem::exists(m_lists + "run12.sdb-journal"));
    // Someone deletes the list by hand but not its journal.
    std::filesystem::remove(m_lists + "run12.sdb");
    ASSERT_EQ(DB3Open(kDb, "run12", DB3_MODE_CREATE), DB3_OK);
    EXPECT_EQ(DB3GetRecordsInDB(kDb), 0);
    EXPECT_EQ(Append(1, MakeRecord(7)), DB3_OK);
    ASSERT_EQ(DB3Close(kDb), DB3_OK);
    EXPECT_EQ(Rows(ListPath("run12"), "PRAGMA integrity_check"), std::vector<std::string>{"ok"});
    EXPECT_EQ(Rows(ListPath("run12"), "SELECT count(*) FROM records"),
              std::vector<std::string>{"1"});
}

// ---- Files that are not Sample Lists are refused and never changed ---------

class FerroxForeignFileTest : public FerroxTest {
protected:
    // Opens list NAME expecting a refusal, and checks that neither the file
    // nor anything beside it changed.
    void ExpectRefused(const std::string& name) {
        const std::string path = ListPath(name);
        const std::string before = ReadFile(path);
        const std::string journal = path + "-journal";
        const bool hadJournal = std::filesystem::exists(journal);
        const std::string journalBefore = hadJournal ? ReadFile(journal) : "";
        EXPECT_EQ(DB3Open(kDb, name.c_str(), DB3_MODE_OPEN), DB3_E_NOT_SAMPLE_LIST);
        EXPECT_EQ(DB3GetRecordsInDB(kDb), 0);
        EXPECT_EQ(DB3Close(kDb), DB3_E_NOT_OPEN);
        EXPECT_EQ(ReadFile(path), before);
        EXPECT_EQ(std::filesystem::exists(journal), hadJournal);
        if (hadJournal) {
            EXPECT_EQ(ReadFile(journal), journalBefore);
        }
    }
};

TEST_F(FerroxForeignFileTest, NotSqlite) {
    m_scratch.Write("lists/text.sdb", "Sample list of plate 7\nA1\tserum\n");
    ExpectRefused("text");
    m_scratch.Write("lists/short.sdb", "SQLite format 3");
    ExpectRefused("short");
    std::filesystem::create_directory(m_lists + "dir.sdb");
    EXPECT_EQ(DB3Open(kDb, "dir", DB3_MODE_OPEN), DB3_E_NOT_SAMPLE_LIST);
}

TEST_F(FerroxForeignFileTest, ForeignSqliteDatabaseEvenWithAHotJournal) {
    const std::string path = ListPath("foreign");
    Sql(path,
        "PRAGMA user_version = 1; CREATE TABLE records(number INTEGER PRIMARY KEY, data BLOB);"
        "INSERT INTO records VALUES(1, zeroblob(4262));");
    ExpectRefused("foreign");

    // The same with a journal a crash left beside it.
    ASSERT_EQ(k2ltest::RunInChild([&](std::string&) {
                  sqlite3* db = nullptr;
                  sqlite3_open(path.c_str(), &db);
                  sqlite3_exec(db,
                               "PRAGMA cache_size = 2; BEGIN; "
                               "WITH RECURSIVE n(i) AS (SELECT 2 UNION ALL SELECT i + 1 FROM n "
                               "WHERE i < 500) INSERT INTO records SELECT i, zeroblob(4262) FROM n;"
                               "UPDATE records SET data = zeroblob(10) WHERE number = 1;",
                               nullptr, nullptr, nullptr);
                  return 0;  // _exit without committing
              }).exitCode,
              0);
    ASSERT_TRUE(std::filesystem::exists(path + "-journal"));
    ExpectRefused("foreign");
}

TEST_F(FerroxForeignFileTest, OurMarkButAnotherSchema) {
    Sql(ListPath("schema"),
        "PRAGMA application_id = 1180193612; PRAGMA user_version = 1;"
        "CREATE TABLE records(number INTEGER, data BLOB NOT NULL);");
    ExpectRefused("schema");
    Sql(ListPath("norowid"),
        "PRAGMA application_id = 1180193612; PRAGMA user_version = 1;"
        "CREATE TABLE records(number INTEGER PRIMARY KEY, data BLOB NOT NULL) WITHOUT ROWID;");
    ExpectRefused("norowid");
    Sql(ListPath("version"),
        "PRAGMA application_id = 1180193612; PRAGMA user_version = 2;"
        "CREATE TABLE records(number INTEGER PRIMARY KEY, data BLOB NOT NULL);");
    ExpectRefused("version");
}

TEST_F(FerroxForeignFileTest, GapInNumbers) {
    CreateList("gap", 5);
    Sql(ListPath("gap"), "DELETE FROM records WHERE number = 3");
    ExpectRefused("gap");
    CreateList("zero", 2);
    Sql(ListPath("zero"), "UPDATE records SET number = 0 WHERE number = 1");
    ExpectRefused("zero");
}

TEST_F(FerroxForeignFileTest, RecordOfTheWrongSizeIsRefusedOnRead) {
    CreateList("short", 3);
    Sql(ListPath("short"), "UPDATE records SET data = zeroblob(4261) WHERE number = 2");
    const std::string before = ReadFile(ListPath("short"));
    ASSERT_EQ(DB3Open(kDb, "short", DB3_MODE_OPEN), DB3_OK);
    Record record;
    EXPECT_EQ(DB3HandleRecord(kDb, 1, record.data(), DB3_OP_READ, 0), DB3_OK);
    EXPECT_EQ(DB3HandleRecord(kDb, 2, record.data(), DB3_OP_READ, 0), DB3_E_NOT_SAMPLE_LIST);
    EXPECT_EQ(DB3Close(kDb), DB3_OK);
    EXPECT_EQ(ReadFile(ListPath("short")), before);
}

// ---- What people see with the sqlite3 tool ---------------------------------

TEST_F(FerroxTest, FileCarriesItsMarkAndAReadableView) {
    Record record{};
    auto put = [&](std::size_t offset, const std::string& text) {
        std::copy(text.begin(), text.end(), record.begin() + static_cast<std::ptrdiff_t>(offset));
    };
    put(0, "PLATE001");
    put(260, std::string(119, 'f') + "X");  // fills the whole span
    put(380, "MSMETH");
    put(640, "INLET");
    put(1160, "MACRO1");
    put(1433, "1");
    put(1904, "Serum");
    put(1955, "12.5");
    put(2555, "[]");  // not shown
    const std::string path = ListPath("run12");
    ASSERT_EQ(k2ltest::WriteList(path, {record, Record{}}), DB3_OK);

    EXPECT_EQ(Rows(path, "PRAGMA application_id"), std::vector<std::string>{"1180193612"});
    EXPECT_EQ(Rows(path, "PRAGMA user_version"), std::vector<std::string>{"1"});
    EXPECT_EQ(Rows(path, "PRAGMA page_size"), std::vector<std::string>{"65536"});
    EXPECT_EQ(Rows(path, "PRAGMA journal_mode"), std::vector<std::string>{"delete"});
    EXPECT_EQ(Rows(path,
                   "SELECT number, data_file, fraction, ms_method, inlet_method, macro, "
                   "running_number, column5_text, column5_value FROM sample_list"),
              (std::vector<std::string>{
                  "1|PLATE001|" + std::string(119, 'f') + "X|MSMETH|INLET|MACRO1|1|Serum|12.5",
                  "2||||||||"}));
    EXPECT_EQ(Rows(path, "SELECT length(data) FROM records"),
              (std::vector<std::string>{"4262", "4262"}));
}

TEST(FerroxStatusTextTest, EveryStatusHasASentence) {
    std::vector<std::string> texts;
    for (const int32_t status :
         {DB3_OK, DB3_E_NOT_FOUND, DB3_E_IO, DB3_E_NOT_OPEN, DB3_E_BUSY, DB3_E_LOCATION,
          DB3_E_EXISTS, DB3_E_INVALID, DB3_E_TOO_LARGE, DB3_E_FULL, DB3_E_READ_ONLY, DB3_E_SEQUENCE,
          DB3_E_NO_RECORD, DB3_E_NOT_SAMPLE_LIST, DB3_E_ALREADY_OPEN, DB3_E_INTERNAL}) {
        const std::string text = DB3StatusText(status);
        EXPECT_EQ(text.back(), '.') << status;
        EXPECT_EQ(std::count(texts.begin(), texts.end(), text), 0) << "repeated: " << text;
        texts.push_back(text);
    }
    EXPECT_STREQ(DB3StatusText(-1), "Unknown status of the record library.");
    EXPECT_STREQ(DB3StatusText(1000), "Unknown status of the record library.");
    EXPECT_STREQ(DB3GetPath(4), "");
}

}  // namespace
