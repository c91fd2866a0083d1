#include "source/DelimitFile.h"

#include <cerrno>
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/FileException.h"
#include "support/scratch_dir.h"

namespace {

using k2ltest::ReadFile;
using k2ltest::ScratchDir;

using Fields = std::vector<std::string>;

Fields Split(const std::string& line, BOOL merge = TRUE, const std::string& delimiters = "\t") {
    CDelimitFile file;
    file.SetDelimiters(delimiters);
    file.SetMergeDelimiters(merge);
    Fields fields;
    const int count = file.SplitLine(line, fields);
    EXPECT_EQ(count, static_cast<int>(fields.size()));
    return fields;
}

struct Parsed {
    int type;
    Fields fields;
};

Parsed Parse(const std::string& line) {
    CDelimitFile file;
    Parsed parsed{-1, {}};
    file.ParseLine(line, parsed.fields, &parsed.type);
    return parsed;
}

// Every record of a file, read with ReadRecord on a fresh CDelimitFile.
std::vector<Fields> ReadRecords(const std::string& path) {
    CDelimitFile file;
    EXPECT_TRUE(file.Open(path, CStdioFile::modeRead));
    std::vector<Fields> records;
    Fields fields;
    while (file.ReadRecord(fields)) {
        records.push_back(fields);
    }
    EXPECT_TRUE(fields.empty());
    return records;
}

class CountingFile : public CDelimitFile {
public:
    void OnRecordRead() override { ++m_nCalls; }
    int m_nCalls = 0;
};

class LimitedDelimitFile : public CDelimitFile {
public:
    explicit LimitedDelimitFile(std::size_t limit) { SetMaxLineLength(limit); }
};

}  // namespace

TEST(DelimitFileSplit, WithMergedDelimiters) {
    EXPECT_EQ(Split("a\tb"), (Fields{"a", "b"}));
    EXPECT_EQ(Split("a\t"), Fields{"a"});
    EXPECT_EQ(Split(""), Fields{});
    EXPECT_EQ(Split("\t\t"), Fields{});
    EXPECT_EQ(Split("\t\ta\t\tb"), (Fields{"a", "b"}));
    EXPECT_EQ(Split(" a \t b "), (Fields{" a ", " b "})) << "blanks are not delimiters";
}

TEST(DelimitFileSplit, WithoutMerging) {
    EXPECT_EQ(Split("\t\ta\t\tb", FALSE), (Fields{"", "", "a", "", "b"}));
    EXPECT_EQ(Split("a\t", FALSE), Fields{"a"}) << "no trailing empty field";
    EXPECT_EQ(Split("a\t\t", FALSE), (Fields{"a", ""}));
    EXPECT_EQ(Split("\t", FALSE), Fields{""});
}

TEST(DelimitFileSplit, DelimiterSets) {
    EXPECT_EQ(Split("a,b;c\td", TRUE, ",;"), (Fields{"a", "b", "c\td"}));
    EXPECT_EQ(Split("a,;b", FALSE, ",;"), (Fields{"a", "", "b"}));
    EXPECT_EQ(Split("a\tb", TRUE, ""), Fields{"a\tb"}) << "an empty set splits nothing";
    const std::string nulDelimited("a\0b", 3);
    EXPECT_EQ(Split(nulDelimited, TRUE, std::string("\0,", 2)), (Fields{"a", "b"}));
}

TEST(DelimitFileSplit, AppendsToFieldsAndMayTakeItsLineFromThem) {
    CDelimitFile file;
    Fields fields = {"keep"};
    EXPECT_EQ(file.SplitLine("a\tb", fields), 3);
    EXPECT_EQ(fields, (Fields{"keep", "a", "b"}));
    // The line may be one of the fields: growing the array must not spoil it.
    Fields self = {"x\ty\tz\tw\tv"};
    self.shrink_to_fit();
    EXPECT_EQ(file.SplitLine(self[0], self), 6);
    EXPECT_EQ(self, (Fields{"x\ty\tz\tw\tv", "x", "y", "z", "w", "v"}));
}

TEST(DelimitFileClassify, Markers) {
    struct Case {
        std::string line;
        int type;
        Fields fields;
    };
    const std::vector<Case> cases = {
        {"a\tb", CDelimitFile::LINE_DATA, {"a", "b"}},
        {"", CDelimitFile::LINE_EMPTY, {}},
        {"\t", CDelimitFile::LINE_EMPTY, {}},
        {"[Samples]", CDelimitFile::LINE_SECTION, {"Samples"}},
        {"[Samples]x\ty", CDelimitFile::LINE_SECTION, {"Samples", "y"}},
        {"[]", CDelimitFile::LINE_SECTION, {""}},
        {"[a]b]", CDelimitFile::LINE_SECTION, {"a"}},
        {"[Samples", CDelimitFile::LINE_DATA, {"[Samples"}},
        {"[{x", CDelimitFile::LINE_DATA, {"[{x"}},
        {";note", CDelimitFile::LINE_COMMENT, {"note"}},
        {";[x]", CDelimitFile::LINE_COMMENT, {"[x]"}},
        {";", CDelimitFile::LINE_COMMENT, {""}},
        {"{", CDelimitFile::LINE_BLOCK_BEGIN, {""}},
        {"{a\t{b", CDelimitFile::LINE_BLOCK_BEGIN, {"a", "{b"}},
        {"}abc", CDelimitFile::LINE_BLOCK_END, {"abc"}},
        {"x\t[a]", CDelimitFile::LINE_DATA, {"x", "[a]"}},
        {" [a]", CDelimitFile::LINE_DATA, {" [a]"}},
    };
    for (const Case& c : cases) {
        const Parsed parsed = Parse(c.line);
        EXPECT_EQ(parsed.type, c.type) << "line: " << c.line;
        EXPECT_EQ(parsed.fields, c.fields) << "line: " << c.line;
    }
}

TEST(DelimitFileClassify, WithoutTypePointerNothingIsChanged) {
    CDelimitFile file;
    Fields fields;
    EXPECT_EQ(file.ParseLine("[Samples]\t;x", fields, nullptr), 2);
    EXPECT_EQ(fields, (Fields{"[Samples]", ";x"}));
}

TEST(DelimitFileRead, LineRules) {
    ScratchDir dir;
    const std::string longField(300, 'w');
    EXPECT_EQ(ReadRecords(dir.Write("long.txt", longField + "\tend\n")),
              (std::vector<Fields>{{longField, "end"}}));
    EXPECT_EQ(ReadRecords(dir.Write("nolf.txt", "a\tb\nc\td")),
              (std::vector<Fields>{{"a", "b"}, {"c", "d"}}));
    EXPECT_EQ(ReadRecords(dir.Write("lf.txt", "a\nb\n")), (std::vector<Fields>{{"a"}, {"b"}}));
    EXPECT_EQ(ReadRecords(dir.Write("crlf.txt", "a\tb\r\nc\r\n")),
              (std::vector<Fields>{{"a", "b"}, {"c"}}));
    EXPECT_EQ(ReadRecords(dir.Write("blank.txt", "a\n\n\t\nb")),
              (std::vector<Fields>{{"a"}, {}, {}, {"b"}}));
    EXPECT_EQ(ReadRecords(dir.Write("empty.txt", "")), std::vector<Fields>{});
}

TEST(DelimitFileRead, LinesOfEveryLengthAroundTheChunkSizeComeWhole) {
    // Lengths around multiples of the 128-byte chunk, with LF and CR-LF.
    ScratchDir dir;
    std::string text;
    std::vector<Fields> expected;
    for (std::size_t length = 120; length <= 390; ++length) {
        const std::string field(length, static_cast<char>('a' + length % 26));
        expected.push_back({field});
        expected.push_back({field});
        text += field + "\n" + field + "\r\n";
    }
    EXPECT_EQ(ReadRecords(dir.Write("chunks.txt", text)), expected);
}

TEST(DelimitFileRead, RecordsAreClassifiedAndCounted) {
    ScratchDir dir;
    CountingFile file;
    ASSERT_TRUE(file.Open(dir.Write("typed.txt", "[Rack]\n;c\n\n1\t2\n"), CStdioFile::modeRead));
    Fields fields = {"stale", "fields"};
    int type = -1;
    const std::vector<int> types = {CDelimitFile::LINE_SECTION, CDelimitFile::LINE_COMMENT,
                                    CDelimitFile::LINE_EMPTY, CDelimitFile::LINE_DATA};
    const std::vector<Fields> records = {{"Rack"}, {"c"}, {}, {"1", "2"}};
    for (std::size_t i = 0; i < types.size(); ++i) {
        ASSERT_TRUE(file.ReadRecord(fields, &type));
        EXPECT_EQ(type, types[i]);
        EXPECT_EQ(fields, records[i]);
        EXPECT_EQ(file.m_nCalls, static_cast<int>(i + 1));
    }
    fields = {"stale"};
    EXPECT_FALSE(file.ReadRecord(fields, &type));
    EXPECT_TRUE(fields.empty());
    EXPECT_EQ(file.m_nCalls, 4) << "no OnRecordRead at the end of the file";
}

TEST(DelimitFileRead, BytesThatAreNotTextAreCarriedUnchanged) {
    ScratchDir dir;
    const std::string nulField("a\0b", 3);
    const std::string cp1252 = "Probe \xfc\xe9\x80";
    const std::string invalidUtf8 = "\xc3\x28\xff\xfe";
    const std::string text =
        nulField + "\t" + cp1252 + "\n" + invalidUtf8 + "\t" + std::string(1, '\0') + "\n";
    EXPECT_EQ(ReadRecords(dir.Write("bytes.txt", text)),
              (std::vector<Fields>{{nulField, cp1252}, {invalidUtf8, std::string(1, '\0')}}));
}

TEST(DelimitFileRead, BinaryInputReadsAsLinesWithoutLoss) {
    // Pseudo-random bytes: every byte comes back, in its line, except line
    // feeds, the CR before each of them, and tabs (delimiters).
    ScratchDir dir;
    std::string data;
    std::uint32_t state = 12345;
    for (int i = 0; i < 1 << 20; ++i) {
        state = state * 1103515245u + 12345u;
        data.push_back(static_cast<char>(state >> 24));
    }
    std::size_t expectedLines = 0;
    std::string expectedBytes;
    std::string line;
    for (char c : data) {
        if (c == '\n') {
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            ++expectedLines;
            expectedBytes += line;
            line.clear();
        } else if (c != '\t') {
            line.push_back(c);
        }
    }
    expectedLines += line.empty() ? 0 : 1;
    expectedBytes += line;

    std::string readBytes;
    const std::vector<Fields> records = ReadRecords(dir.Write("random.bin", data));
    for (const Fields& record : records) {
        for (const std::string& field : record) {
            readBytes += field;
        }
    }
    EXPECT_EQ(records.size(), expectedLines);
    EXPECT_EQ(readBytes, expectedBytes);
}

TEST(DelimitFileRead, LineOverTheLimitRaisesNamingFileAndLine) {
    ScratchDir dir;
    LimitedDelimitFile file(200);
    const std::string path =
        dir.Write("limit.txt", std::string(200, 'a') + "\n" + std::string(201, 'b') + "\nc\n");
    ASSERT_TRUE(file.Open(path, CStdioFile::modeRead));
    Fields fields;
    ASSERT_TRUE(file.ReadRecord(fields));
    EXPECT_EQ(fields, Fields{std::string(200, 'a')});
    try {
        file.ReadRecord(fields);
        FAIL() << "a 201-byte line is over a limit of 200";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::lineTooLong);
        EXPECT_EQ(e.m_strFileName, path);
        EXPECT_EQ(e.m_nLine, 2);
    }
    EXPECT_TRUE(fields.empty()) << "fields of a failed read are discarded";
}

TEST(DelimitFileWrite, RecordsAndTypedRecords) {
    ScratchDir dir;
    const std::string path = dir.Path() + "/out.txt";
    {
        CDelimitFile file;
        ASSERT_TRUE(file.Open(path, CStdioFile::modeWrite));
        file.WriteTypedRecord({"Samples", "x"}, CDelimitFile::LINE_SECTION);
        file.WriteTypedRecord({"note"}, CDelimitFile::LINE_COMMENT);
        file.WriteTypedRecord({"b", "c"}, CDelimitFile::LINE_BLOCK_BEGIN);
        file.WriteTypedRecord({}, CDelimitFile::LINE_SECTION);
        file.WriteRecord({"1", "", "3"});
        file.SetDelimiters(",\t");
        file.WriteRecord({"p", "q"});
    }
    EXPECT_EQ(ReadFile(path), "[Samples]\tx\n;note\nb\tc\n\n1\t\t3\np,q\n");

    // What is written reads back with its types.
    CDelimitFile file;
    ASSERT_TRUE(file.Open(path, CStdioFile::modeRead));
    Fields fields;
    int type = -1;
    ASSERT_TRUE(file.ReadRecord(fields, &type));
    EXPECT_EQ(type, CDelimitFile::LINE_SECTION);
    EXPECT_EQ(fields, (Fields{"Samples", "x"}));
    ASSERT_TRUE(file.ReadRecord(fields, &type));
    EXPECT_EQ(type, CDelimitFile::LINE_COMMENT);
    EXPECT_EQ(fields, Fields{"note"});
}
