// The dialog layer beneath the dialogs, the same on either twin: the file
// status query and the script that answers message boxes and file dialogs.
// What only the Qt twin has (its dialog units, combo box fields and text
// crossing) is in qt/qt_twin_test.cpp.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/ui/ui_test_env.h"
#include "ui/platform/CommonDialogs.h"

TEST(Platform, FileEntryExistsForAnyKindOfEntry) {
    UiTestEnv env;
    const std::string file = env.Write("f.txt", "x");
    EXPECT_TRUE(FileEntryExists(file));
    EXPECT_TRUE(FileEntryExists(env.Path("work")));
    EXPECT_FALSE(FileEntryExists(env.Path("gone")));
    EXPECT_FALSE(FileEntryExists(""));
    EXPECT_FALSE(FileEntryExists("[Not Specified]"));
    EXPECT_FALSE(FileEntryExists(std::string("f.txt\0x", 7)));
    std::error_code made;
    std::filesystem::create_symlink(env.Path("gone"), env.Path("dangling"), made);
    if (made == std::errc::function_not_supported) {
        GTEST_SKIP() << "no symbolic links here (Wine makes none): the dangling one is not tried";
    }
    ASSERT_FALSE(made) << made.message();
    EXPECT_TRUE(FileEntryExists(env.Path("dangling")));
}

TEST(Platform, UnansweredBoxesTakeTheirDefaultAndDialogsCancel) {
    UiTestEnv env;
    EXPECT_EQ(AfxMessageBox("q", "q", MB_YESNO | MB_DEFBUTTON2), IDNO);
    EXPECT_EQ(AfxMessageBox("q", "q", MB_YESNO | MB_ICONQUESTION), IDYES);
    CUiTestScript::AnswerMessageBox(IDNO);
    EXPECT_EQ(AfxMessageBox("q", "q", MB_YESNO), IDNO);
    ASSERT_EQ(CUiTestScript::MessageBoxes().size(), std::size_t(3));
    EXPECT_EQ(CUiTestScript::MessageBoxes()[1].type, MB_YESNO | MB_ICONQUESTION);

    const FileDialogRequest request;
    EXPECT_EQ(RunFileDialog(request), std::string());
    // The chosen file comes back as a full path.
    CUiTestScript::AcceptFileDialog(env.Path("dir/archive.tar.gz"));
    CUiTestScript::AcceptFileDialog("here.txt");
    const std::string chosen = RunFileDialog(request);
    EXPECT_EQ(chosen, env.Path("dir/archive.tar.gz"));
    EXPECT_EQ(RunFileDialog(request), env.Path("work/here.txt"));
    EXPECT_EQ(CUiTestScript::FileDialogs().size(), std::size_t(3));
}
