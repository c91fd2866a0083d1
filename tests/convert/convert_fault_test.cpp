// The converter against a fake data system: refusals and failures of the
// record library, inputs that do not fit the record, and the checks made
// before anything is touched.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <optional>
#include <string>

#include "convert/ConversionLog.h"
#include "convert/ConversionLogLine.h"
#include "convert/ConversionRun.h"
#include "convert/SLConvert.h"
#include "convert/convert_test_support.h"
#include "samplelist/fake_data_system.h"
#include "support/scoped_env.h"
#include "support/scratch_dir.h"

// Lowers the converter's highest running number, so that the stop at the
// limit can be tested without two billion records.
struct SLConvertTestAccess {
    static void SetLastNumber(CSLConvert& convert, std::int64_t last) {
        convert.m_nLastNumber = last;
    }
};

namespace {

using k2ltest::NamedConversion;
using k2ltest::SampleLine;
using k2ltest::TextAt;
using ::testing::HasSubstr;

class ConvertFaultTest : public k2ltest::ConversionTest {
protected:
    void SetUp() override { fake::Reset(); }

    // The data file names of the records stored, each followed by a blank.
    static std::string Names() {
        std::string names;
        for (const fake::Record& record : fake::Get().stored) {
            names += TextAt(record.data(), 0) + " ";
        }
        return names;
    }
};

TEST_F(ConvertFaultTest, RefusedRecordAbandonsTheList) {
    const std::string input = Export("Pos\tName\n" + SampleLine("1", "1", "2", "AM1", "R:1:2") +
                                     SampleLine("2", "1", "2", "AM1", "R:1:1"));
    fake::Get().storeStatus = [](std::int32_t, std::int64_t attempt) {
        return attempt == 2 ? DB3_E_BUSY : DB3_OK;
    };
    NamedConversion convert(input, Output());
    EXPECT_FALSE(convert.Convert());
    EXPECT_EQ(Names(), "RUN12001 ");
    EXPECT_EQ(convert.GetReport().records, 1);
    EXPECT_EQ(convert.GetReport().sampleLines, 1);
    EXPECT_EQ(convert.GetReport().skippedLines, 1);
    EXPECT_THAT(convert.GetFailureReason(), HasSubstr("Record 2 (from line 2 of "));
    EXPECT_THAT(convert.GetFailureReason(), HasSubstr("line 2 of " + input));
    EXPECT_THAT(convert.GetFailureReason(), HasSubstr(Output()));
    EXPECT_THAT(convert.GetFailureReason(), HasSubstr("Another program is writing"));
    EXPECT_EQ(fake::Get().calls.back().function, "DB3Abandon");
    EXPECT_FALSE(fake::Get().open);
}

TEST_F(ConvertFaultTest, RefusalThatEndsStoringStopsAtOnce) {
    const std::string input = Export(SampleLine("1", "1", "2", "AM1", "R:1:10"));
    for (std::int32_t status :
         {DB3_E_FULL, DB3_E_TOO_LARGE, DB3_E_IO, DB3_E_NOT_OPEN, DB3_E_READ_ONLY}) {
        fake::Reset();
        fake::Get().storeStatus = [status](std::int32_t, std::int64_t attempt) {
            return attempt >= 3 ? status : DB3_OK;
        };
        NamedConversion convert(input, Output());
        EXPECT_FALSE(convert.Convert()) << status;
        EXPECT_EQ(fake::Get().storeAttempts, 3) << status;
        EXPECT_EQ(convert.GetReport().records, 2) << status;
        EXPECT_THAT(convert.GetFailureReason(),
                    HasSubstr("status " + std::to_string(status) + ")"));
        EXPECT_THAT(convert.GetFailureReason(), HasSubstr("line 1 of " + input));
        EXPECT_EQ(fake::Get().calls.back().function, "DB3Abandon") << status;
    }
    EXPECT_THAT(std::string(DB3StatusText(DB3_E_FULL)), HasSubstr("No space"));
}

TEST_F(ConvertFaultTest, FailingCloseFailsTheConversion) {
    const std::string input = Export(SampleLine("1", "1", "2", "AM1", "R:1:3"));
    fake::Get().closeStatus = DB3_E_IO;
    NamedConversion convert(input, Output());
    EXPECT_FALSE(convert.Convert());
    EXPECT_EQ(convert.GetReport().records, 3);
    EXPECT_THAT(convert.GetFailureReason(), HasSubstr(Output()));
    EXPECT_THAT(convert.GetFailureReason(), HasSubstr("input/output error"));
}

TEST_F(ConvertFaultTest, SuccessLeavesNoReasonAndClosesOnce) {
    const std::string input = Export(SampleLine("1", "1", "2", "AM1", "R:1:3"));
    NamedConversion convert(m_dir.Path("missing.txt"), Output());
    EXPECT_FALSE(convert.Convert());
    EXPECT_NE(convert.GetFailureReason(), "");
    convert.m_strInput = input;
    EXPECT_TRUE(convert.Convert());
    EXPECT_EQ(convert.GetFailureReason(), "");
    EXPECT_EQ(convert.GetReport().records, 3);
    std::size_t closes = 0;
    for (const std::string& function : fake::Get().Functions()) {
        closes += function == "DB3Close";
    }
    EXPECT_EQ(closes, 1u);
}

TEST_F(ConvertFaultTest, LastFractionAtTheLargestIntegerEndsTheLoop) {
    const std::string input = Export(SampleLine("1", "1", "2", "AM1", "R:2147483646:2147483647"));
    NamedConversion convert(input, Output());
    EXPECT_TRUE(convert.Convert());
    ASSERT_EQ(fake::Get().stored.size(), 2u);
    EXPECT_EQ(TextAt(fake::Get().stored[0].data(), 260), "Fraction:2147483646, 1.00, 2.00");
    EXPECT_EQ(TextAt(fake::Get().stored[1].data(), 260), "Fraction:2147483647, 1.00, 2.00");
}

TEST_F(ConvertFaultTest, RunningNumberStopsAtItsLimit) {
    const std::string input = Export(SampleLine("1", "1", "2", "AM1", "R:1:2") +
                                     SampleLine("2", "1", "2", "AM1", "R:1:5"));
    NamedConversion convert(input, Output());
    SLConvertTestAccess::SetLastNumber(convert, 3);
    EXPECT_FALSE(convert.Convert());
    EXPECT_EQ(Names(), "RUN12001 [RUN12002] ");  // line 2 is refused whole, at once
    EXPECT_THAT(convert.GetFailureReason(), HasSubstr("asks for 7 records"));
    EXPECT_THAT(convert.GetFailureReason(), HasSubstr("cannot hold more than 3 records"));
    EXPECT_THAT(convert.GetFailureReason(), HasSubstr("line 2 of " + input));
    EXPECT_FALSE(fake::Get().open);
}

TEST_F(ConvertFaultTest, ARangeNoListCanHoldIsRefusedBeforeItsFractionsAreCounted) {
    // Counted one by one, a dry run of this range would take minutes.
    const std::string input = Export(SampleLine("1", "1", "2", "AM1", "R1:1:4294967296") +
                                     SampleLine("2", "1", "2", "AM1", "R1:1:2"));
    NamedConversion convert(input, Output());
    convert.m_bDryRun = TRUE;
    EXPECT_FALSE(convert.Convert());
    EXPECT_THAT(convert.GetFailureReason(), HasSubstr("asks for 4294967298 records"));
    EXPECT_THAT(convert.GetFailureReason(), HasSubstr("line 1 of " + input));
    EXPECT_EQ(convert.GetReport().records, 0);
}

TEST_F(ConvertFaultTest, NamesThatDoNotFitAreRefusedBeforeAnythingIsTouched) {
    const std::string input = Export(SampleLine("1", "1", "2", "AM1", "R:1:2"));
    struct Case {
        std::string CSLConvert::*member;
        std::size_t longest;
        std::size_t offset;
        const char* what;
    };
    const Case cases[] = {
        {&CSLConvert::m_strMSFile, 257, 380, "MS method"},
        {&CSLConvert::m_strInletFile, 257, 640, "inlet method"},
        {&CSLConvert::m_strMacro, 270, 1160, "macro"},
    };
    for (const Case& c : cases) {
        fake::Reset();
        NamedConversion tooLong(input, Output());
        tooLong.*c.member = std::string(c.longest + 1, 'x');
        EXPECT_FALSE(tooLong.Convert()) << c.what;
        EXPECT_TRUE(fake::Get().calls.empty()) << c.what;
        EXPECT_THAT(tooLong.GetFailureReason(), HasSubstr(std::string("The ") + c.what));
        EXPECT_THAT(tooLong.GetFailureReason(), HasSubstr(std::to_string(c.longest)));

        // The longest name that fits is written whole, in brackets too.
        fake::Reset();
        NamedConversion longest(input, Output());
        longest.*c.member = std::string(c.longest, 'x');
        EXPECT_TRUE(longest.Convert()) << c.what << ": " << longest.GetFailureReason();
        ASSERT_EQ(fake::Get().stored.size(), 2u);
        EXPECT_EQ(TextAt(fake::Get().stored[0].data(), c.offset), std::string(c.longest, 'x'));
        EXPECT_EQ(TextAt(fake::Get().stored[1].data(), c.offset),
                  "[" + std::string(c.longest, 'x') + "]");
    }
}

TEST_F(ConvertFaultTest, NamesThatAreNoPlainNamesAreRefusedBeforeAnythingIsTouched) {
    const std::string input = Export(SampleLine("1", "1", "2", "AM1", "R:1:2"));
    const struct {
        std::string CSLConvert::*member;
        const char* value;
        const char* reason;
    } cases[] = {
        {&CSLConvert::m_strDataFile, "../../", "The data file base name holds '/'"},
        {&CSLConvert::m_strMSFile, "a\\b", "The MS method name holds '\\'"},
        {&CSLConvert::m_strMacro, "m\tx", "The macro name holds a control character"},
    };
    for (const auto& c : cases) {
        fake::Reset();
        NamedConversion convert(input, Output());
        convert.*c.member = c.value;
        EXPECT_FALSE(convert.Convert()) << c.value;
        EXPECT_TRUE(fake::Get().calls.empty()) << c.value;
        EXPECT_THAT(convert.GetFailureReason(), HasSubstr(c.reason));
    }
}

TEST_F(ConvertFaultTest, BaseNameLongerThanTheRecordNameIsRefused) {
    const std::string input = Export(SampleLine("1", "1", "2", "AM1", "R:1:2"));
    NamedConversion tooLong(input, Output());
    tooLong.m_nBaseLength = 1000;
    tooLong.m_strDataFile = std::string(248, 'd');
    EXPECT_FALSE(tooLong.Convert());
    EXPECT_TRUE(fake::Get().calls.empty());
    EXPECT_THAT(tooLong.GetFailureReason(), HasSubstr("data file base name"));

    fake::Reset();
    NamedConversion longest(input, Output());
    longest.m_nBaseLength = 1000;
    longest.m_strDataFile = std::string(247, 'd');
    EXPECT_TRUE(longest.Convert());
    EXPECT_EQ(TextAt(fake::Get().stored[1].data(), 0), "[" + std::string(247, 'd') + "002]");
}

TEST_F(ConvertFaultTest, Column5ValueTooLongForItsFieldStopsAtItsLine) {
    // A float near 9.99e24 prints 25 integer digits: 29 characters with
    // ".000", the most the field holds; negative it needs 30.
    const std::string input = Export(SampleLine("1", "1", "2", "AM9.99e24", "R:1:1") +
                                     SampleLine("2", "1", "2", "AM-9.99e24", "R:1:1") +
                                     SampleLine("3", "1", "2", "AM1", "R:1:1"));
    NamedConversion convert(input, Output());
    EXPECT_FALSE(convert.Convert());
    ASSERT_EQ(fake::Get().stored.size(), 1u);
    EXPECT_EQ(TextAt(fake::Get().stored[0].data(), 1955).size(), 29u);
    EXPECT_THAT(convert.GetFailureReason(), HasSubstr("line 2 of " + input));
    EXPECT_THAT(convert.GetFailureReason(), HasSubstr("-9.99e+24"));
    EXPECT_EQ(convert.GetReport().sampleLines, 2);
    EXPECT_FALSE(fake::Get().open);
}

TEST_F(ConvertFaultTest, OutputThatIsTheInputIsRefusedBeforeAnythingIsTouched) {
#ifdef _WIN32
    GTEST_SKIP() << "its cases reach the input through a symbolic link, which Windows makes only "
                    "with a privilege";
#else
    const k2ltest::ScopedEnv state("XDG_STATE_HOME", m_dir.Path("state"));
    const std::string text = SampleLine("1", "1", "2", "AM1", "R:1:2");
    const std::string input = m_dir.Write("run12.sdb", text);
    ASSERT_EQ(::mkdir(m_dir.Path("sub").c_str(), 0700), 0);
    ASSERT_EQ(::symlink(input.c_str(), m_dir.Path("link.sdb").c_str()), 0);
    const std::string plain = m_dir.Write("plain", text);

    struct Case {
        std::string input;
        std::string output;
    };
    const Case cases[] = {
        {input, input},
        {input, m_dir.Path("link.sdb")},
        {m_dir.Path("link.sdb"), input},
        {input, m_dir.Path("sub/../run12.sdb")},
    };
    for (const Case& c : cases) {
        fake::Reset();
        CSLConvert convert(c.input, c.output);
        const ConversionOutcome outcome = RunConversion(convert);
        EXPECT_TRUE(fake::Get().calls.empty()) << c.output;
        EXPECT_EQ(outcome.status.message(),
                  "It is the input file " + c.input + "; choose another name for the Sample List.");
    }
    // The record library writes "plain" for "plain.": refused before the
    // input is even looked at.
    fake::Reset();
    CSLConvert dotted(plain, plain + ".");
    EXPECT_FALSE(dotted.Convert());
    EXPECT_TRUE(fake::Get().calls.empty());
    EXPECT_THAT(dotted.GetFailureReason(), HasSubstr("cannot end in a dot"));
#endif
}

TEST_F(ConvertFaultTest, TheLogNamesTheInputAbsolute) {
    const k2ltest::ScopedEnv state("XDG_STATE_HOME", m_dir.Path("state"));
    const k2ltest::ScopedEnv windowsState("LOCALAPPDATA", m_dir.Path("state"));
    m_dir.Write("runs/in.txt", SampleLine("1", "1", "2", "AM1", "R:1:2"));
    const k2ltest::ScopedCurrentDir cwd(m_dir.Path("runs"));
    NamedConversion convert("./in.txt", Output());
    const ConversionOutcome outcome = RunConversion(convert);
    EXPECT_TRUE(outcome.status.ok()) << outcome.status.message();
    EXPECT_EQ(outcome.logProblem, "");
    const ConversionLogTail tail = ReadConversionLogTail(ConversionLogPath().value(), 1);
    ASSERT_EQ(tail.lines.size(), 1u);
    const std::optional<ConversionLogRecord> record = ParseConversionLogLine(tail.lines[0].text);
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(record->entry.input, k2ltest::NativePath(m_dir.Path("runs/in.txt")));
    EXPECT_EQ(record->entry.records, 2);
}

TEST_F(ConvertFaultTest, InputThatCannotBeOpenedTouchesNothing) {
    const std::string input = m_dir.Path("missing.txt");
    NamedConversion convert(input, Output());
    EXPECT_FALSE(convert.Convert());
    EXPECT_TRUE(fake::Get().calls.empty());
    EXPECT_EQ(convert.GetFailureReason(), input + ": No such file or directory.");
}

TEST_F(ConvertFaultTest, ListThatCannotBeCreatedSaysWhy) {
    const std::string input = Export(SampleLine("1", "1", "2", "AM1", "R:1:2"));
    fake::Get().openStatus[DB3_MODE_CHECK] = DB3_E_LOCATION;
    NamedConversion convert(input, Output());
    EXPECT_FALSE(convert.Convert());
    EXPECT_THAT(fake::Get().Functions(), ::testing::ElementsAre("StoreGlobalFile", "DB3Open"));
    // The folder is there and can be written: the location itself is what failed.
    EXPECT_EQ(convert.GetFailureReason(),
              "The data system's sample-list location could not be used (status 13). Choose a "
              "folder you can write to, or ask for the right to write there.");

    // A folder that is not there is named so, without its final separator.
    fake::Reset();
    fake::Get().openStatus[DB3_MODE_CHECK] = DB3_E_LOCATION;
    NamedConversion elsewhere(input, k2ltest::NativePath(m_dir.Path("missing/run12.sdb")));
    EXPECT_FALSE(elsewhere.Convert());
    EXPECT_EQ(elsewhere.GetFailureReason(),
              "The folder " + k2ltest::NativePath(m_dir.Path("missing")) +
                  " does not exist (status 13). Create the folder, or choose another folder for "
                  "the Sample List.");

    fake::Reset();
    CSLConvert tooLong(input, "/" + std::string(300, 'd') + "/run12.sdb");
    EXPECT_FALSE(tooLong.Convert());
    EXPECT_TRUE(fake::Get().calls.empty());
    EXPECT_THAT(tooLong.GetFailureReason(), HasSubstr("its directory is too long"));
}

}  // namespace
