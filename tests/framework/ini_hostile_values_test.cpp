// The application's remembered values in Korr2LD.INI (section "Files",
// keys "Input", "Output", "MS", "Inlet", "Macro", "Data") hold whatever the
// user typed or picked: paths with blanks, quotes, '=' or '[', and names
// that look like INI lines. Each is written so that it reads back exactly,
// or refused with a message; none can add a key or a section.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/ProfileFile.h"
#include "support/scratch_dir.h"

namespace {

using k2ltest::ReadFile;
using k2ltest::ScratchDir;

using Keys = std::vector<std::string>;

const Keys kKeys = {"Input", "Output", "MS", "Inlet", "Macro", "Data"};

// Values that a careless writer would turn into other lines, keys or
// sections, or would not read back as written.
const std::vector<std::string> kHostile = {
    "/home/lab/exports/run 12.txt",
    "C:\\Korrin\\Exports\\run12.txt",
    " /leading/blank.txt",
    "/trailing/blank.sdb ",
    "  ",
    "\"/quoted/path.txt\"",
    "\"",
    "\"half quoted",
    "a=b",
    "MS=evil",
    "=",
    "[Files]",
    "[Not Specified]",
    "[Injected]",
    "x]y[",
    "; not a comment",
    "# not a comment",
    "\\",
    "8-bit \xE4\xF6\xFC",
    "",
};

TEST(IniHostileValuesTest, EveryRememberedValueReadsBackExactly) {
    ScratchDir dir;
    const std::string path = dir.Path() + "/Korr2LD.INI";
    // Each hostile value goes once into each of the six keys.
    for (std::size_t shift = 0; shift < kKeys.size(); ++shift) {
        std::vector<std::string> written;
        for (std::size_t first = 0; first < kHostile.size(); first += kKeys.size()) {
            written.clear();
            {
                CProfileFile profile(path);
                for (std::size_t k = 0; k < kKeys.size(); ++k) {
                    const std::string& value = kHostile[(first + k + shift) % kHostile.size()];
                    ASSERT_TRUE(profile.WriteString("Files", kKeys[k], value))
                        << profile.GetError();
                    written.push_back(value);
                }
                ASSERT_TRUE(profile.Save()) << profile.GetError();
            }
            const CProfileFile again(path);
            ASSERT_EQ(again.GetLoadState(), CProfileFile::LoadState::kLoaded);
            EXPECT_EQ(again.GetKeys("Files"), kKeys) << ReadFile(path);
            EXPECT_TRUE(again.GetKeys("Injected").empty());
            EXPECT_TRUE(again.GetKeys("Not Specified").empty());
            for (std::size_t k = 0; k < kKeys.size(); ++k) {
                EXPECT_EQ(again.GetString("Files", kKeys[k], "<absent>"), written[k])
                    << kKeys[k] << " in\n"
                    << ReadFile(path);
            }
        }
    }
}

TEST(IniHostileValuesTest, LineBreaksAreRefusedAndInjectNothing) {
    ScratchDir dir;
    const std::string path = dir.Path() + "/Korr2LD.INI";
    CProfileFile profile(path);
    for (const std::string& key : kKeys) {
        ASSERT_TRUE(profile.WriteString("Files", key, "before"));
    }
    ASSERT_TRUE(profile.Save());
    const std::string saved = ReadFile(path);

    const std::vector<std::string> refused = {
        "/exports/run12.txt\n[Files]\nMS=evil",
        "/exports/run12.txt\r\n[Other]\r\nKey=1",
        "/exports/run12.txt\rMS=evil",
        "\n",
        "run\t12",
        std::string("run\0"
                    "12",
                    6),
    };
    for (const std::string& key : kKeys) {
        for (const std::string& value : refused) {
            EXPECT_FALSE(profile.WriteString("Files", key, value));
            EXPECT_EQ(profile.GetError().rfind(path + ": [Files] " + key + ": the value holds ", 0),
                      0u)
                << profile.GetError();
            EXPECT_EQ(profile.GetString("Files", key, "<absent>"), "before");
        }
    }
    ASSERT_TRUE(profile.Save());
    EXPECT_EQ(ReadFile(path), saved);
    const CProfileFile again(path);
    EXPECT_EQ(again.GetKeys("Files"), kKeys);
    EXPECT_EQ(again.GetString("Files", "MS", "<absent>"), "before");
    EXPECT_TRUE(again.GetKeys("Other").empty());
}

TEST(IniHostileValuesTest, SavingAgainChangesNothing) {
    // Loading and saving a file of awkward values, as every start and end
    // of the application does, must not drift: no quotes added twice, no
    // blanks lost.
    ScratchDir dir;
    const std::string path = dir.Path() + "/Korr2LD.INI";
    {
        CProfileFile profile(path);
        for (std::size_t k = 0; k < kKeys.size(); ++k) {
            ASSERT_TRUE(profile.WriteString("Files", kKeys[k], kHostile[k + 2]));
        }
        ASSERT_TRUE(profile.Save());
    }
    const std::string first = ReadFile(path);
    for (int round = 0; round < 3; ++round) {
        CProfileFile profile(path);
        for (const std::string& key : kKeys) {
            ASSERT_TRUE(profile.WriteString("Files", key, profile.GetString("Files", key, "")));
        }
        ASSERT_TRUE(profile.Save());
        EXPECT_EQ(ReadFile(path), first);
    }
}

}  // namespace
