// Writes seed Sample Lists for the show harness into the directory given as
// the only argument: a small valid list made by the record library, then
// copies of it damaged in the ways a list met in the field may be (records
// of the wrong size or kind, gaps in the numbering, another schema,
// version or journal mode, a cut-off file, unterminated texts).
//
// The record library writes lists with 64 KiB pages; the seeds are
// rewritten with 1 KiB pages (nothing in a list depends on the page size)
// so that each is at most a few dozen KiB and mutations reach the records.
//
// Usage: fuzz_make_sample_list_seeds DIRECTORY
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "datasystem/ferrox.h"
#include "support/sample_lists.h"
#include "support/scratch_dir.h"

namespace {

[[noreturn]] void Die(const std::string& what) {
    std::fprintf(stderr, "fuzz_make_sample_list_seeds: %s\n", what.c_str());
    std::exit(1);
}

// The bytes of the list at PATH, which the record library has just made
// and so is never empty.
std::string ReadList(const std::string& path) {
    const std::string bytes = k2ltest::ReadFile(path);
    if (bytes.empty()) {
        Die("cannot read " + path);
    }
    return bytes;
}

// A record with readable texts in the converter's fields.
k2ltest::ListRecord MakeRecord(int number) {
    k2ltest::ListRecord record{};
    const auto put = [&record](std::size_t offset, const std::string& text) {
        std::memcpy(record.data() + offset, text.c_str(), text.size() + 1);
    };
    const bool plain = number == 1;
    const auto style = [plain](const std::string& text) { return plain ? text : "[" + text + "]"; };
    char name[16];
    std::snprintf(name, sizeof name, "RUN12%03d", number);
    put(0, style(name));
    put(260, "Fraction:" + std::to_string(number) + ", 1.50, 2.00");
    put(380, style("ESI_POS"));
    put(640, style("LC_30MIN"));
    put(1160, style("ACQUIRE"));
    put(1433, style(std::to_string(number)));
    put(1904, "A1");
    put(1955, "2.500");
    return record;
}

// Creates the list DIRECTORY/NAME.sdb with COUNT records through the
// record library.
void CreateList(const std::string& directory, const std::string& name, int count) {
    std::vector<k2ltest::ListRecord> records;
    for (int number = 1; number <= count; ++number) {
        records.push_back(MakeRecord(number));
    }
    const std::int32_t status = k2ltest::WriteList(directory + "/" + name + ".sdb", records);
    if (status != DB3_OK) {
        Die("cannot create the list " + name + ": " + DB3StatusText(status));
    }
}

// Runs SQL on the SQLite file at PATH.
void Exec(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    int rc = sqlite3_open(path.c_str(), &db);
    char* message = nullptr;
    if (rc == SQLITE_OK) {
        rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message);
    }
    const std::string why = message != nullptr ? message : sqlite3_errstr(rc);
    sqlite3_free(message);
    sqlite3_close(db);
    if (rc != SQLITE_OK) {
        Die(path + ": " + sql + ": " + why);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        Die("usage: fuzz_make_sample_list_seeds DIRECTORY");
    }
    const std::string out = argv[1];
    mkdir(out.c_str(), 0700);
    const k2ltest::ScratchDir work("k2l-seeds");
    const std::string& tmp = work.Path();
    setenv("LUMENDA_HOME", (tmp + "/lumenda").c_str(), 1);

    CreateList(tmp, "valid", 3);
    CreateList(tmp, "empty", 0);
    const std::string valid = tmp + "/valid.sdb";
    const std::string empty = tmp + "/empty.sdb";
    Exec(valid, "PRAGMA page_size = 1024; VACUUM;");
    Exec(empty, "PRAGMA page_size = 1024; VACUUM;");
    const std::string base = ReadList(valid);
    k2ltest::WriteFile(out + "/list_valid_3.sdb", base);
    k2ltest::WriteFile(out + "/list_empty.sdb", ReadList(empty));

    struct Variant {
        const char* name;
        const char* sql;
    };
    const Variant variants[] = {
        {"blob_short", "UPDATE records SET data = substr(data, 1, 100) WHERE number = 2;"},
        {"blob_long", "UPDATE records SET data = data || x'00' WHERE number = 2;"},
        {"blob_empty", "UPDATE records SET data = x'' WHERE number = 3;"},
        {"data_text", "UPDATE records SET data = 'RUN12002' WHERE number = 2;"},
        {"data_integer", "UPDATE records SET data = 42 WHERE number = 1;"},
        {"unterminated",
         "UPDATE records SET data = CAST(replace(hex(zeroblob(4262)), '00', 'A') AS BLOB) "
         "WHERE number = 1;"},
        {"gap", "UPDATE records SET number = 4 WHERE number = 3;"},
        {"from_zero", "UPDATE records SET number = number - 1;"},
        {"negative", "UPDATE records SET number = -1 WHERE number = 3;"},
        {"huge_number", "UPDATE records SET number = 2147483648 WHERE number = 3;"},
        {"wrong_application_id", "PRAGMA application_id = 1;"},
        {"wrong_version", "PRAGMA user_version = 2;"},
        {"no_view", "DROP VIEW sample_list;"},
        {"extra_column", "ALTER TABLE records ADD COLUMN note TEXT;"},
        {"other_table",
         "DROP VIEW sample_list; ALTER TABLE records RENAME TO old;"
         "CREATE TABLE records(number INTEGER, data BLOB NOT NULL);"
         "INSERT INTO records SELECT number, data FROM old; DROP TABLE old;"},
        {"without_rowid",
         "DROP VIEW sample_list; ALTER TABLE records RENAME TO old;"
         "CREATE TABLE records(number INTEGER PRIMARY KEY, data BLOB NOT NULL) WITHOUT ROWID;"
         "INSERT INTO records SELECT number, data FROM old; DROP TABLE old;"},
        {"wal", "PRAGMA journal_mode = WAL;"},
    };
    for (const Variant& variant : variants) {
        const std::string path = tmp + "/" + variant.name + ".sdb";
        k2ltest::WriteFile(path, base);
        Exec(path, variant.sql);
        k2ltest::WriteFile(out + "/list_" + variant.name + ".sdb", ReadList(path));
    }

    // Files that are damaged or are no SQLite file at all.
    k2ltest::WriteFile(out + "/list_cut_half.sdb", base.substr(0, base.size() / 2));
    k2ltest::WriteFile(out + "/list_header_only.sdb", base.substr(0, 100));
    std::string pageLost = base;
    pageLost.replace(pageLost.size() - 1024, 1024, 1024, '\0');
    k2ltest::WriteFile(out + "/list_last_page_zero.sdb", pageLost);
    k2ltest::WriteFile(out + "/list_not_sqlite.sdb", "1\tS1\t1.5\t2\tA1M2.5\tR1:3:7\tx\ty\n");
    k2ltest::WriteFile(out + "/list_empty_file.sdb", "");

    return 0;
}
