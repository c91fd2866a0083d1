#include "framework/PathParts.h"

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/scoped_env.h"
#include "support/scratch_dir.h"

namespace {

using k2ltest::NativePath;
using k2ltest::ScopedCurrentDir;
using k2ltest::ScratchDir;

// ---- Splitting -------------------------------------------------------------

// A path and its parts: what SplitPath gives, or what MakePath is given.
struct PathCase {
    const char* path;
    PathParts parts;
};

TEST(SplitPathTest, GivesDriveDirectoryNameAndExtension) {
    const PathCase cases[] = {
        {"C:\\Data\\run12.txt", {"C:", "\\Data\\", "run12", ".txt"}},
        {"/home/lab/runs/plate7.txt", {"", "/home/lab/runs/", "plate7", ".txt"}},
        {"sub/dir\\run12.sdb", {"", "sub/dir\\", "run12", ".sdb"}},
        {"c:run12.txt", {"c:", "", "run12", ".txt"}},
        {"C:", {"C:", "", "", ""}},
        {"run12.txt", {"", "", "run12", ".txt"}},
        {"[Not Specified]", {"", "", "[Not Specified]", ""}},
        {"", {"", "", "", ""}},
        // A colon is a drive's only after a leading letter.
        {"1:run.txt", {"", "", "1:run", ".txt"}},
        {"/a:b/c.txt", {"", "/a:b/", "c", ".txt"}},
        // The extension begins at the last dot of the final component.
        {"A.B.ext", {"", "", "A.B", ".ext"}},
        {".ext", {"", "", "", ".ext"}},
        {"/home/lab/.profile", {"", "/home/lab/", "", ".profile"}},
        {"/home/lab.v2/run12", {"", "/home/lab.v2/", "run12", ""}},
        {"run12.", {"", "", "run12", "."}},
        // A trailing separator leaves no name.
        {"C:\\Data\\", {"C:", "\\Data\\", "", ""}},
        {"/", {"", "/", "", ""}},
    };
    for (const PathCase& c : cases) {
        const PathParts parts = SplitPath(c.path);
        EXPECT_EQ(parts.drive, c.parts.drive) << c.path;
        EXPECT_EQ(parts.directory, c.parts.directory) << c.path;
        EXPECT_EQ(parts.name, c.parts.name) << c.path;
        EXPECT_EQ(parts.extension, c.parts.extension) << c.path;
    }
}

TEST(SplitPathTest, PartsConcatenateToThePath) {
    for (const std::string path : {"C:\\Data\\run12.txt", "\\\\srv\\x.y.z", "a/b/", "C:.", ".."}) {
        const PathParts p = SplitPath(path);
        EXPECT_EQ(p.drive + p.directory + p.name + p.extension, path);
    }
}

TEST(SplitPathTest, LongPartsAreKeptWholeAndReported) {
    const std::string dir255 = "/" + std::string(253, 'd') + "/";
    const std::string dir256 = "/" + std::string(254, 'd') + "/";
    PathParts parts = SplitPath(dir255 + std::string(255, 'n') + "." + std::string(254, 'e'));
    EXPECT_EQ(parts.directory, dir255);
    EXPECT_EQ(parts.name.size(), 255u);
    EXPECT_EQ(parts.extension.size(), 255u);
    EXPECT_EQ(parts.WithinClassicLimits(), TRUE);

    parts = SplitPath(dir256 + "run12.txt");
    EXPECT_EQ(parts.directory, dir256);
    EXPECT_EQ(parts.WithinClassicLimits(), FALSE);

    parts = SplitPath(std::string(256, 'n'));
    EXPECT_EQ(parts.name.size(), 256u);
    EXPECT_EQ(parts.WithinClassicLimits(), FALSE);

    parts = SplitPath("x." + std::string(255, 'e'));
    EXPECT_EQ(parts.extension.size(), 256u);
    EXPECT_EQ(parts.WithinClassicLimits(), FALSE);
}

// ---- Composing -------------------------------------------------------------

TEST(MakePathTest, JoinsTheParts) {
    const PathCase cases[] = {
        // An extension's dot is added when not given (and not doubled when
        // given: RebuildsWhatSplitPathTookApart).
        {"C:\\Lists\\run12.sdb", {"C:", "\\Lists\\", "run12", "sdb"}},
        {"", {"", "", "", ""}},
        // A drive gives its letter and a colon.
        {"C:\\Data\\x.txt", {"C", "\\Data\\", "x", "txt"}},
        {"D:run12.sdb", {"D:", "", "run12", "sdb"}},
        // A separator is added in the directory's own style.
        {"C:\\Lists\\run12.sdb", {"C:", "\\Lists", "run12", "sdb"}},
        {"/home/lab/run12.sdb", {"", "/home/lab", "run12", "sdb"}},
        {"a\\b/c/run12", {"", "a\\b/c", "run12", ""}},
        {"a/b\\c\\run12", {"", "a/b\\c", "run12", ""}},
        {"C:Lists\\run12", {"C:", "Lists", "run12", ""}},
        {"sub/run12", {"", "sub", "run12", ""}},
    };
    for (const PathCase& c : cases) {
        const PathParts& p = c.parts;
        EXPECT_EQ(MakePath(p.drive, p.directory, p.name, p.extension), c.path);
    }
}

TEST(MakePathTest, RebuildsWhatSplitPathTookApart) {
    for (const std::string path : {"C:\\Data\\run12.txt", "/home/lab/runs/plate7.txt", "A.B.ext",
                                   "[Not Specified]", "C:\\Data\\", ".ext"}) {
        const PathParts p = SplitPath(path);
        EXPECT_EQ(MakePath(p.drive, p.directory, p.name, p.extension), path);
    }
}

TEST(MakePathTest, LongPartsAreNotCut) {
    const std::string name(400, 'n');
    EXPECT_EQ(MakePath("", "/d/", name, "sdb"), "/d/" + name + ".sdb");
}

// ---- Full path -------------------------------------------------------------

TEST(FullPathTest, RelativePathJoinsTheCurrentDirectory) {
    const ScratchDir temp;
    const ScopedCurrentDir inTemp(temp.Path());
    EXPECT_EQ(FullPath("run12.sdb", 260), NativePath(temp.Path() + "/run12.sdb"));
    EXPECT_EQ(FullPath("./sub\\run12.sdb", 260), NativePath(temp.Path() + "/sub/run12.sdb"));
    EXPECT_EQ(FullPath("", 260), temp.Path());
    EXPECT_EQ(FullPath("[Not Specified]", 260), NativePath(temp.Path() + "/[Not Specified]"));
}

TEST(FullPathTest, DotDotSegmentsAreResolvedLexically) {
    const ScratchDir temp;
    const ScopedCurrentDir inTemp(temp.Path());
    const std::string parent = temp.Path().substr(0, temp.Path().find_last_of(NativePath("/")));
    EXPECT_EQ(FullPath("../x.txt", 260), NativePath(parent + "/x.txt"));
    EXPECT_EQ(FullPath("missing/../x.txt", 260), NativePath(temp.Path() + "/x.txt"));
    EXPECT_EQ(FullPath("/home/lab/../other/./x.txt", 260), "/home/other/x.txt");
    EXPECT_EQ(FullPath("/../../x", 260), "/x");
    EXPECT_EQ(FullPath("/home/..", 260), "/");
}

TEST(FullPathTest, AnAbsolutePathIsResolved) {
    const struct {
        std::string path;
        const char* full;  // "": cannot be made absolute
    } cases[] = {
        // Absolute paths stay where they are.
        {"/home/lab/runs/plate7.txt", "/home/lab/runs/plate7.txt"},
        {"C:\\Data\\x", "C:\\Data\\x"},
        {"D:\\Lists\\Plate7.sdb", "D:\\Lists\\Plate7.sdb"},
        {"C:\\Data\\..\\Lists\\.\\x", "C:\\Lists\\x"},
        {"C:/Data\\x", "C:/Data/x"},
        {"C:\\", "C:\\"},
        // Separators collapse, and a trailing one is kept.
        {"/home//lab///runs/", "/home/lab/runs/"},
        {"C:\\Data\\\\", "C:\\Data\\"},
        // A drive without a separator cannot be resolved.
        {"C:run12.sdb", ""},
        {"C:", ""},
        {std::string("/home/a\0b", 9), ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FullPath(c.path, 260), c.full) << c.path;
    }
}

TEST(FullPathTest, ResultMustBeShorterThanTheLimit) {
    const ScratchDir temp;
    const ScopedCurrentDir inTemp(temp.Path());
    const std::size_t room = 259 - temp.Path().size() - 1;  // leaves a 259-character result
    ASSERT_GT(room, 10u);
    const std::string fits(room, 'x');
    EXPECT_EQ(FullPath(fits, 260), NativePath(temp.Path() + "/" + fits));
    EXPECT_EQ(FullPath(fits + "y", 260), "");
    EXPECT_EQ(FullPath(fits + "y", 261).size(), 260u);

    EXPECT_EQ(FullPath("/" + std::string(258, 'a'), 260).size(), 259u);
    EXPECT_EQ(FullPath("/" + std::string(259, 'a'), 260), "");
    // Only the resolved length counts, not the length written.
    EXPECT_EQ(FullPath("/" + std::string(300, 'a') + "/../b", 260), "/b");
    EXPECT_EQ(FullPath("/", 0), "");
}

TEST(FullPathTest, SlashOnlyKeepsBackslashesAndDrivesAsCharacters) {
    if (kNativeSeparators == PathSeparators::kBoth) {
        GTEST_SKIP() << "on Windows '\\' separates and drives are drives in its own paths too";
    }
    const ScratchDir temp;
    const ScopedCurrentDir inTemp(temp.Path());
    constexpr PathSeparators kSlash = PathSeparators::kSlashOnly;
    EXPECT_EQ(FullPath("a\\..\\b.txt", SIZE_MAX, kSlash), temp.Path() + "/a\\..\\b.txt");
    EXPECT_EQ(FullPath("C:x/../y\\", SIZE_MAX, kSlash), temp.Path() + "/y\\");
    EXPECT_EQ(FullPath("\\x", SIZE_MAX, kSlash), temp.Path() + "/\\x");
    EXPECT_EQ(FullPath("/r//s/./t/", SIZE_MAX, kSlash), "/r/s/t/");
}

}  // namespace

TEST(FolderOf, SplitsAtTheLastSlashKeepingTheRoot) {
    const struct {
        const char* path;
        const char* folder;
        const char* name;
    } cases[] = {
        {"/home/lab/settings.ini", "/home/lab", "settings.ini"},
        {"/settings.ini", "/", "settings.ini"},
        {"settings.ini", "", "settings.ini"},
        {"sub/", "sub", ""},
        {"C:\\Lists\\run.sdb", "", "C:\\Lists\\run.sdb"},
    };
    const bool windows = kNativeSeparators == PathSeparators::kBoth;
    for (const auto& c : cases) {
        const bool backslash = std::string_view(c.path).find('\\') != std::string_view::npos;
        // On Windows '\\' separates the program's own paths as well.
        EXPECT_EQ(FolderOf(c.path), windows && backslash ? "C:\\Lists" : c.folder) << c.path;
        EXPECT_EQ(FileNameOf(c.path), windows && backslash ? "run.sdb" : c.name) << c.path;
    }
}
