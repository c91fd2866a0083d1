// Inputs found by the fuzz harnesses (fuzz/profile_file_fuzzer.cpp), each
// minimised and run through the same code as there.
#include <gtest/gtest.h>

#include <string>

#include "framework/ProfileFile.h"
#include "support/scratch_dir.h"

namespace {

using k2ltest::ReadFile;
using k2ltest::ScratchDir;

class ProfileFileFuzzRegression : public ::testing::Test {
protected:
    // Writes ORIGINAL as the profile Korr2LD.INI; returns its path.
    std::string Write(const std::string& original) {
        m_original = original;
        m_path = m_dir.Write("Korr2LD.INI", original);
        return m_path;
    }

    // True when the profile written was not used: then a save, whatever it
    // would change or lose, keeps the file aside whole.
    bool KeptAside() const {
        CProfileFile profile(m_path);
        if (profile.GetLoadState() != CProfileFile::LoadState::kIgnored) {
            return false;
        }
        EXPECT_NE(profile.GetLoadMessage().find(m_path + ": ignored: line "), std::string::npos)
            << profile.GetLoadMessage();
        EXPECT_EQ(profile.Save(), TRUE) << profile.GetError();
        EXPECT_EQ(ReadFile(m_path + ".bad"), m_original);
        return true;
    }

    // Saves the profile written, in which A of [Files] reads "1" before the
    // save and after it; returns the file as saved.
    std::string SavedKeepingAOf1() const {
        CProfileFile profile(m_path);
        EXPECT_EQ(profile.GetString("Files", "A", ""), "1");
        EXPECT_EQ(profile.Save(), TRUE) << profile.GetError();
        EXPECT_EQ(CProfileFile(m_path).GetString("Files", "A", ""), "1");
        return ReadFile(m_path);
    }

    ScratchDir m_dir;
    std::string m_original;
    std::string m_path;
};

// A key name holding a control character: every key the profile lists must
// also be readable by its name, or the file is not used (and kept aside).
TEST_F(ProfileFileFuzzRegression, EveryListedKeyIsReadable) {
    const CProfileFile profile(Write("[Files]\nIn\x12put=x\nOutput=y\n"));
    if (KeptAside()) {
        return;
    }
    for (const std::string& key : profile.GetKeys("Files")) {
        EXPECT_EQ(profile.HasKey("Files", key), TRUE) << "key listed: \"" << key << "\"";
        EXPECT_NE(profile.GetString("Files", key, "<default>"), "<default>")
            << "key listed: \"" << key << "\"";
    }
}

// When a key occurs twice in a section the first value counts, and no
// comment of the file may be lost when it is saved.
TEST_F(ProfileFileFuzzRegression, SaveKeepsTheCommentsOfARepeatedKey) {
    Write("[Files]\n; first\nA=1\n; second\nA=2\nB=3\n");
    if (KeptAside()) {
        return;
    }
    const std::string saved = SavedKeepingAOf1();
    const std::size_t first = saved.find("; first\n");
    const std::size_t second = saved.find("; second\n");
    EXPECT_NE(first, std::string::npos) << saved;
    EXPECT_NE(second, std::string::npos) << saved;
    EXPECT_LT(first, second) << saved;
}

// A section that occurs twice is one section, but the comment between the
// two headers stays in the file.
TEST_F(ProfileFileFuzzRegression, SaveKeepsTheCommentsOfARepeatedSection) {
    Write("[Files]\n; inside\n[Files]\nA=1\n");
    if (KeptAside()) {
        return;
    }
    const std::string saved = SavedKeepingAOf1();
    EXPECT_NE(saved.find("; inside\n"), std::string::npos) << saved;
}

// Text after the closing bracket of a section header is not a key, but
// what the user wrote there must survive a Save: kept in the file, or the
// whole file kept aside as unusable.
TEST_F(ProfileFileFuzzRegression, SaveKeepsTextAfterASectionHeader) {
    const std::string original = "[Files] Input=x\nOutput=y\n";
    const std::string path = Write(original);
    CProfileFile profile(path);
    ASSERT_EQ(profile.Save(), TRUE) << profile.GetError();
    const std::string saved = ReadFile(path);
    const bool keptInFile = saved.find("Input=x") != std::string::npos;
    const bool keptAside = ReadFile(path + ".bad") == original;
    EXPECT_TRUE(keptInFile || keptAside) << saved;
}

// A blank, a byte-order mark that is therefore not at the start, and a key
// of high bytes before any section (fuzz/corpus/profile_file/
// bom_after_blank.ini): the file loaded and saved, but the saved form did
// not load. Now saving gives the same bytes, and a value stored into it
// reads back.
TEST_F(ProfileFileFuzzRegression, ByteOrderMarkAfterABlankSavesAsItWas) {
    const std::string original = "\t\xEF\xBB\xBF[Fi\"" + std::string(17, '\xFF') + "=";
    const std::string path = Write(original);
    {
        CProfileFile profile(path);
        ASSERT_EQ(profile.GetLoadState(), CProfileFile::LoadState::kLoaded);
        EXPECT_TRUE(profile.GetKeys("Fi\"").empty());
        ASSERT_EQ(profile.Save(), TRUE) << profile.GetError();
    }
    EXPECT_EQ(ReadFile(path), original);
    CProfileFile profile(path);
    ASSERT_EQ(profile.GetLoadState(), CProfileFile::LoadState::kLoaded);
    ASSERT_EQ(profile.WriteString("Files", "Input", "[Fi\""), TRUE);
    ASSERT_EQ(profile.Save(), TRUE) << profile.GetError();
    EXPECT_EQ(ReadFile(path), original + "\n\n[Files]\nInput=[Fi\"\n");
    EXPECT_EQ(CProfileFile(path).GetString("Files", "Input", "-"), "[Fi\"");
}

}  // namespace
