#include "util/PathName.h"

#include <string>

#include <gtest/gtest.h>

#include "support/scoped_env.h"
#include "support/scratch_dir.h"

namespace {

using k2ltest::ScopedCurrentDir;
using k2ltest::ScratchDir;

// ---- Examples of the dialog's file choices --------------------------------

TEST(PathNameTest, DirectoryAndFileNameOfAWindowsPath) {
    const CPathName path("C:\\Data\\run12.txt");
    EXPECT_EQ(path.GetDirectory(), "C:\\Data\\");
    EXPECT_EQ(path.GetFileName(), "run12.txt");
    EXPECT_EQ(path.GetPath(), "C:\\Data\\run12.txt");
}

TEST(PathNameTest, DirectoryAndFileNameOfAPosixPath) {
    const CPathName path("/home/lab/runs/plate7.txt");
    EXPECT_EQ(path.GetDirectory(), "/home/lab/runs/");
    EXPECT_EQ(path.GetFileName(), "plate7.txt");
}

TEST(PathNameTest, PathWithoutDirectoryHasAnEmptyDirectory) {
    const CPathName path("run12.txt");
    EXPECT_EQ(path.GetDirectory(), "");
    EXPECT_EQ(path.GetFileName(), "run12.txt");
}

TEST(PathNameTest, SetFileNameKeepsDirectoryAndExtension) {
    CPathName path("C:\\Lists\\old.sdb");
    EXPECT_EQ(path.SetFileName("run12"), "C:\\Lists\\run12.sdb");
    EXPECT_EQ(path.GetPath(), "C:\\Lists\\run12.sdb");

    CPathName posix("/home/lab/lists/old.sdb");
    EXPECT_EQ(posix.SetFileName("plate7"), "/home/lab/lists/plate7.sdb");
}

TEST(PathNameTest, SetExtensionAcceptsItWithOrWithoutTheDot) {
    CPathName path("C:\\Lists\\run12");
    EXPECT_EQ(path.SetExtension("sdb"), "C:\\Lists\\run12.sdb");
    EXPECT_EQ(path.GetPath(), "C:\\Lists\\run12.sdb");
    EXPECT_EQ(path.SetExtension(".txt"), "C:\\Lists\\run12.txt");
    EXPECT_EQ(path.SetExtension(""), "C:\\Lists\\run12");

    CPathName multi("/runs/A.B.txt");
    EXPECT_EQ(multi.SetExtension("sdb"), "/runs/A.B.sdb");
}

TEST(PathNameTest, PlaceholderBecomesANameInTheCurrentDirectory) {
    const ScratchDir temp;
    const ScopedCurrentDir inTemp(temp.Path());
    CPathName path("[Not Specified]");
    EXPECT_EQ(path.GetFileName(), "[Not Specified]");
    EXPECT_EQ(path.GetDirectory(), "");
    EXPECT_EQ(path.SetFileName("run12"), "run12");
    EXPECT_EQ(path.SetExtension("sdb"), "run12.sdb");
    EXPECT_EQ(path.GetFullPath(), k2ltest::NativePath(temp.Path() + "/run12.sdb"));
    EXPECT_EQ(path.GetPath(), k2ltest::NativePath(temp.Path() + "/run12.sdb"));
}

TEST(PathNameTest, OutputDerivedFromChosenInputKeepsItsDirectory) {
    CPathName output("D:\\Lists\\Old.sdb");
    output.SetFileName("Plate7");
    output.SetExtension("sdb");
    EXPECT_EQ(output.GetFullPath(), "D:\\Lists\\Plate7.sdb");

    CPathName posix("/home/lab/lists/Old.sdb");
    posix.SetFileName("Plate7");
    posix.SetExtension("sdb");
    EXPECT_EQ(posix.GetFullPath(), "/home/lab/lists/Plate7.sdb");
}

TEST(PathNameTest, GetFullPathResolvesRelativePaths) {
    const ScratchDir temp;
    const ScopedCurrentDir inTemp(temp.Path());
    CPathName path("sub/../lists/run12.sdb");
    EXPECT_EQ(path.GetFullPath(), k2ltest::NativePath(temp.Path() + "/lists/run12.sdb"));
    EXPECT_EQ(path.GetDirectory(), k2ltest::NativePath(temp.Path() + "/lists/"));
}

TEST(PathNameTest, GetFullPathFailureLeavesThePathUnchanged) {
    CPathName path("C:run12.sdb");
    EXPECT_EQ(path.GetFullPath(), "");
    EXPECT_EQ(path.GetPath(), "C:run12.sdb");
}

TEST(PathNameTest, CarriesItsRuntimeClassName) {
    EXPECT_STREQ(CPathName::kRuntimeClassName, "CPathName");
}

// ---- Bounds of the 260-byte buffer ----------------------------------------

TEST(PathNameBoundsTest, ConstructionTakes259CharactersAndRefuses260) {
    const std::string fits = "/" + std::string(253, 'd') + "/x.ab";  // 259 characters
    ASSERT_EQ(fits.size(), 259u);
    const CPathName kept(fits);
    EXPECT_EQ(kept.IsValid(), TRUE);
    EXPECT_EQ(kept.GetPath(), fits);
    EXPECT_EQ(kept.GetFileName(), "x.ab");

    const CPathName refused(fits + "c");
    EXPECT_EQ(refused.IsValid(), FALSE);
    EXPECT_EQ(refused.GetPath(), "");
    EXPECT_EQ(refused.GetDirectory(), "");
    EXPECT_EQ(refused.GetFileName(), "");

    const CPathName huge(std::string(100000, 'a'));
    EXPECT_EQ(huge.IsValid(), FALSE);
    EXPECT_EQ(huge.GetPath(), "");
}

TEST(PathNameBoundsTest, PathHoldingAZeroByteIsRefused) {
    const CPathName path(std::string("/runs/a\0b.txt", 13));
    EXPECT_EQ(path.IsValid(), FALSE);
    EXPECT_EQ(path.GetPath(), "");
}

TEST(PathNameBoundsTest, EmptyPathIsNotValidButUsable) {
    CPathName path("");
    EXPECT_EQ(path.IsValid(), FALSE);
    EXPECT_EQ(path.SetFileName("run12"), "run12");
    EXPECT_EQ(path.IsValid(), TRUE);
}

TEST(PathNameBoundsTest, SetFileNameThatWouldNotFitChangesNothing) {
    const std::string dir = "/" + std::string(240, 'd') + "/";  // 242 characters
    CPathName path(dir + "old.sdb");
    EXPECT_EQ(path.SetFileName(std::string(13, 'n')), dir + std::string(13, 'n') + ".sdb");

    CPathName full(dir + "old.sdb");
    EXPECT_EQ(full.SetFileName(std::string(14, 'n')), "");
    EXPECT_EQ(full.GetPath(), dir + "old.sdb");
    EXPECT_EQ(full.SetFileName(std::string(5000, 'n')), "");
    EXPECT_EQ(full.GetPath(), dir + "old.sdb");
}

TEST(PathNameBoundsTest, SetExtensionThatWouldNotFitChangesNothing) {
    const std::string stem = "/" + std::string(250, 'd') + "/r";  // 253 characters
    CPathName path(stem);
    EXPECT_EQ(path.SetExtension("abcde"), stem + ".abcde");  // 259
    EXPECT_EQ(path.SetExtension("abcdef"), "");              // 260
    EXPECT_EQ(path.GetPath(), stem + ".abcde");
}

TEST(PathNameBoundsTest, GetFullPathThatWouldNotFitChangesNothing) {
    const ScratchDir temp;
    const ScopedCurrentDir inTemp(temp.Path());
    const std::string relative(259 - temp.Path().size(), 'x');  // result of 260 characters
    CPathName path(relative);
    ASSERT_EQ(path.IsValid(), TRUE);
    EXPECT_EQ(path.GetFullPath(), "");
    EXPECT_EQ(path.GetPath(), relative);

    CPathName shorter(relative.substr(1));
    EXPECT_EQ(shorter.GetFullPath().size(), 259u);
}

}  // namespace
