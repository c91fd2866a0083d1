// Start-up and the remembered settings: what the application reads from
// Korr2LD.INI into the dialog and what it writes back when the dialog ends.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QStandardPaths>
#include <filesystem>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "app/ConvertApp.h"
#include "framework/ProfileFile.h"
#include "tests/app/app_runner.h"
#include "tests/ui/ui_test_env.h"
#include "ui/ConvertDlg.h"

namespace {

using testing::HasSubstr;
using testing::StartsWith;

namespace fs = std::filesystem;

std::string SettingsPath(const UiTestEnv& env) {
    return env.Path("config/Korr2LD.INI");
}

// Runs the application; BODY acts on its dialog, which is then closed with
// the Close button unless BODY ended it.
void RunApp(const std::function<void(CConvertDlg&)>& body) {
    CConvertApp app;
    EXPECT_EQ(RunConvertApp(app, body), FALSE);
}

// The file's lines other than blank ones (the profile writer spaces sections).
std::vector<std::string> TextLines(const std::string& path) {
    std::istringstream text(UiTestEnv::Read(path));
    std::vector<std::string> lines;
    for (std::string line; std::getline(text, line);) {
        if (!line.empty()) {
            lines.push_back(line);
        }
    }
    return lines;
}

}  // namespace

TEST(ConvertAppTest, SettingsLiveInTheDesktopConfigDirectory) {
    UiTestEnv env;
    CConvertApp app;
    EXPECT_TRUE(app.GetProfilePath().empty());  // no profile name before start-up
    app.m_pszProfileName = "Korr2LD.INI";
    EXPECT_EQ(app.GetProfilePath(), SettingsPath(env));
    // The directory the desktop's own rules name, as Qt reads them.
    EXPECT_EQ(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString(),
              env.Path("config"));
}

TEST(ConvertAppTest, FirstStartShowsDefaultsAndCloseWritesSixKeys) {
    UiTestEnv env;
    // The configuration directory does not exist yet either.
    ASSERT_GT(fs::remove_all(env.Path("config")), 0u);
    RunApp([](CConvertDlg& dlg) {
        EXPECT_EQ(Shown(dlg, IDC_INPUT_FILE), "[Not Specified]");
        EXPECT_EQ(Shown(dlg, IDC_OUTPUT_FILE), "[Not Specified]");
        EXPECT_EQ(Shown(dlg, IDC_MS_FILE), "");
        EXPECT_EQ(Shown(dlg, IDC_INLET_FILE), "");
        EXPECT_EQ(Shown(dlg, IDC_MACRO_FILE), "");
        EXPECT_EQ(Shown(dlg, IDC_DATA_FILE), "");
        EXPECT_FALSE(dlg.IsControlEnabled(IDC_CONVERT));
    });
    EXPECT_TRUE(CUiTestScript::MessageBoxes().empty());
    EXPECT_EQ(UiTestEnv::Read(SettingsPath(env)),
              "[Files]\n"
              "Input=[Not Specified]\n"
              "Output=[Not Specified]\n"
              "MS=\n"
              "Inlet=\n"
              "Macro=\n"
              "Data=\n");
}

TEST(ConvertAppTest, StoredValuesAreLoadedAndWrittenBackInPlace) {
    UiTestEnv env;
    const std::string input = env.Write("in.txt", "1\tS\t1\t1\tA1M1\tR1:1:1\tx\ty\n");
    env.Write("config/Korr2LD.INI",
              "; kept by Korr2LD\n"
              "[Window]\n"
              "Left=10\n"
              "[files]\n"
              "data=D1\n"
              "Input=" +
                  input +
                  "\n"
                  "Extra=keep me\n"
                  "MS=ESI\n");
    RunApp([&](CConvertDlg& dlg) {
        EXPECT_EQ(Shown(dlg, IDC_INPUT_FILE), input);
        EXPECT_EQ(Shown(dlg, IDC_OUTPUT_FILE), "[Not Specified]");
        EXPECT_EQ(Shown(dlg, IDC_MS_FILE), "ESI");
        EXPECT_EQ(Shown(dlg, IDC_DATA_FILE), "D1");
        EXPECT_TRUE(dlg.IsControlEnabled(IDC_CONVERT));
        dlg.m_strMacroFile = "MAC";  // as the Options dialog would
    });
    // Existing keys keep their place, new ones follow in the order written;
    // everything else stays.
    EXPECT_EQ(TextLines(SettingsPath(env)),
              std::vector<std::string>({"; kept by Korr2LD", "[Window]", "Left=10", "[files]",
                                        "data=D1", "Input=" + input, "Extra=keep me", "MS=ESI",
                                        "Output=[Not Specified]", "Inlet=", "Macro=MAC"}));
}

TEST(ConvertAppTest, TooLongValuesLoadUnchanged) {
    UiTestEnv env;
    env.Write("config/Korr2LD.INI",
              "[Files]\nMS=MS_TOO_LONG\nInlet=INLET_TOO_LONG\nMacro=MACRO_TOO_LONG\n"
              "Data=DATA_TOO_LONG\n");
    RunApp([](CConvertDlg& dlg) {
        EXPECT_EQ(Shown(dlg, IDC_MS_FILE), "MS_TOO_LONG");
        EXPECT_EQ(Shown(dlg, IDC_INLET_FILE), "INLET_TOO_LONG");
        EXPECT_EQ(Shown(dlg, IDC_MACRO_FILE), "MACRO_TOO_LONG");
        EXPECT_EQ(Shown(dlg, IDC_DATA_FILE), "DATA_TOO_LONG");
        EXPECT_TRUE(CUiTestScript::MessageBoxes().empty());
        // Refused only at the next exchange from the controls.
        Click(dlg, IDC_SELECT_INPUT);
        EXPECT_EQ(CUiTestScript::MessageBoxes().size(), 1u);
    });
    const std::string saved = UiTestEnv::Read(SettingsPath(env));
    EXPECT_THAT(saved, HasSubstr("\nMS=MS_TOO_LONG\n"));
    EXPECT_THAT(saved, HasSubstr("\nData=DATA_TOO_LONG\n"));
}

TEST(ConvertAppTest, EveryCancelWritesBackButNoResultWritesNothing) {
    UiTestEnv env;
    const struct {
        const char* name;
        void (*cancel)(CConvertDlg&);
    } ways[] = {
        {"Escape", [](CConvertDlg& dlg) { Press(dlg, Key::kEscape); }},
        {"close box", [](CConvertDlg& dlg) { ClickCloseBox(dlg); }},
        {"the OK command", [](CConvertDlg& dlg) { dlg.SendCommand(IDOK); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        fs::remove(SettingsPath(env));
        RunApp(way.cancel);
        EXPECT_TRUE(fs::exists(SettingsPath(env)));
    }
    // A dialog that ends with a result of 0 or less leaves the file alone.
    fs::remove(SettingsPath(env));
    RunApp([](CConvertDlg& dlg) { dlg.EndDialog(0); });
    RunApp([](CConvertDlg& dlg) { dlg.EndDialog(-1); });
    EXPECT_FALSE(fs::exists(SettingsPath(env)));
}

TEST(ConvertAppTest, TypedTextIsNotSavedButExchangedTextIs) {
    UiTestEnv env;
    env.Write("config/Korr2LD.INI", "[Files]\nMS=OLD\nInlet=OLDLC\n");
    CUiTestScript::CancelFileDialog();
    RunApp([](CConvertDlg& dlg) {
        // Into the field with the keyboard, which selects its text, then typing.
        dlg.GotoDlgCtrl(IDC_INLET_FILE);
        Type(dlg, "NEWLC");
        // Select input takes the fields (then the dialog is cancelled) ...
        Click(dlg, IDC_SELECT_INPUT);
        // ... text typed after it is not taken.
        dlg.GotoDlgCtrl(IDC_MS_FILE);
        Type(dlg, "NEW");
        EXPECT_EQ(Shown(dlg, IDC_MS_FILE), "NEW");
    });
    const std::string saved = UiTestEnv::Read(SettingsPath(env));
    EXPECT_THAT(saved, HasSubstr("\nMS=OLD\n"));
    EXPECT_THAT(saved, HasSubstr("\nInlet=NEWLC\n"));
}

TEST(ConvertAppTest, UnreadableSettingsAreReportedAndKeptAsBad) {
    UiTestEnv env;
    // Larger than a settings file can be (sparse, so it takes no disk).
    const std::string broken = "this is not\nan INI file at all\n[Files\n";
    const std::uintmax_t size = CProfileFile::kMaxFileSize + 1;
    std::error_code error;
    fs::resize_file(env.Write("config/Korr2LD.INI", broken), size, error);
    ASSERT_FALSE(error) << error.message();
    RunApp([](CConvertDlg& dlg) { EXPECT_EQ(Shown(dlg, IDC_INPUT_FILE), "[Not Specified]"); });
    ASSERT_EQ(CUiTestScript::MessageBoxes().size(), 1u);
    const MessageBoxRequest& told = CUiTestScript::MessageBoxes().front();
    EXPECT_THAT(told.text, HasSubstr(SettingsPath(env)));
    EXPECT_THAT(told.text, HasSubstr("ignored"));
    EXPECT_EQ(told.type & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_EQ(told.caption, "Korrin File Conversion");
    // The original is kept, and the new file holds the six values.
    const std::string kept = SettingsPath(env) + ".bad";
    EXPECT_EQ(fs::file_size(kept, error), size) << error.message();
    EXPECT_THAT(UiTestEnv::Read(kept), StartsWith(broken));
    EXPECT_THAT(UiTestEnv::Read(SettingsPath(env)), StartsWith("[Files]\nInput=[Not Specified]\n"));
}
