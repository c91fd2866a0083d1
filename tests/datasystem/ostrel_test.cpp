#include "datasystem/ostrel.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "datasystem/LocationText.h"
#include "datasystem_test_support.h"
#include "framework/ProfileFile.h"

namespace {

using dstest::DataSystemTest;
using dstest::Get;
using dstest::SameInfo;
using k2ltest::Entries;
using k2ltest::LocationRecord;
using k2ltest::ReadFile;
using k2ltest::ScopedEnv;
using k2ltest::ScratchDir;

std::string FileValue(const std::string& path, const char* key) {
    return CProfileFile(path).GetString("SystemList", key, "<none>");
}

// ---- The text of a location ------------------------------------------------

struct TextCase {
    const char* directory;
    const char* name;
    const char* extension;
    const char* text;
};

void PrintTo(const TextCase& c, std::ostream* out) {
    *out << '"' << c.text << '"';
}

class LocationTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(LocationTextTest, FormatsAndParsesBackExactly) {
    const TextCase& c = GetParam();
    const GLOBAL_FILE_INFO info = LocationRecord(c.directory, c.name, c.extension);
    const Result<std::string> text = ostrel::FormatLocation(info);
    ASSERT_TRUE(text.ok()) << text.status().message();
    EXPECT_EQ(text.value(), c.text);
    GLOBAL_FILE_INFO parsed;
    const Status status = ostrel::ParseLocation(text.value(), parsed);
    ASSERT_TRUE(status.ok()) << status.message();
    EXPECT_TRUE(SameInfo(parsed, info)) << text.value();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LocationTextTest,
    ::testing::Values(TextCase{"/home/lab/methods/", "", "ms", "/home/lab/methods/*.ms"},
                      TextCase{"/data/lists/", "run12", "sdb", "/data/lists/run12.sdb"},
                      TextCase{"C:\\Lists\\", "run12", "sdb", "C:\\Lists\\run12.sdb"},
                      TextCase{"C:\\Lists\\", "", "", "C:\\Lists\\"},
                      TextCase{"/data/", "run12", "", "/data/run12"},
                      TextCase{"/data/", "run.12", "", "/data/run.12."},
                      TextCase{"/data/", "run.", "sdb", "/data/run..sdb"},
                      TextCase{"/data/", "a.b.c", "sdb", "/data/a.b.c.sdb"},
                      TextCase{"sub/", "", "", "sub/"}, TextCase{"", "run12", "sdb", "run12.sdb"},
                      TextCase{"", "", "", ""},
                      TextCase{"/d i r/", "r\xE4n", "s d", "/d i r/r\xE4n.s d"}));

TEST(LocationTextRefusalTest, AmbiguousLocationsHaveNoText) {
    const Result<std::string> noSeparator =
        ostrel::FormatLocation(LocationRecord("C:", "run12", "sdb"));
    EXPECT_FALSE(noSeparator.ok());
    std::string why = noSeparator.status().message();
    EXPECT_NE(why.find("does not end with"), std::string::npos) << why;
    EXPECT_FALSE(ostrel::FormatLocation(LocationRecord("/d/", "a/b", "sdb")).ok());
    EXPECT_FALSE(ostrel::FormatLocation(LocationRecord("/d/", "*", "sdb")).ok());
    EXPECT_FALSE(ostrel::FormatLocation(LocationRecord("/d/", "x", "tar.gz")).ok());
    EXPECT_FALSE(ostrel::FormatLocation(LocationRecord("/d/\n", "x", "sdb")).ok());
    GLOBAL_FILE_INFO unterminated = LocationRecord("/d/", "x", "sdb");
    std::memset(unterminated.szName, 'n', sizeof unterminated.szName);
    const Result<std::string> cut = ostrel::FormatLocation(unterminated);
    EXPECT_FALSE(cut.ok());
    why = cut.status().message();
    EXPECT_NE(why.find("name does not fit"), std::string::npos) << why;
}

TEST(LocationTextParseTest, HandWrittenFormsAreUnderstood) {
    GLOBAL_FILE_INFO info;
    ASSERT_TRUE(ostrel::ParseLocation("/m/*", info).ok());
    EXPECT_TRUE(SameInfo(info, LocationRecord("/m/", "", "")));
    ASSERT_TRUE(ostrel::ParseLocation("/m/.ms", info).ok());
    EXPECT_TRUE(SameInfo(info, LocationRecord("/m/", "", "ms")));
    ASSERT_TRUE(ostrel::ParseLocation("D:/mixed\\seps/x.y", info).ok());
    EXPECT_TRUE(SameInfo(info, LocationRecord("D:/mixed\\seps/", "x", "y")));
}

TEST(LocationTextParseTest, PartsTooLongForTheRecordGiveNoLocation) {
    GLOBAL_FILE_INFO info;
    EXPECT_TRUE(ostrel::ParseLocation("/" + std::string(257, 'd') + "/x.y", info).ok());
    Status status = ostrel::ParseLocation("/" + std::string(258, 'd') + "/x.y", info);
    EXPECT_FALSE(status.ok());
    EXPECT_NE(status.message().find("directory"), std::string::npos);
    EXPECT_EQ(info.szDirectory[0], '\0');
    status = ostrel::ParseLocation("/d/" + std::string(256, 'n') + ".y", info);
    EXPECT_FALSE(status.ok());
    EXPECT_NE(status.message().find("name"), std::string::npos);
    status = ostrel::ParseLocation("/d/x." + std::string(266, 'e'), info);
    EXPECT_FALSE(status.ok());
    EXPECT_NE(status.message().find("extension"), std::string::npos);
    const GLOBAL_FILE_INFO zero = LocationRecord("", "", "");
    EXPECT_TRUE(SameInfo(info, zero));
}

TEST(LocationTextParseTest, ZeroByteGivesNoLocation) {
    GLOBAL_FILE_INFO info;
    const Status status = ostrel::ParseLocation(std::string("/d/x\0y.z", 8), info);
    EXPECT_FALSE(status.ok());
    EXPECT_NE(status.message().find("zero byte"), std::string::npos);
    EXPECT_TRUE(SameInfo(info, LocationRecord("", "", "")));
}

// ---- Where the settings file is --------------------------------------------

TEST(OstrelSettingsPathTest, FollowsLumendaHomeThenXdgThenHome) {
    ScratchDir dir;
    ScopedEnv home("HOME", (dir.Path() + "/home").c_str());
    ScopedEnv xdg("XDG_CONFIG_HOME", nullptr);
    ScopedEnv lumenda("LUMENDA_HOME", nullptr);
    EXPECT_EQ(std::string(OstrelSettingsPath()), dir.Path() + "/home/.config/lumenda/Lumenda.ini");
    {
        ScopedEnv relative("XDG_CONFIG_HOME", "relative/config");
        EXPECT_EQ(std::string(OstrelSettingsPath()),
                  dir.Path() + "/home/.config/lumenda/Lumenda.ini");
    }
    ScopedEnv xdgSet("XDG_CONFIG_HOME", (dir.Path() + "/xdg").c_str());
    EXPECT_EQ(std::string(OstrelSettingsPath()), dir.Path() + "/xdg/lumenda/Lumenda.ini");
    ScopedEnv lumendaSet("LUMENDA_HOME", (dir.Path() + "/lh/").c_str());
    EXPECT_EQ(std::string(OstrelSettingsPath()), dir.Path() + "/lh/Lumenda.ini");

    // Storing creates the default directory.
    ScopedEnv lumendaUnset("LUMENDA_HOME", nullptr);
    const GLOBAL_FILE_INFO info = LocationRecord("/data/", "", "sdb");
    ASSERT_EQ(StoreGlobalFile("SystemList", "SAMPLES_DB", &info, 1), OSTREL_OK)
        << OstrelLastError();
    EXPECT_EQ(FileValue(dir.Path() + "/xdg/lumenda/Lumenda.ini", "SAMPLES_DB"), "/data/*.sdb");
}

// ---- Reading and storing ---------------------------------------------------

class OstrelTest : public DataSystemTest {};

TEST_F(OstrelTest, UnconfiguredKeyGivesAnAllZeroRecord) {
    const GLOBAL_FILE_INFO zero = LocationRecord("", "", "");
    int32_t status = -1;
    EXPECT_TRUE(SameInfo(Get("MS_FUNC_DB", &status), zero));  // no file at all
    EXPECT_EQ(status, OSTREL_OK);
    const GLOBAL_FILE_INFO other = LocationRecord("/x/", "", "ms");
    ASSERT_EQ(StoreGlobalFile("SystemList", "LC_DB", &other, 1), OSTREL_OK);
    EXPECT_TRUE(SameInfo(Get("MS_FUNC_DB", &status), zero));  // file without the key
    EXPECT_EQ(status, OSTREL_OK);
    EXPECT_STREQ(OstrelLastError(), "");
}

TEST_F(OstrelTest, StoredLocationsRoundTripThroughTheFile) {
    const std::vector<std::pair<const char*, GLOBAL_FILE_INFO>> stored = {
        {"MS_FUNC_DB", LocationRecord("/home/lab/methods/", "", "ms")},
        {"SAMPLES_DB", LocationRecord("C:\\Lists\\", "run12", "sdb")},
        {"LC_DB", LocationRecord("/lc/", "inlet.v2", "")},
        {"MACRO", LocationRecord("/macros/", "", "")},
    };
    for (const auto& [key, info] : stored) {
        ASSERT_EQ(StoreGlobalFile("SystemList", key, &info, 1), OSTREL_OK) << OstrelLastError();
    }
    EXPECT_EQ(FileValue(SettingsFile(), "MS_FUNC_DB"), "/home/lab/methods/*.ms");
    EXPECT_EQ(FileValue(SettingsFile(), "SAMPLES_DB"), "C:\\Lists\\run12.sdb");
    EXPECT_EQ(FileValue(SettingsFile(), "LC_DB"), "/lc/inlet.v2.");
    EXPECT_EQ(FileValue(SettingsFile(), "MACRO"), "/macros/");

    // Another process reads them from the file alone.
    EXPECT_EQ(dstest::RunProbe("get MS_FUNC_DB"), "0|/home/lab/methods/||ms");
    EXPECT_EQ(dstest::RunProbe("get SAMPLES_DB"), "0|C:\\Lists\\|run12|sdb");
    EXPECT_EQ(dstest::RunProbe("get LC_DB"), "0|/lc/|inlet.v2|");
    EXPECT_EQ(dstest::RunProbe("get MACRO"), "0|/macros/||");
    EXPECT_EQ(dstest::RunProbe("get NOT_THERE"), "0|||");
}

TEST_F(OstrelTest, StoreKeepsOtherKeysSectionsAndCommentsAndLeavesNoTemporaryFile) {
    std::filesystem::create_directory(m_scratch.Path() + "/lumenda");
    m_scratch.Write("lumenda/Lumenda.ini",
                    "; Lumenda global files\n"
                    "[SystemList]\n"
                    "MS_FUNC_DB=/methods/*.ms\n"
                    "SAMPLES_DB=/old/*.sdb\n"
                    "[Instrument]\n"
                    "Serial=QX-1\n");
    const GLOBAL_FILE_INFO info = LocationRecord("/new/", "", "sdb");
    ASSERT_EQ(StoreGlobalFile("SystemList", "SAMPLES_DB", &info, 1), OSTREL_OK);
    EXPECT_EQ(ReadFile(SettingsFile()),
              "; Lumenda global files\n"
              "[SystemList]\n"
              "MS_FUNC_DB=/methods/*.ms\n"
              "SAMPLES_DB=/new/*.sdb\n"
              "[Instrument]\n"
              "Serial=QX-1\n");
    EXPECT_EQ(Entries(m_scratch.Path() + "/lumenda"), std::vector<std::string>{"Lumenda.ini"});
}

TEST_F(OstrelTest, StoreIntoAHandEditedFileChangesOnlyItsLine) {
    std::filesystem::create_directory(m_scratch.Path() + "/lumenda");
    const std::string before =
        "[SystemList] ; edited by hand\r\nRemember this\r\nMACRO=/a/*.mac\r\n"
        "MACRO=/b/*.mac\r\n[SystemList]\r\nSAMPLES_DB=/old/*.sdb\r\n";
    m_scratch.Write("lumenda/Lumenda.ini", before);
    EXPECT_TRUE(SameInfo(Get("MACRO"), LocationRecord("/a/", "", "mac")));
    const GLOBAL_FILE_INFO info = LocationRecord("/new/", "", "sdb");
    ASSERT_EQ(StoreGlobalFile("SystemList", "SAMPLES_DB", &info, 1), OSTREL_OK);
    ASSERT_EQ(StoreGlobalFile("SystemList", "LC_DB", &info, 1), OSTREL_OK);
    std::string after = before;
    after.replace(after.find("/old/"), 5, "/new/");
    after.insert(after.find("[SystemList]\r\nSAMPLES"), "LC_DB=/new/*.sdb\r\n");
    EXPECT_EQ(ReadFile(SettingsFile()), after);
    EXPECT_STREQ(OstrelLastError(), "");
}

TEST_F(OstrelTest, LocationStoredByThisProcessWinsOverLaterStoresByOthers) {
    const GLOBAL_FILE_INFO mine = LocationRecord("/mine/", "run12", "sdb");
    ASSERT_EQ(StoreGlobalFile("SystemList", "SAMPLES_DB", &mine, 1), OSTREL_OK);
    // Another conversion stores its own location meanwhile.
    m_scratch.Write("lumenda/Lumenda.ini", "[SystemList]\nSAMPLES_DB=/theirs/run13.sdb\n");
    EXPECT_TRUE(SameInfo(Get("SAMPLES_DB"), mine));
    EXPECT_TRUE(SameInfo(Get("samples_db"), mine));
    // ... while a process that stored nothing reads the file.
    EXPECT_EQ(dstest::RunProbe("get SAMPLES_DB"), "0|/theirs/|run13|sdb");
}

TEST_F(OstrelTest, UseInProcessDoesNotWriteTheFile) {
    const GLOBAL_FILE_INFO info = LocationRecord("/read/here/", "", "sdb");
    ASSERT_EQ(UseGlobalFileInProcess("SystemList", "SAMPLES_DB", &info), OSTREL_OK);
    EXPECT_TRUE(SameInfo(Get("SAMPLES_DB"), info));
    EXPECT_FALSE(std::filesystem::exists(SettingsFile()));
}

TEST_F(OstrelTest, HandEditedValueTooLongForTheRecordIsUnconfigured) {
    std::filesystem::create_directory(m_scratch.Path() + "/lumenda");
    m_scratch.Write("lumenda/Lumenda.ini", "[SystemList]\nMS_FUNC_DB=/" + std::string(300, 'd') +
                                               "/*.ms\nLC_DB=/lc/*.lc\n");
    int32_t status = OSTREL_OK;
    const GLOBAL_FILE_INFO info = Get("MS_FUNC_DB", &status);
    EXPECT_EQ(status, OSTREL_E_READ);
    EXPECT_TRUE(SameInfo(info, LocationRecord("", "", "")));
    const std::string error = OstrelLastError();
    EXPECT_NE(error.find(SettingsFile()), std::string::npos) << error;
    EXPECT_NE(error.find("MS_FUNC_DB"), std::string::npos) << error;
    EXPECT_NE(error.find("directory is longer than 259"), std::string::npos) << error;
    EXPECT_TRUE(SameInfo(Get("LC_DB", &status), LocationRecord("/lc/", "", "lc")));
    EXPECT_EQ(status, OSTREL_OK);
}

TEST_F(OstrelTest, UnusableSettingsFileIsReportedAndLeftAsItIsByAStore) {
    std::filesystem::create_directory(m_scratch.Path() + "/lumenda");
    // A program, and too large to be a settings file.
    m_scratch.Write("lumenda/Lumenda.ini", std::string("\x7F"
                                                       "ELF\0\0binary",
                                                       12));
    std::filesystem::resize_file(SettingsFile(), CProfileFile::kMaxFileSize + 1);
    int32_t status = OSTREL_OK;
    EXPECT_TRUE(SameInfo(Get("SAMPLES_DB", &status), LocationRecord("", "", "")));
    EXPECT_EQ(status, OSTREL_E_READ);
    EXPECT_EQ(std::string(OstrelLastError()).rfind(SettingsFile() + ": ignored: ", 0), 0u)
        << OstrelLastError();
    EXPECT_EQ(EnumGlobalFiles(
                  "SystemList", [](void*, const char*, const GLOBAL_FILE_INFO*) {}, nullptr),
              OSTREL_E_READ);

    const GLOBAL_FILE_INFO info = LocationRecord("/new/", "", "sdb");
    ASSERT_EQ(StoreGlobalFile("SystemList", "SAMPLES_DB", &info, 1), OSTREL_E_READ);
    EXPECT_EQ(std::string(OstrelLastError()),
              SettingsFile() + " cannot be used: it is larger than 64 MiB");
    EXPECT_EQ(std::filesystem::file_size(SettingsFile()), CProfileFile::kMaxFileSize + 1);
    std::string first(12, ' ');
    std::ifstream(SettingsFile(), std::ios::binary).read(first.data(), 12);
    EXPECT_EQ(first, std::string("\x7F"
                                 "ELF\0\0binary",
                                 12));
    EXPECT_FALSE(std::filesystem::exists(SettingsFile() + ".bad"));
    EXPECT_TRUE(SameInfo(Get("SAMPLES_DB"), info));
}

TEST_F(OstrelTest, UnwritableSettingsStillChangeTheProcessLocation) {
    // A file in the place of the settings directory cannot be worked around.
    m_scratch.Write("lumenda", "not a directory");
    const GLOBAL_FILE_INFO info = LocationRecord("/lists/", "", "sdb");
    EXPECT_EQ(StoreGlobalFile("SystemList", "SAMPLES_DB", &info, 1), OSTREL_E_WRITE);
    EXPECT_NE(std::string(OstrelLastError()).find(SettingsFile()), std::string::npos)
        << OstrelLastError();
    EXPECT_TRUE(SameInfo(Get("SAMPLES_DB"), info));
    EXPECT_EQ(ReadFile(m_scratch.Path() + "/lumenda"), "not a directory");
}

TEST_F(OstrelTest, LocationsThatCannotBeWrittenAreRefusedButUsedInProcess) {
    const GLOBAL_FILE_INFO driveOnly = LocationRecord("C:", "run12", "sdb");
    EXPECT_EQ(StoreGlobalFile("SystemList", "SAMPLES_DB", &driveOnly, 1), OSTREL_E_INVALID);
    EXPECT_NE(std::string(OstrelLastError()).find("does not end with"), std::string::npos);
    EXPECT_TRUE(SameInfo(Get("SAMPLES_DB"), driveOnly));
    EXPECT_FALSE(std::filesystem::exists(SettingsFile()));

    // A text without its terminating zero leaves the process no location.
    GLOBAL_FILE_INFO overlong = LocationRecord("/lists/", "", "sdb");
    std::memset(overlong.szDirectory, 'd', sizeof overlong.szDirectory);
    EXPECT_EQ(StoreGlobalFile("SystemList", "SAMPLES_DB", &overlong, 1), OSTREL_E_INVALID);
    EXPECT_TRUE(SameInfo(Get("SAMPLES_DB"), LocationRecord("", "", "")));
    EXPECT_FALSE(std::filesystem::exists(SettingsFile()));

    EXPECT_EQ(StoreGlobalFile("SystemList", "SAMPLES_DB", nullptr, 1), OSTREL_E_INVALID);
    EXPECT_EQ(_MSGGetGlobalFile("SystemList", "SAMPLES_DB", 0, nullptr), OSTREL_E_INVALID);
    GLOBAL_FILE_INFO info;
    EXPECT_EQ(_MSGGetGlobalFile("SystemList", "SAMPLES_DB", 1, &info), OSTREL_E_INVALID);
    EXPECT_EQ(_MSGGetGlobalFile(nullptr, "SAMPLES_DB", 0, &info), OSTREL_E_INVALID);
}

TEST_F(OstrelTest, EnumeratesFileKeysInOrderWithThisProcessLocationsFirst) {
    std::filesystem::create_directory(m_scratch.Path() + "/lumenda");
    m_scratch.Write("lumenda/Lumenda.ini",
                    "[SystemList]\nMACRO=/mac/*.mac\nSAMPLES_DB=/file/*.sdb\nLC_DB=/lc/*.lc\n"
                    "[Other]\nX=/x/\n");
    const GLOBAL_FILE_INFO mine = LocationRecord("/mine/", "", "sdb");
    ASSERT_EQ(UseGlobalFileInProcess("SystemList", "SAMPLES_DB", &mine), OSTREL_OK);
    const GLOBAL_FILE_INFO extra = LocationRecord("/extra/", "", "");
    ASSERT_EQ(UseGlobalFileInProcess("SystemList", "EXTRA_DB", &extra), OSTREL_OK);

    std::vector<std::pair<std::string, std::string>> seen;
    const auto visit = [](void* context, const char* key, const GLOBAL_FILE_INFO* info) {
        static_cast<decltype(seen)*>(context)->emplace_back(key, info->szDirectory);
    };
    ASSERT_EQ(EnumGlobalFiles("SystemList", visit, &seen), OSTREL_OK);
    const decltype(seen) expected = {
        {"MACRO", "/mac/"}, {"SAMPLES_DB", "/mine/"}, {"LC_DB", "/lc/"}, {"EXTRA_DB", "/extra/"}};
    EXPECT_EQ(seen, expected);
}

TEST_F(OstrelTest, KeysWithAZeroByteAreNotEnumerated) {
    std::filesystem::create_directory(m_scratch.Path() + "/lumenda");
    m_scratch.Write("lumenda/Lumenda.ini", std::string("[SystemList]\n\0X=/x/\nMACRO=/m/\n", 30));
    std::vector<std::string> seen;
    const auto visit = [](void* context, const char* key, const GLOBAL_FILE_INFO*) {
        static_cast<std::vector<std::string>*>(context)->emplace_back(key);
    };
    ASSERT_EQ(EnumGlobalFiles("SystemList", visit, &seen), OSTREL_OK);
    EXPECT_EQ(seen, std::vector<std::string>{"MACRO"});
}

}  // namespace
