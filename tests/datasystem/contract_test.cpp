// The data system's contract for callers: fixed text fields and the path of
// a Sample List as a location and a name.
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "datasystem/FixedField.h"
#include "datasystem/SampleListLocation.h"
#include "datasystem_test_support.h"

namespace {

using dstest::SameInfo;
using k2ltest::LocationRecord;

TEST(FixedFieldTest, TextEndsAtTheFirstZeroOrTheEndOfTheSpan) {
    char field[4] = {'a', '\0', 'b', 'c'};
    EXPECT_EQ(FixedFieldText(field), "a");
    EXPECT_TRUE(IsFixedFieldTerminated(field));
    std::memset(field, 'x', sizeof field);
    EXPECT_EQ(FixedFieldText(field), "xxxx");
    EXPECT_FALSE(IsFixedFieldTerminated(field));
}

TEST(FixedFieldTest, AWholeWriteRefusesWhatDoesNotFitAndZeroFillsWhatDoes) {
    char field[4];
    std::memset(field, 'x', sizeof field);
    EXPECT_FALSE(WriteFixedField(field, "abcd"));
    EXPECT_EQ(std::string(field, sizeof field), "xxxx");
    EXPECT_TRUE(WriteFixedField(field, "ab"));
    EXPECT_EQ(std::string(field, sizeof field), std::string("ab\0\0", 4));
}

TEST(FixedFieldTest, ACutWriteStopsAtAZeroOrOneBeforeTheEnd) {
    char field[4];
    std::memset(field, 'x', sizeof field);
    WriteFixedFieldCut(field, "abcdef");
    EXPECT_EQ(std::string(field, sizeof field), std::string("abc\0", 4));
    WriteFixedFieldCut(field, std::string("a\0b", 3));
    EXPECT_EQ(std::string(field, sizeof field), std::string("a\0\0\0", 4));
}

TEST(SampleListLocationTest, APathIsALocationAndANameAndBackAgain) {
    const Result<SampleListLocation> located = LocateSampleList("C:\\Lists\\run.12.sdb");
    ASSERT_TRUE(located.ok()) << located.status().message();
    EXPECT_TRUE(SameInfo(located.value().info, LocationRecord("C:\\Lists\\", "run.12", "sdb")));
    EXPECT_EQ(located.value().name, "run.12");
    EXPECT_EQ(SampleListPath(located.value().info, "other"), "C:\\Lists\\other.sdb");
    EXPECT_EQ(SampleListPath(LocationRecord("/l/", "", ""), "x"), "/l/x");
}

TEST(SampleListLocationTest, UnfitPartsAreNamed) {
    const std::string longName(256, 'n');
    EXPECT_EQ(UnfitLocationPart("/l/" + longName + ".sdb"), LocationPart::kName);
    EXPECT_EQ(UnfitLocationPart(std::string("/l/a\0b", 6)), LocationPart::kPath);
    EXPECT_FALSE(UnfitLocationPart("/l/a.sdb").has_value());
    EXPECT_EQ(LocateSampleList("/l/" + longName + ".sdb").status().message(),
              "its name is too long for the data system's sample-list location");
}

TEST(SampleListLocationTest, OnlyAPathTheLibraryWritesAsGivenIsAccepted) {
    EXPECT_EQ(SampleListPathAsGiven("/l/run.sdb").value(), "/l/run.sdb");
    EXPECT_EQ(SampleListPathAsGiven("/l/").status().message(),
              "it names no file, only a directory or an extension");
    EXPECT_EQ(SampleListPathAsGiven("/l/run.").status().message(),
              "the data system would write /l/run instead: a Sample List name cannot end in a "
              "dot");
}

}  // namespace
