// korr2ld-cli show: Sample Lists written through the record library with
// ordinary and hostile field contents, read back in all four formats.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/cli_sandbox.h"
#include "datasystem/ferrox.h"
#include "samplelist/SampleRecord.h"
#include "support/sample_lists.h"
#include "support/scoped_env.h"

namespace {

using k2ltest::ListRecordOf;
using k2ltest::ReadFile;
using k2ltest::WriteList;

namespace fs = std::filesystem;

constexpr const char* kKeys[] = {"data_file", "fraction",       "ms_method",    "inlet_method",
                                 "macro",     "running_number", "column5_text", "column5_value"};

template <std::size_t N>
void Fill(char (&field)[N], const std::string& bytes) {
    ASSERT_LE(bytes.size(), N);
    std::memcpy(field, bytes.data(), bytes.size());
}

SAMPLE_RECORD Zero() {
    SAMPLE_RECORD record;
    std::memset(&record, 0, sizeof record);
    return record;
}

// Field contents that no escaping may lose or let out of its field. The data
// file, the running number and the value fill their whole span, with no
// terminating zero.
struct Hostile {
    std::string dataFile = std::string(260, 'A');
    std::string fraction = "q\"uote,comma\ttab\nlf\rcr\\back";
    std::string msMethod = "\x01\x1B\x7F";
    std::string inletMethod = "\xC3\xA9t\xC3\xA9";  // valid UTF-8
    std::string macro = "\xFF\x80\xC3";             // not UTF-8
    std::string runningNumber = std::string(20, '9');
    std::string column5Text = "<>&' \"\"";
    std::string column5Value = std::string(30, '\xFE');

    std::vector<std::string> Fields() const {
        return {dataFile, fraction,      msMethod,    inletMethod,
                macro,    runningNumber, column5Text, column5Value};
    }

    SAMPLE_RECORD Record() const {
        SAMPLE_RECORD record = Zero();
        Fill(record.szDataFile, dataFile);
        Fill(record.szFraction, fraction);
        Fill(record.szMSMethod, msMethod);
        Fill(record.szInletMethod, inletMethod);
        Fill(record.szMacro, macro);
        Fill(record.szRecordNumber, runningNumber);
        Fill(record.szColumn5Text, column5Text);
        Fill(record.szValue[0], column5Value);
        Fill(record.szValue[1], "must not show");
        Fill(record.szText1453, "nor this");
        return record;
    }
};

std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (const char c : bytes) {
        hex += digits[static_cast<unsigned char>(c) >> 4];
        hex += digits[static_cast<unsigned char>(c) & 0x0F];
    }
    return hex;
}

// "NUMBER HEX HEX ..." per record, as the checker scripts below print them.
std::string HexLine(int number, const std::vector<std::string>& fields) {
    std::string line = std::to_string(number);
    for (const std::string& field : fields) {
        line += ' ' + Hex(field);
    }
    return line + '\n';
}

std::string Unescape(const std::string& cell) {
    std::string bytes;
    for (std::size_t i = 0; i < cell.size(); ++i) {
        if (cell[i] != '\\' || i + 1 == cell.size()) {
            bytes += cell[i];
            continue;
        }
        const char next = cell[++i];
        bytes += next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    }
    return bytes;
}

class ShowCommand : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(list.parent_path());
        ASSERT_EQ(WriteList(list, {ListRecordOf(hostile.Record()), ListRecordOf(Zero())}), DB3_OK);
    }

    CliSandbox sandbox;
    // This process writes lists through the record library too: keep it in
    // the sandbox as well.
    k2ltest::ScopedEnv home{"LUMENDA_HOME", sandbox.LumendaHome().string()};
    Hostile hostile;
    fs::path list = sandbox.Dir() / "lists/hostile.sdb";
    std::vector<std::string> empty = std::vector<std::string>(8);
};

// A format that a python3 script reads back into each record's number and
// the hexadecimal bytes of its fields.
struct ReadBack {
    const char* name;
    const char* format;
    const char* script;  // the field keys follow it as arguments
    const char* header;  // the first line it prints
};

const ReadBack kReadBacks[] = {
    // JSON is valid UTF-8, and gives every byte back.
    {"Json", "json",
     "import json, sys\n"
     "keys = sys.argv[1:]\n"
     "for r in json.loads(sys.stdin.buffer.read().decode('utf-8', 'strict')):\n"
     "    print(r['record'], *[r[k].encode('latin-1').hex() for k in keys])\n",
     ""},
    // CSV follows RFC 4180.
    {"Csv", "csv",
     "import csv, io, sys\n"
     "text = io.TextIOWrapper(sys.stdin.buffer, encoding='latin-1', newline='')\n"
     "rows = list(csv.reader(text, strict=True))\n"
     "print(','.join(rows[0]))\n"
     "for r in rows[1:]:\n"
     "    print(r[0], *[c.encode('latin-1').hex() for c in r[1:]])\n",
     "record,data_file,fraction,ms_method,inlet_method,macro,running_number,column5_text,"
     "column5_value\n"},
};

void PrintTo(const ReadBack& r, std::ostream* out) {
    *out << r.name;
}

class ShowReadBack : public ShowCommand, public ::testing::WithParamInterface<ReadBack> {};

TEST_P(ShowReadBack, GivesEveryByteOfEveryFieldBack) {
    if (!HaveProgram("python3")) {
        GTEST_SKIP() << "python3 is needed to read the output back";
    }
    const RunResult shown = sandbox.Cli({"show", list.string(), "--format", GetParam().format});
    ASSERT_EQ(shown.exitCode, 0) << shown.err;
    std::vector<std::string> args{"-c", GetParam().script};
    args.insert(args.end(), std::begin(kKeys), std::end(kKeys));
    const RunResult read = sandbox.Program("python3", args, shown.out);
    ASSERT_EQ(read.exitCode, 0) << read.err << shown.out;
    EXPECT_EQ(read.out, GetParam().header + HexLine(1, hostile.Fields()) + HexLine(2, empty));
}

INSTANTIATE_TEST_SUITE_P(Formats, ShowReadBack, ::testing::ValuesIn(kReadBacks),
                         [](const ::testing::TestParamInfo<ReadBack>& row) {
                             return std::string(row.param.name);
                         });

TEST_F(ShowCommand, TsvKeepsOneRecordPerLineAndUnescapesToTheBytes) {
    const RunResult shown = sandbox.Cli({"show", list.string(), "--format", "tsv"});
    ASSERT_EQ(shown.exitCode, 0) << shown.err;
    std::istringstream lines(shown.out);
    std::vector<std::string> records;
    for (std::string line; std::getline(lines, line);) {
        records.push_back(line);
    }
    ASSERT_EQ(records.size(), 3u);
    std::vector<std::string> cells;
    std::size_t start = 0;
    for (std::size_t tab; (tab = records[1].find('\t', start)) != std::string::npos;
         start = tab + 1) {
        cells.push_back(Unescape(records[1].substr(start, tab - start)));
    }
    cells.push_back(Unescape(records[1].substr(start)));
    ASSERT_EQ(cells.size(), 9u);
    EXPECT_EQ(cells[0], "1");
    EXPECT_EQ(std::vector<std::string>(cells.begin() + 1, cells.end()), hostile.Fields());
    EXPECT_EQ(records[2], "2\t\t\t\t\t\t\t\t");
}

TEST_F(ShowCommand, TableIsPrintableAsciiWithEscapes) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"show", list.string()},
          std::vector<std::string>{"show", list.string(), "--format", "table"}}) {
        const RunResult shown = sandbox.Cli(args);
        ASSERT_EQ(shown.exitCode, 0) << shown.err;
        std::size_t lines = 0;
        for (const char c : shown.out) {
            const auto byte = static_cast<unsigned char>(c);
            lines += c == '\n';
            ASSERT_TRUE(c == '\n' || (byte >= 0x20 && byte < 0x7F)) << int(byte);
        }
        EXPECT_EQ(lines, 4u);
        EXPECT_NE(shown.out.find("Data File"), std::string::npos);
        EXPECT_NE(shown.out.find("\\x01\\x1B\\x7F"), std::string::npos);
        EXPECT_NE(shown.out.find("comma\\x09tab\\x0Alf\\x0Dcr\\\\back"), std::string::npos);
        EXPECT_EQ(shown.out.find("must not show"), std::string::npos);
        EXPECT_EQ(shown.out.find("nor this"), std::string::npos);
    }
}

TEST_F(ShowCommand, AMissingFileOrAnotherFileIsNamedWithTheStatusText) {
    const RunResult missing = sandbox.Cli({"show", "lists/absent.sdb"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(missing.err, "Cannot read the Sample List " +
                               (sandbox.Dir() / "lists/absent.sdb").string() + ": " +
                               DB3StatusText(DB3_E_NOT_FOUND) + "\n");

    const fs::path text = sandbox.Write("lists/notes.sdb", "just some text\n");
    const RunResult other = sandbox.Cli({"show", text.string(), "--format", "json"});
    EXPECT_EQ(other.exitCode, 1);
    EXPECT_EQ(other.out, "");
    EXPECT_EQ(other.err, "Cannot read the Sample List " + text.string() + ": " +
                             DB3StatusText(DB3_E_NOT_SAMPLE_LIST) + "\n");
    EXPECT_EQ(ReadFile(text), "just some text\n");
}

TEST_F(ShowCommand, LeavesTheStoredSampleListLocationAlone) {
    fs::create_directories(sandbox.Dir() / "elsewhere");
    ASSERT_EQ(sandbox.Cli({"locations", "set", "SAMPLES_DB", "elsewhere", "sdb"}).exitCode, 0);
    const std::string before = sandbox.Cli({"locations", "get", "SAMPLES_DB"}).out;
    ASSERT_EQ(sandbox.Cli({"show", list.string()}).exitCode, 0);
    EXPECT_EQ(sandbox.Cli({"locations", "get", "SAMPLES_DB"}).out, before);
}

TEST_F(ShowCommand, AnEmptyListHasOnlyTheFrame) {
    const fs::path emptyList = sandbox.Dir() / "lists/empty.sdb";
    ASSERT_EQ(WriteList(emptyList, {}), DB3_OK);
    EXPECT_EQ(sandbox.Cli({"show", emptyList.string(), "--format", "json"}).out, "[]\n");
    const RunResult tsv = sandbox.Cli({"show", emptyList.string(), "--format", "tsv"});
    EXPECT_EQ(tsv.exitCode, 0);
    EXPECT_EQ(std::count(tsv.out.begin(), tsv.out.end(), '\n'), 1);
}

}  // namespace
