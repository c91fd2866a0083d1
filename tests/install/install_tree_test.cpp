// What `cmake --install` puts in place, checked in a staging folder: the two
// programs, the desktop entries and the icon they name at every size, the
// AppStream file, manual pages that tell every option the programs' own
// --help tells, the documentation with the licence and the documents the
// help names, and the bash completion; and nothing else.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cctype>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "datasystem/LocationFields.h"
#include "support/child_process.h"
#include "support/scratch_dir.h"

namespace fs = std::filesystem;

namespace {

const std::string kAppId = K2L_APP_ID;

using k2ltest::ReadFile;

// Standard output of PROGRAM run with ARGS.
std::string Output(const std::string& program, const std::vector<std::string>& args) {
    return k2ltest::RunProgram(k2ltest::Command{.program = program, .args = args}).out;
}

// A PNG's width and height from its header, or {0, 0}.
std::pair<unsigned, unsigned> PngSize(const fs::path& path) {
    const std::string data = ReadFile(path);
    if (data.size() < 24 || data.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0 ||
        data.compare(12, 4, "IHDR") != 0) {
        return {0, 0};
    }
    auto be32 = [&](std::size_t at) {
        return (static_cast<unsigned>(static_cast<unsigned char>(data[at])) << 24) |
               (static_cast<unsigned>(static_cast<unsigned char>(data[at + 1])) << 16) |
               (static_cast<unsigned>(static_cast<unsigned char>(data[at + 2])) << 8) |
               static_cast<unsigned>(static_cast<unsigned char>(data[at + 3]));
    };
    return {be32(16), be32(20)};
}

// The keys of a desktop entry's [Desktop Entry] group.
std::map<std::string, std::string> DesktopEntry(const fs::path& path) {
    std::map<std::string, std::string> keys;
    std::istringstream in(ReadFile(path));
    std::string line;
    bool inGroup = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.front() == '[') {
            inGroup = line == "[Desktop Entry]";
        } else if (inGroup && line.find('=') != std::string::npos) {
            keys[line.substr(0, line.find('='))] = line.substr(line.find('=') + 1);
        }
    }
    return keys;
}

// The long options ("--name") that TEXT mentions.
std::set<std::string> LongOptions(const std::string& text) {
    std::set<std::string> options;
    for (std::size_t at = text.find("--"); at != std::string::npos; at = text.find("--", at + 2)) {
        std::size_t end = at + 2;
        while (end < text.size() &&
               (std::isalnum(static_cast<unsigned char>(text[end])) != 0 || text[end] == '-')) {
            ++end;
        }
        if (end > at + 2) {
            options.insert(text.substr(at, end - at));
        }
    }
    return options;
}

// The subcommands listed under "Subcommands:" in HELP.
std::vector<std::string> Subcommands(const std::string& help) {
    std::vector<std::string> names;
    const std::size_t list = help.find("Subcommands:\n");
    if (list == std::string::npos) {
        return names;
    }
    std::istringstream in(help.substr(list + 13));
    std::string line;
    while (std::getline(in, line) && line.rfind("  ", 0) == 0) {
        std::istringstream words(line);
        std::string name;
        words >> name;
        names.push_back(name);
    }
    return names;
}

// The --help of PROGRAM WORDS and of all its subcommands, nested ones too.
std::string AllHelp(const std::string& program, const std::vector<std::string>& words = {}) {
    std::vector<std::string> args = words;
    args.push_back("--help");
    std::string help = Output(program, args);
    for (const std::string& name : Subcommands(help)) {
        args.back() = name;
        help += AllHelp(program, args);
    }
    return help;
}

class InstallTreeTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        stage_ = new k2ltest::ScratchDir("k2l-install");
        installed_ = k2ltest::RunProgram(k2ltest::Command{.program = K2L_CMAKE_COMMAND,
                                                          .args = {"--install", K2L_BUILD_DIR,
                                                                   "--prefix", stage_->Path()}})
                         .exitCode == 0;
    }
    static void TearDownTestSuite() {
        delete stage_;
        stage_ = nullptr;
    }

    static fs::path In(const std::string& relative) { return stage_->Path(relative); }

    static k2ltest::ScratchDir* stage_;
    static bool installed_;
};

k2ltest::ScratchDir* InstallTreeTest::stage_ = nullptr;
bool InstallTreeTest::installed_ = false;

TEST_F(InstallTreeTest, ProgramsAreInBinAndRun) {
    ASSERT_TRUE(installed_);
    for (const char* program : {"korr2ld", "korr2ld-cli"}) {
        const fs::path path = In(std::string("bin/") + program);
        struct stat info {};
        ASSERT_EQ(::stat(path.c_str(), &info), 0) << path;
        EXPECT_NE(info.st_mode & S_IXOTH, 0u) << path;
        EXPECT_EQ(Output(path.string(), {"--version"}),
                  std::string(program) + " " + K2L_VERSION + "\n");
    }
}

TEST_F(InstallTreeTest, DesktopEntriesStartTheDialogAndOfferItForTextFiles) {
    ASSERT_TRUE(installed_);
    const auto entry = DesktopEntry(In("share/applications/" + kAppId + ".desktop"));
    ASSERT_FALSE(entry.empty());
    EXPECT_EQ(entry.at("Type"), "Application");
    EXPECT_EQ(entry.at("Exec"), "korr2ld %f");
    EXPECT_EQ(entry.at("Icon"), kAppId);
    EXPECT_NE(entry.at("Categories").find("Science;"), std::string::npos);
    for (const char* key : {"Name", "GenericName", "Comment"}) {
        EXPECT_FALSE(entry.count(key) == 0 || entry.at(key).empty()) << key;
    }
    // The menu's entry names no type, so it is never a type's default.
    EXPECT_EQ(entry.count("MimeType"), 0u);

    // "Open With" offers the dialog for text files (exports are .txt; a .tsv
    // is a kind of text/plain) from an entry hidden from the menus, named to
    // come after the editors' entries, of which the first is the default.
    const std::string openWith = "zz-korr2ld-open-with.desktop";
    const auto offer = DesktopEntry(In("share/applications/" + openWith));
    ASSERT_FALSE(offer.empty());
    EXPECT_EQ(offer.at("MimeType"), "text/plain;");
    EXPECT_EQ(offer.at("NoDisplay"), "true");
    for (const char* key : {"Type", "Exec", "Icon", "Name"}) {
        EXPECT_EQ(offer.at(key), entry.at(key)) << key;
    }
    for (const char* editor :
         {"emacs.desktop", "org.gnome.TextEditor.desktop", "org.kde.kate.desktop",
          "org.xfce.mousepad.desktop", "pluma.desktop", "vim.desktop", "xed.desktop"}) {
        EXPECT_GT(openWith, editor);
    }
}

TEST_F(InstallTreeTest, IconIsInTheThemeAtEverySize) {
    ASSERT_TRUE(installed_);
    const fs::path theme = In("share/icons/hicolor");
    const std::string svg = ReadFile(theme / "scalable/apps" / (kAppId + ".svg"));
    EXPECT_NE(svg.find("<svg"), std::string::npos);
    std::istringstream sizes(K2L_ICON_SIZES);
    std::set<std::string> expected{"scalable"};
    for (std::string size; std::getline(sizes, size, ',');) {
        const unsigned n = static_cast<unsigned>(std::stoul(size));
        const std::string folder = size + "x" + size;
        expected.insert(folder);
        EXPECT_EQ(PngSize(theme / folder / "apps" / (kAppId + ".png")), std::make_pair(n, n))
            << folder;
    }
    std::set<std::string> found;
    for (const auto& folder : fs::directory_iterator(theme)) {
        found.insert(folder.path().filename().string());
    }
    EXPECT_EQ(found, expected);
}

TEST_F(InstallTreeTest, MetainfoDescribesTheDesktopEntryAndThisRelease) {
    ASSERT_TRUE(installed_);
    const std::string xml = ReadFile(In("share/metainfo/" + kAppId + ".metainfo.xml"));
    ASSERT_FALSE(xml.empty());
    EXPECT_NE(xml.find("<id>" + kAppId + "</id>"), std::string::npos);
    EXPECT_NE(xml.find("<launchable type=\"desktop-id\">" + kAppId + ".desktop</launchable>"),
              std::string::npos);
    EXPECT_TRUE(fs::exists(In("share/applications/" + kAppId + ".desktop")));
    EXPECT_NE(xml.find("<release version=\"" K2L_VERSION "\""), std::string::npos);
    EXPECT_NE(xml.find("<screenshot type=\"default\">"), std::string::npos);
    EXPECT_NE(xml.find("<content_rating"), std::string::npos);
    EXPECT_NE(xml.find("<project_license>Apache-2.0</project_license>"), std::string::npos);
    EXPECT_NE(xml.find("<metadata_license>CC0-1.0</metadata_license>"), std::string::npos);
}

TEST_F(InstallTreeTest, ManualPagesTellEveryOptionAndTheirFilesAndExitStatus) {
    ASSERT_TRUE(installed_);
    for (const char* program : {"korr2ld", "korr2ld-cli"}) {
        const fs::path page = In(std::string("share/man/man1/") + program + ".1.gz");
        ASSERT_TRUE(fs::exists(page)) << page;
        std::string man = Output("gzip", {"-dc", page.string()});
        std::string title = program;
        for (char& c : title) {
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
        EXPECT_NE(man.find(".TH " + title + " \"1\""), std::string::npos) << program;
        for (const char* section :
             {".SH FILES", ".SH ENVIRONMENT", ".SH \"EXIT STATUS\"", ".SH \"SEE ALSO\""}) {
            EXPECT_NE(man.find(section), std::string::npos) << program << " " << section;
        }
        // troff writes "-" as "\-".
        for (std::size_t at = man.find("\\-"); at != std::string::npos; at = man.find("\\-", at)) {
            man.erase(at, 1);
        }
        const std::string help = Output(In(std::string("bin/") + program).string(), {"--help"});
        const std::set<std::string> options = LongOptions(help);
        ASSERT_FALSE(options.empty()) << program;
        for (const std::string& option : options) {
            EXPECT_NE(man.find(option), std::string::npos) << program << " " << option;
        }
    }
}

TEST_F(InstallTreeTest, DocumentationWithTheLicenceAndEveryDocumentTheHelpNames) {
    ASSERT_TRUE(installed_);
    const fs::path doc = In("share/doc/korr2ld");
    for (const char* file : {"README.md", "copyright", "changelog.gz", "docs/screenshot.png",
                             "examples/exports/plate7.txt", "examples/exports/plate8.txt",
                             "examples/exports/plate9.txt"}) {
        EXPECT_TRUE(fs::is_regular_file(doc / file)) << file;
    }
    EXPECT_GT(PngSize(doc / "docs/screenshot.png").first, 0u);
    const std::string copyright = ReadFile(doc / "copyright");
    EXPECT_EQ(copyright.rfind("Format: https://www.debian.org/doc/packaging-manuals/"
                              "copyright-format/1.0/\n",
                              0),
              0u);
    EXPECT_NE(copyright.find("\nLicense: Apache-2.0\n"), std::string::npos);
    EXPECT_NE(copyright.find("/usr/share/common-licenses/Apache-2.0"), std::string::npos);

    const std::string help = AllHelp(In("bin/korr2ld-cli").string());
    std::size_t named = 0;
    for (std::size_t at = help.find("docs/"); at != std::string::npos;
         at = help.find("docs/", at + 1)) {
        const std::string document = help.substr(at, help.find(".md", at) + 3 - at);
        EXPECT_TRUE(fs::is_regular_file(doc / document)) << document;
        ++named;
    }
    EXPECT_GT(named, 0u);
}

TEST_F(InstallTreeTest, BashCompletesEveryCommandOptionAndLocationKey) {
    ASSERT_TRUE(installed_);
    const fs::path script = In("share/bash-completion/completions/korr2ld-cli");
    const k2ltest::ChildResult loaded = k2ltest::RunProgram(k2ltest::Command{
        .program = "bash",
        .args = {"--norc", "-c", "source \"$0\" && complete -p korr2ld-cli", script.string()}});
    EXPECT_EQ(loaded.exitCode, 0) << loaded.err;
    EXPECT_EQ(loaded.err, "");
    EXPECT_EQ(loaded.out, "complete -F _korr2ld_cli korr2ld-cli\n");

    const std::string completion = ReadFile(script);
    const std::string help = AllHelp(In("bin/korr2ld-cli").string());
    std::set<std::string> words = LongOptions(help);
    for (const std::string& command : Subcommands(help)) {
        words.insert(command);
        for (const std::string& nested :
             Subcommands(Output(In("bin/korr2ld-cli").string(), {command, "--help"}))) {
            words.insert(nested);
        }
    }
    for (const char* key : {kSampleListKey, kMSMethodKey, kInletMethodKey, kMacroKey}) {
        words.insert(key);
    }
    for (const std::string& word : words) {
        EXPECT_NE(completion.find(word), std::string::npos) << word;
    }
}

TEST_F(InstallTreeTest, NothingElse) {
    ASSERT_TRUE(installed_);
    const std::set<std::string> places = {
        "bin",           "share/applications", "share/bash-completion/completions",
        "share/doc",     "share/icons",        "share/man",
        "share/metainfo"};
    for (const auto& entry : fs::recursive_directory_iterator(stage_->Path())) {
        if (!entry.is_regular_file()) {
            continue;
        }
        const std::string relative = fs::relative(entry.path(), stage_->Path()).string();
        bool known = false;
        for (const std::string& place : places) {
            known = known || relative.rfind(place + "/", 0) == 0;
        }
        EXPECT_TRUE(known) << relative;
    }
}

}  // namespace
