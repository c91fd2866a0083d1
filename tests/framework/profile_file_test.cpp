#include "framework/ProfileFile.h"
#include "framework/ProfileTakeOver.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/scratch_dir.h"

namespace {

using k2ltest::ReadFile;
using k2ltest::ScratchDir;

using State = CProfileFile::LoadState;
using Keys = std::vector<std::string>;

// ---- Loading ---------------------------------------------------------------

TEST(ProfileFileLoadTest, MissingFileIsAnEmptyProfile) {
    ScratchDir dir;
    CProfileFile profile(dir.Path() + "/Korr2LD.INI");
    EXPECT_EQ(profile.GetLoadState(), State::kMissing);
    EXPECT_EQ(profile.GetLoadMessage(), "");
    EXPECT_EQ(profile.GetString("Files", "Input", "none"), "none");
    EXPECT_TRUE(profile.GetKeys("Files").empty());
    ASSERT_TRUE(profile.WriteString("Files", "Input", "C:\\Data\\run12.txt"));
    ASSERT_TRUE(profile.Save()) << profile.GetError();
    EXPECT_EQ(ReadFile(dir.Path() + "/Korr2LD.INI"), "[Files]\nInput=C:\\Data\\run12.txt\n");
}

TEST(ProfileFileLoadTest, ReadsValuesWhateverTheCaseOfNamesAndTheLineEnds) {
    ScratchDir dir;
    const std::string path =
        dir.Write("a.ini", "[Files]\r\nInput = /data/run12.txt \r\nOutput=\r\n[other]\rX=1\r");
    CProfileFile profile(path);
    ASSERT_EQ(profile.GetLoadState(), State::kLoaded);
    EXPECT_EQ(profile.GetString("Files", "Input", "-"), "/data/run12.txt");
    EXPECT_EQ(profile.GetString("FILES", "input", "-"), "/data/run12.txt");
    EXPECT_EQ(profile.GetString("Files", "Output", "-"), "");
    EXPECT_TRUE(profile.HasKey("Files", "Output"));
    EXPECT_FALSE(profile.HasKey("Files", "Macro"));
    EXPECT_EQ(profile.GetString("Other", "x", "-"), "1");
    EXPECT_EQ(profile.GetString("Missing", "x", "-"), "-");
    EXPECT_EQ(profile.GetKeys("Files"), (Keys{"Input", "Output"}));
}

TEST(ProfileFileLoadTest, HandWrittenQuotesAreRemoved) {
    ScratchDir dir;
    CProfileFile profile(dir.Write("a.ini", "[S]\na=\"  padded \"\nb=\"\"\nc=\"\nd=say \"hi\"\n"));
    EXPECT_EQ(profile.GetString("S", "a", "-"), "  padded ");
    EXPECT_EQ(profile.GetString("S", "b", "-"), "");
    EXPECT_EQ(profile.GetString("S", "c", "-"), "\"");
    EXPECT_EQ(profile.GetString("S", "d", "-"), "say \"hi\"");
}

// The program's own file is kept aside, beside one kept before, and written
// anew; the data system's is left as it is (see also UnusableSettingsTest).
TEST(ProfileFileLoadTest, AFileTooLargeIsIgnoredThenLeftAloneOrKeptAsideOnSave) {
    ScratchDir dir;
    const std::string path = dir.Write("a.ini", "[S]\nk=old\n");
    std::filesystem::resize_file(path, CProfileFile::kMaxFileSize + 1);  // sparse: no disk
    dir.Write("a.ini.bad", "older\n");
    CProfileFile profile(path);
    EXPECT_EQ(profile.GetLoadState(), State::kIgnored);
    EXPECT_EQ(profile.GetLoadMessage(), path + ": ignored: it is larger than 64 MiB");
    EXPECT_EQ(profile.GetString("S", "k", "default"), "default");
    ASSERT_TRUE(profile.WriteString("S", "k", "v"));

    EXPECT_FALSE(profile.Save(CProfileFile::IgnoredFile::kLeaveAlone));
    EXPECT_EQ(profile.GetError(), path + " cannot be used: it is larger than 64 MiB");
    EXPECT_EQ(std::filesystem::file_size(path), CProfileFile::kMaxFileSize + 1);

    ASSERT_TRUE(profile.Save()) << profile.GetError();
    EXPECT_EQ(std::filesystem::file_size(path + ".bad.1"), CProfileFile::kMaxFileSize + 1);
    EXPECT_EQ(ReadFile(path + ".bad"), "older\n");
    EXPECT_EQ(ReadFile(path), "[S]\nk=v\n");
    EXPECT_EQ(profile.GetLoadState(), State::kLoaded);
}

TEST(ProfileFileLoadTest, DirectoryInThePlaceOfTheFileIsMovedAsideOnSave) {
    ScratchDir dir;
    const std::string path = dir.Path() + "/Lumenda.ini";
    std::filesystem::create_directory(path);
    dir.Write("Lumenda.ini/inside", "kept");
    CProfileFile profile(path);
    EXPECT_EQ(profile.GetLoadState(), State::kIgnored);
    EXPECT_EQ(profile.GetLoadMessage(), path + ": ignored: Is a directory");
    ASSERT_TRUE(profile.WriteString("S", "k", "v"));
    ASSERT_TRUE(profile.Save()) << profile.GetError();
    EXPECT_EQ(ReadFile(path + ".bad/inside"), "kept");
    EXPECT_EQ(ReadFile(path), "[S]\nk=v\n");
}

// The mode decides, not access(): root too leaves it alone, usable or not.
TEST(ProfileFileWriteTest, AReadOnlyFileIsNeverRewritten) {
    ScratchDir dir;
    for (const std::uintmax_t size :
         {std::uintmax_t{10}, std::uintmax_t{CProfileFile::kMaxFileSize} + 1}) {
        const std::string path = dir.Write("a.ini", "[S]\nk=old\n");
        std::filesystem::resize_file(path, size);
        ASSERT_EQ(chmod(path.c_str(), 0444), 0);
        CProfileFile profile(path);
        ASSERT_TRUE(profile.WriteString("S", "k", "new"));
        EXPECT_FALSE(profile.Save());
        EXPECT_EQ(profile.GetError(), path + " is read-only");
        EXPECT_EQ(std::filesystem::file_size(path), size);
        EXPECT_FALSE(std::filesystem::exists(path + ".bad"));
        ASSERT_EQ(chmod(path.c_str(), 0644), 0);
    }
}

TEST(ProfileFileLoadTest, UnreadableFileIsIgnored) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no permission bits that make a file unreadable to its owner";
#else
    if (geteuid() == 0) {
        GTEST_SKIP() << "running as root: file permissions do not apply";
    }
    ScratchDir dir;
    const std::string path = dir.Write("a.ini", "[S]\nk=v\n");
    ASSERT_EQ(chmod(path.c_str(), 0), 0);
    CProfileFile profile(path);
    EXPECT_EQ(profile.GetLoadState(), State::kIgnored);
    EXPECT_EQ(profile.GetLoadMessage(), path + ": ignored: Permission denied");
    EXPECT_EQ(profile.GetString("S", "k", "-"), "-");
#endif
}

// ---- Writing keeps the rest of the file ------------------------------------

struct Edit {
    const char* label;
    std::string before;
    const char* section;
    const char* key;
    const char* value;
    std::string after;
};

void PrintTo(const Edit& edit, std::ostream* out) {
    *out << edit.label;
}

class ProfileFileEditTest : public ::testing::TestWithParam<Edit> {};

TEST_P(ProfileFileEditTest, ChangesOnlyTheLineOfTheKey) {
    const Edit& edit = GetParam();
    ScratchDir dir;
    const std::string path = dir.Write("Lumenda.ini", edit.before);
    {
        CProfileFile profile(path);
        ASSERT_EQ(profile.GetLoadState(), State::kLoaded) << profile.GetLoadMessage();
        ASSERT_TRUE(profile.Save()) << profile.GetError();
        EXPECT_EQ(ReadFile(path), edit.before) << "a save without writes changes nothing";
        ASSERT_TRUE(profile.WriteString(edit.section, edit.key, edit.value)) << profile.GetError();
        ASSERT_TRUE(profile.Save()) << profile.GetError();
    }
    EXPECT_EQ(ReadFile(path), edit.after);
    EXPECT_EQ(CProfileFile(path).GetString(edit.section, edit.key, "-"), edit.value);
}

INSTANTIATE_TEST_SUITE_P(
    OddFiles, ProfileFileEditTest,
    ::testing::Values(
        Edit{"StrayLine", "[SystemList]\nFlag\nLC_DB=/lc/\n\n[Other]\nX=1\n", "SystemList", "MACRO",
             "/m/", "[SystemList]\nFlag\nLC_DB=/lc/\nMACRO=/m/\n\n[Other]\nX=1\n"},
        Edit{"NotIni", "[S]\nk=v\nThis is a letter.\n", "S", "k", "w",
             "[S]\nk=w\nThis is a letter.\n"},
        Edit{"EmptyKey", "[S]\n=v\n", "S", "k", "w", "[S]\nk=w\n=v\n"},
        Edit{"UnclosedSection", "[SystemList\nk=v\n", "SystemList", "k", "w",
             "[SystemList\nk=v\n\n[SystemList]\nk=w\n"},
        Edit{"DuplicateKey", "[S]\nk=1\n; c\nK=2\n", "S", "k", "3", "[S]\nk=3\n; c\nK=2\n"},
        Edit{"DuplicateSection", "[S]\na=1\n; c\n[T]\n[s]\nb=2\n", "S", "c", "3",
             "[S]\na=1\nc=3\n; c\n[T]\n[s]\nb=2\n"},
        Edit{"KeyInRepeatedSection", "[S]\na=1\n[s]\nb = 2 \n", "S", "B", "3",
             "[S]\na=1\n[s]\nb =3\n"},
        Edit{"Nul", std::string("[S]\n\0\nk=v\0w\n", 12), "S", "k", "x",
             std::string("[S]\n\0\nk=x\n", 10)},
        Edit{"TextAfterHeader", "[S] ; comment\nk=1\n", "S", "k", "2", "[S] ; comment\nk=2\n"},
        Edit{"ByteOrderMark", "\xEF\xBB\xBF[S]\nk=1\n", "S", "n", "2",
             "\xEF\xBB\xBF[S]\nk=1\nn=2\n"},
        Edit{"Crlf", "[S]\r\nk=1\r\n\r\n[T]\r\n", "S", "n", "2",
             "[S]\r\nk=1\r\nn=2\r\n\r\n[T]\r\n"},
        Edit{"LoneCr", "[S]\rk=1\r", "T", "n", "2", "[S]\rk=1\r\r[T]\nn=2\n"},
        Edit{"NoFinalLineEnd", "[S]\nk=1", "S", "n", " 2", "[S]\nk=1\nn=\" 2\"\n"},
        Edit{"NoFinalLineEndNewSection", "; c", "S", "n", "2", "; c\n\n[S]\nn=2\n"},
        Edit{"HighBytes", "[S]\n\xFF\xFF=\xFF\n", "S", "\xFF\xFF", "x", "[S]\n\xFF\xFF=x\n"},
        Edit{"KeyBeforeAnySection", "k=1\n[S]\n", "S", "k", "2", "k=1\n[S]\nk=2\n"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(ProfileFileReadTest, TheFirstOfRepeatedKeysCounts) {
    ScratchDir dir;
    CProfileFile profile(
        dir.Write("a.ini", "a=0\n[S]\nb=1\na=2\n[T]\na=3\n[ s ] x\nA=4\nB=5\nc=6\n"));
    EXPECT_EQ(profile.GetString("S", "a", "-"), "2");
    EXPECT_EQ(profile.GetString("s", "B", "-"), "1");
    EXPECT_EQ(profile.GetString("S", "c", "-"), "6");
    EXPECT_EQ(profile.GetKeys("S"), (Keys{"b", "a", "c"}));
}

TEST(ProfileFileWriteTest, RefusesToGrowTheFilePastTheLimit) {
    ScratchDir dir;
    const std::string path = dir.Write("a.ini", "[S]\nk=1\n;");
    std::filesystem::resize_file(path, CProfileFile::kMaxFileSize - 2);
    CProfileFile profile(path);
    ASSERT_EQ(profile.GetLoadState(), State::kLoaded);
    EXPECT_FALSE(profile.WriteString("S", "new", "x"));
    EXPECT_NE(profile.GetError().find("larger than 64 MiB"), std::string::npos);
    EXPECT_TRUE(profile.WriteString("S", "k", "2"));
}

TEST(ProfileFileWriteTest, KeepsOtherSectionsKeysCommentsAndTheirOrder) {
    ScratchDir dir;
    const std::string path = dir.Write("a.ini",
                                       "; Settings of the lab\n"
                                       "\n"
                                       "[Files]\n"
                                       "; where the export comes from\n"
                                       "Zeta=1\n"
                                       "Alpha=2\n"
                                       "Input=old\n"
                                       "# [Hidden]\n"
                                       "Middle=3\n"
                                       "\n"
                                       "[Other]\n"
                                       "k=v\n"
                                       ";Retired=1\n");
    CProfileFile profile(path);
    ASSERT_TRUE(profile.WriteString("Files", "Input", "new"));
    ASSERT_TRUE(profile.WriteString("Files", "Added", "4"));
    ASSERT_TRUE(profile.WriteString("Fresh", "k", "5"));
    ASSERT_TRUE(profile.Save()) << profile.GetError();

    CProfileFile again(path);
    EXPECT_EQ(again.GetKeys("Files"), (Keys{"Zeta", "Alpha", "Input", "Middle", "Added"}));
    EXPECT_EQ(again.GetString("Files", "Input", "-"), "new");
    EXPECT_EQ(again.GetString("Other", "k", "-"), "v");
    EXPECT_EQ(again.GetString("Fresh", "k", "-"), "5");
    const std::string saved = ReadFile(path);
    for (const char* comment :
         {"; Settings of the lab\n", "; where the export comes from\nZeta=1\n",
          "# [Hidden]\nMiddle=3\n", "k=v\n;Retired=1\n"}) {
        EXPECT_NE(saved.find(comment), std::string::npos) << comment << " missing from\n" << saved;
    }
    EXPECT_LT(saved.find("[Files]"), saved.find("[Other]"));
    EXPECT_LT(saved.find("[Other]"), saved.find("[Fresh]"));
}

TEST(ProfileFileWriteTest, KeepsAFileOfCommentsOnly) {
    ScratchDir dir;
    const std::string path = dir.Write("a.ini", "; first\n; second\n\n# third\n");
    CProfileFile profile(path);
    EXPECT_EQ(profile.GetLoadState(), State::kLoaded);
    ASSERT_TRUE(profile.WriteString("S", "k", "v"));
    ASSERT_TRUE(profile.Save());
    EXPECT_EQ(ReadFile(path), "; first\n; second\n\n# third\n\n[S]\nk=v\n");
}

TEST(ProfileFileWriteTest, HostileValuesRoundTripWithoutInjectingKeysOrSections) {
    const std::vector<std::string> values = {
        "a=b",
        "[Injected]",
        "x]\t"
        "y",  // a tab is a control character: refused below, not here
        "; not a comment",
        "# not a comment",
        "  leading",
        "trailing  ",
        " both ",
        "\"quoted\"",
        "\"",
        "\"\"",
        "\" \"",
        "\"half",
        "=",
        "[S]\nk=v",  // refused: holds a line break
        "<<<END",
        "C:\\Lists\\",
        "8-bit \xE4\xF6\xFC\xFF",
        "",
    };
    ScratchDir dir;
    const std::string path = dir.Path() + "/a.ini";
    std::vector<std::string> stored;
    {
        CProfileFile profile(path);
        for (std::size_t i = 0; i < values.size(); ++i) {
            const bool storable = values[i].find_first_of("\t\n") == std::string::npos;
            EXPECT_EQ(profile.WriteString("S", "k" + std::to_string(i), values[i]) == TRUE,
                      storable)
                << values[i];
            if (storable) {
                stored.push_back("k" + std::to_string(i));
            }
        }
        ASSERT_TRUE(profile.WriteString("T", "after", "last"));
        ASSERT_TRUE(profile.Save()) << profile.GetError();
    }
    CProfileFile again(path);
    ASSERT_EQ(again.GetLoadState(), State::kLoaded);
    EXPECT_EQ(again.GetKeys("S"), stored);
    EXPECT_EQ(again.GetKeys("Injected"), Keys{});
    EXPECT_EQ(again.GetKeys("T"), Keys{"after"});
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (values[i].find_first_of("\t\n") == std::string::npos) {
            EXPECT_EQ(again.GetString("S", "k" + std::to_string(i), "-"), values[i]);
        }
    }
}

TEST(ProfileFileWriteTest, RefusesLineBreaksAndControlCharactersChangingNothing) {
    ScratchDir dir;
    const std::string path = dir.Write("a.ini", "[S]\nk=old\n");
    CProfileFile profile(path);
    const std::vector<std::string> refused = {
        "a\nb", "a\rb", "a\r\nInjected=1", std::string("a\0b", 3), "\x01", "del\x7F"};
    for (const std::string& value : refused) {
        EXPECT_FALSE(profile.WriteString("S", "k", value));
        EXPECT_NE(profile.GetError().find(path), std::string::npos) << profile.GetError();
        EXPECT_EQ(profile.GetString("S", "k", "-"), "old");
    }
    EXPECT_FALSE(profile.WriteString("S", "k", "x\ny"));
    EXPECT_NE(profile.GetError().find("line break"), std::string::npos) << profile.GetError();
    ASSERT_TRUE(profile.Save());
    EXPECT_EQ(ReadFile(path), "[S]\nk=old\n");
}

TEST(ProfileFileWriteTest, RefusesSectionAndKeyNamesThatCannotBeWritten) {
    ScratchDir dir;
    CProfileFile profile(dir.Path() + "/a.ini");
    EXPECT_FALSE(profile.WriteString("A]B", "k", "v"));
    EXPECT_FALSE(profile.WriteString("", "k", "v"));
    EXPECT_FALSE(profile.WriteString(" S", "k", "v"));
    EXPECT_FALSE(profile.WriteString("S\n[T", "k", "v"));
    EXPECT_FALSE(profile.WriteString("S", "k=x", "v"));
    EXPECT_FALSE(profile.WriteString("S", ";k", "v"));
    EXPECT_FALSE(profile.WriteString("S", "[k", "v"));
    EXPECT_FALSE(profile.WriteString("S", "k\nx", "v"));
    EXPECT_FALSE(profile.WriteString("S", "", "v"));
    EXPECT_FALSE(profile.WriteString("S", "k ", "v"));
    EXPECT_NE(profile.GetError().find("blank"), std::string::npos) << profile.GetError();
    EXPECT_TRUE(profile.GetKeys("S").empty());
    EXPECT_EQ(profile.GetString("S", "k=x", "-"), "-");
}

TEST(ProfileFileWriteTest, FailedSaveReportsTheFile) {
    ScratchDir dir;
    const std::string path = dir.Path() + "/missing/a.ini";
    CProfileFile profile(path);
    ASSERT_TRUE(profile.WriteString("S", "k", "v"));
    EXPECT_FALSE(profile.Save());
    EXPECT_EQ(profile.GetError().rfind(path + ": ", 0), 0u) << profile.GetError();
}

}  // namespace

TEST(ProfileTakeOverTest, AFirstStartTakesTheValuesOverOnceFromTheFirstCandidateThatHasThem) {
    const ScratchDir dir;
    const std::string path = dir.Path("config/Korr2LD.INI");
    const std::string empty = dir.Write("store/Korr2LD.INI", "[Other]\nInput=x\n");
    const std::string old = dir.Write("windows/Korr2LD.INI",
                                      "[Files]\r\nInput=C:\\runs\\p7.txt\r\nMS=ESI_POS\r\nX=1\r\n");
    const std::vector<std::string_view> keys = {"Input", "MS", "Data"};
    EXPECT_EQ(TakeOverProfileValues(path, {dir.Path("none.ini"), empty, old}, "Files", keys), old);
    const CProfileFile taken(path);
    EXPECT_EQ(taken.GetKeys("Files"), (Keys{"Input", "MS"}));
    EXPECT_EQ(taken.GetString("Files", "Input", ""), "C:\\runs\\p7.txt");
    // Once: a file of ours is never written over by the old one again.
    k2ltest::WriteFile(old, "[Files]\nMS=OTHER\n");
    EXPECT_EQ(TakeOverProfileValues(path, {old}, "Files", keys), "");
    EXPECT_EQ(CProfileFile(path).GetString("Files", "MS", ""), "ESI_POS");
}
