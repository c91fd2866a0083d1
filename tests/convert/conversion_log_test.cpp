// The conversion log: where it lives, the line format, appends that fail or
// meet each other, and reading its end.
#include "convert/ConversionLog.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "convert/ConversionLogLine.h"
#include "support/child_process.h"
#include "support/scoped_env.h"
#include "support/scratch_dir.h"

namespace {

using k2ltest::ReadFile;
using k2ltest::ScopedEnv;
using k2ltest::ScratchDir;

ConversionLogEntry SampleEntry(const std::string& input) {
    ConversionLogEntry entry;
    entry.input = input;
    entry.output = "/lists/RUN.sdb";
    entry.msMethod = "MS1";
    entry.inletMethod = "LC1";
    entry.macro = "MAC1";
    entry.dataFile = "RUN";
    entry.records = 12;
    entry.sampleLines = 4;
    entry.skippedLines = 1;
    entry.warnings = 2;
    entry.created = true;
    return entry;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(text.substr(start, end - start));
    }
    EXPECT_EQ(start, text.size()) << "the log does not end with a line feed";
    return lines;
}

TEST(ConversionLogPath, FollowsXdgStateHomeElseHome) {
    const std::string tail = "/korr2ld/conversions.log";
    const struct {
        std::optional<std::string> state, home;
        std::string expected;
    } cases[] = {
        {"/state", "/home/u", "/state" + tail},
        {"/state//", "/home/u", "/state" + tail},
        {std::nullopt, "/home/u", "/home/u/.local/state" + tail},
        {"", "/home/u/", "/home/u/.local/state" + tail},
        {"relative/state", "/home/u", "/home/u/.local/state" + tail},
        {"/state", std::nullopt, "/state" + tail},
        {std::nullopt, "/", "/.local/state" + tail},
        {"/", "/home/u", tail},
        {std::nullopt, std::nullopt, ""},
        {"", "", ""},
        {"relative", "relative-home", ""},
    };
    for (const auto& c : cases) {
        ScopedEnv state("XDG_STATE_HOME", c.state);
        ScopedEnv home("HOME", c.home);
        const Result<std::string> path = ConversionLogPath();
        EXPECT_EQ(path.ok() ? path.value() : std::string(), c.expected)
            << "XDG_STATE_HOME=" << c.state.value_or("(unset)")
            << " HOME=" << c.home.value_or("(unset)");
    }
}

TEST(ConversionLogLine, RoundTripsAnyTextInOneLineOfFifteenFields) {
    const std::string hostile[] = {"",           "plain",          "tab\there",       "line\nfeed",
                                   "cr\rlf\r\n", "back\\slash\\t", "\x01\x7F\xC3\xA9"};
    for (const std::string& text : hostile) {
        ConversionLogRecord record;
        record.time = "2026-12-09T04:05:06Z";
        record.user = text;
        record.inputSha256 = kNoInputDigest;
        record.entry = SampleEntry(text);
        record.entry.output = text + ".sdb";
        record.entry.msMethod = record.entry.inletMethod = record.entry.macro =
            record.entry.dataFile = text;
        record.entry.created = false;
        record.entry.reason = "because " + text;
        record.entry.records = -1;
        record.entry.warnings = INT64_MAX;

        const std::string line = FormatConversionLogLine(record);
        ASSERT_EQ(line.back(), '\n');
        const std::string body = line.substr(0, line.size() - 1);
        EXPECT_EQ(body.find_first_of("\n\r"), std::string::npos) << body;
        EXPECT_EQ(std::count(body.begin(), body.end(), '\t'), kConversionLogFields - 1) << body;

        const std::optional<ConversionLogRecord> back = ParseConversionLogLine(body);
        ASSERT_TRUE(back.has_value()) << body;
        EXPECT_EQ(FormatConversionLogLine(*back), line);
        EXPECT_EQ(back->user, text);
        EXPECT_EQ(back->entry.reason, "because " + text);
        EXPECT_EQ(back->entry.records, -1);
        EXPECT_EQ(back->entry.warnings, INT64_MAX);
        EXPECT_FALSE(back->entry.created);
    }
}

TEST(ConversionLogLine, RefusesLinesOfAnotherFormatAndIgnoresLaterFields) {
    ConversionLogRecord record;
    record.time = "2026-12-09T04:05:06Z";
    record.user = "alice";
    record.inputSha256 = kNoInputDigest;
    record.entry = SampleEntry("/in.txt");
    std::string good = FormatConversionLogLine(record);
    good.pop_back();
    ASSERT_TRUE(ParseConversionLogLine(good));
    EXPECT_TRUE(ParseConversionLogLine(good + "\ta field of a later version"));

    const auto replaced = [&](const std::string& from, const std::string& to) {
        std::string line = good;
        line.replace(line.find(from), from.size(), to);
        return line;
    };
    for (const std::string& bad :
         {std::string(), good.substr(0, good.rfind('\t')), replaced("alice", "al\\ice"),
          replaced("\t12\t", "\t12x\t"), replaced("\t4\t", "\t\t"), replaced("created", "done")}) {
        EXPECT_FALSE(ParseConversionLogLine(bad)) << bad;
    }
}

class ConversionLogFile : public ::testing::Test {
protected:
    std::string LogPath() const { return dir.Path() + "/state/korr2ld/conversions.log"; }

    ScratchDir dir;
    ScopedEnv state{"XDG_STATE_HOME", dir.Path() + "/state"};
};

TEST_F(ConversionLogFile, AppendsOneParseableLineInPrivateFolders) {
    const std::string input = dir.Write("export.txt", "abc");
    ASSERT_EQ(AppendConversionLog(SampleEntry(input)).message(), "");
    ConversionLogEntry failed = SampleEntry(dir.Path() + "/gone.txt");
    failed.created = false;
    failed.reason = "the input\tcannot be read";
    ASSERT_EQ(AppendConversionLog(failed).message(), "");

    const std::vector<std::string> lines = Lines(ReadFile(LogPath()));
    ASSERT_EQ(lines.size(), 2u);
    const auto first = ParseConversionLogLine(lines[0]);
    const auto second = ParseConversionLogLine(lines[1]);
    ASSERT_TRUE(first && second);
    EXPECT_TRUE(std::regex_match(first->time, std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ)")))
        << first->time;
    EXPECT_FALSE(first->user.empty());
    EXPECT_EQ(first->inputSha256,
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(
        FormatConversionLogLine({first->time, first->user, first->inputSha256, SampleEntry(input)}),
        lines[0] + "\n");
    EXPECT_EQ(second->inputSha256, "-");
    EXPECT_EQ(second->entry.reason, failed.reason);

    for (const std::string& path : {dir.Path() + "/state", dir.Path() + "/state/korr2ld"}) {
        struct stat st;
        ASSERT_EQ(stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 077, 0u) << path;
    }
    struct stat st;
    ASSERT_EQ(stat(LogPath().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777 & ~0600, 0u);
}

TEST_F(ConversionLogFile, AnUnwritableLogGivesASentenceNamingItAndTheReason) {
    const std::string notAFolder = dir.Write("plain-file", "x");
    const std::string logAsFolder = dir.Path() + "/folder.log";
    ASSERT_EQ(mkdir(logAsFolder.c_str(), 0700), 0);
    const struct {
        std::string path;
        std::string reason;
    } cases[] = {
        {notAFolder + "/korr2ld/conversions.log", "Not a directory"},
        {logAsFolder, "Is a directory"},
    };
    for (const auto& c : cases) {
        const std::string sentence =
            AppendConversionLogTo(c.path, SampleEntry("/in.txt")).message();
        EXPECT_NE(sentence.find(c.path), std::string::npos) << sentence;
        EXPECT_NE(sentence.find(c.reason), std::string::npos) << sentence;
        EXPECT_EQ(sentence.back(), '.') << sentence;
    }
    ScopedEnv noState("XDG_STATE_HOME", std::nullopt);
    ScopedEnv noHome("HOME", std::nullopt);
    EXPECT_NE(AppendConversionLog(SampleEntry("/in.txt")).message().find("HOME"),
              std::string::npos);
}

// A line that passes the file size limit is written in part; the part is
// cut off again, so the next line starts on a line of its own.
TEST_F(ConversionLogFile, ALineWrittenInPartIsCutOffAgain) {
    ASSERT_EQ(AppendConversionLog(SampleEntry("/first.txt")).message(), "");
    const std::string before = ReadFile(LogPath());

    const k2ltest::ChildResult child = k2ltest::RunInChild([&](std::string&) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{static_cast<rlim_t>(before.size() + 10),
                           static_cast<rlim_t>(before.size() + 10)};
        const std::string sentence = setrlimit(RLIMIT_FSIZE, &limit) == 0
                                         ? AppendConversionLog(SampleEntry("/second.txt")).message()
                                         : std::string();
        return sentence.find("written only in part") != std::string::npos ? 0 : 1;
    });
    ASSERT_EQ(child.exitCode, 0) << child.signal;
    EXPECT_EQ(ReadFile(LogPath()), before);

    ASSERT_EQ(AppendConversionLog(SampleEntry("/third.txt")).message(), "");
    const std::vector<std::string> lines = Lines(ReadFile(LogPath()));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(ParseConversionLogLine(lines[1])->entry.input, "/third.txt");
}

TEST_F(ConversionLogFile, ALogEndingInsideALineGetsTheNextLineOnItsOwn) {
    ASSERT_EQ(AppendConversionLog(SampleEntry("/first.txt")).message(), "");
    { std::ofstream(LogPath(), std::ios::app) << "a line cut short"; }
    ASSERT_EQ(AppendConversionLog(SampleEntry("/second.txt")).message(), "");
    const std::vector<std::string> lines = Lines(ReadFile(LogPath()));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], "a line cut short");
    EXPECT_EQ(ParseConversionLogLine(lines[2])->entry.input, "/second.txt");
}

// Two processes appending at once, with lines far longer than PIPE_BUF:
// every line arrives whole.
TEST_F(ConversionLogFile, ConcurrentAppendsNeverInterleave) {
    constexpr int kPerProcess = 500;
    std::vector<k2ltest::ChildProcess> children;
    for (const char marker : {'a', 'b'}) {
        children.push_back(k2ltest::ChildProcess::Fork([marker](std::string&) {
            int failures = 0;
            for (int i = 0; i < kPerProcess; ++i) {
                ConversionLogEntry entry = SampleEntry(std::string(1, marker));
                entry.records = i;
                if (i % 10 == 0) {
                    entry.reason = std::string(6000 + i, marker);
                }
                failures += AppendConversionLog(entry).message().empty() ? 0 : 1;
            }
            return failures == 0 ? 0 : 1;
        }));
        ASSERT_TRUE(children.back().Started());
    }
    for (k2ltest::ChildProcess& child : children) {
        const k2ltest::ChildResult end = child.Wait();
        EXPECT_EQ(end.exitCode, 0) << end.signal;
    }

    const std::vector<std::string> lines = Lines(ReadFile(LogPath()));
    ASSERT_EQ(lines.size(), 2u * kPerProcess);
    std::map<std::string, std::int64_t> next;  // the records count expected next, by process
    for (const std::string& line : lines) {
        const auto record = ParseConversionLogLine(line);
        ASSERT_TRUE(record) << line.substr(0, 200);
        const ConversionLogEntry& entry = record->entry;
        EXPECT_EQ(entry.records, next[entry.input]++);
        const bool isLong = entry.records % 10 == 0;
        EXPECT_EQ(entry.reason, isLong ? std::string(6000 + entry.records, entry.input[0]) : "");
    }
    EXPECT_EQ(next["a"], kPerProcess);
    EXPECT_EQ(next["b"], kPerProcess);
}

// The texts of TAIL's lines; an overlong line as "<N bytes>".
std::vector<std::string> Texts(const ConversionLogTail& tail) {
    std::vector<std::string> texts;
    for (const ConversionLogTail::Line& line : tail.lines) {
        EXPECT_EQ(line.IsOverlong(), line.text.empty());
        texts.push_back(line.IsOverlong() ? "<" + std::to_string(line.length) + " bytes>"
                                          : line.text);
    }
    return texts;
}

TEST_F(ConversionLogFile, TailGivesTheLastLinesOldestFirst) {
    // Lines longer than the pieces the end is read in, one longer than a log
    // line can be (only its length is kept), and an empty line.
    const std::string big(150 * 1024, 'x');
    const std::string huge(kMaxConversionLogLine + 1, 'h');
    const std::string hugeLength = "<" + std::to_string(huge.size()) + " bytes>";
    const std::string text = "one\n" + big + "\n\ntwo\n" + big + "y\n" + huge + "\nthree\n";
    const std::string path = dir.Write("tail.log", text);
    const struct {
        std::size_t count;
        std::vector<std::string> lines;
    } cases[] = {
        {1, {"three"}},
        {2, {hugeLength, "three"}},
        {4, {"two", big + "y", hugeLength, "three"}},
        {6, {"one", big, "two", big + "y", hugeLength, "three"}},
        {100, {"one", big, "two", big + "y", hugeLength, "three"}},
    };
    for (const auto& c : cases) {
        const ConversionLogTail tail = ReadConversionLogTail(path, c.count);
        EXPECT_EQ(tail.status.message(), "");
        EXPECT_FALSE(tail.missing);
        EXPECT_EQ(Texts(tail), c.lines) << c.count;
    }
    // The last line without its line feed still counts, and so does a
    // first line too long to keep.
    EXPECT_EQ(Texts(ReadConversionLogTail(dir.Write("open.log", "a\nb"), 5)),
              (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(Texts(ReadConversionLogTail(dir.Write("long.log", huge + "\nb"), 5)),
              (std::vector<std::string>{hugeLength, "b"}));
    EXPECT_TRUE(ReadConversionLogTail(dir.Write("empty.log", ""), 5).lines.empty());
}

TEST_F(ConversionLogFile, TailTellsAMissingLogFromAnUnreadableOne) {
    const ConversionLogTail missing = ReadConversionLogTail(dir.Path() + "/none.log", 3);
    EXPECT_TRUE(missing.missing);
    EXPECT_EQ(missing.status.message(), "");

    const ConversionLogTail folder = ReadConversionLogTail(dir.Path(), 3);
    EXPECT_FALSE(folder.missing);
    EXPECT_NE(folder.status.message().find(dir.Path()), std::string::npos)
        << folder.status.message();
    EXPECT_NE(folder.status.message().find("Is a directory"), std::string::npos)
        << folder.status.message();
}

}  // namespace
