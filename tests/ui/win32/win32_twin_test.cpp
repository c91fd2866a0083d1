// What only the Windows dialog has, on the Win32 twin under Wine: the
// controls where the templates put them (in dialog units of the dialog's
// font), a drop of files from Explorer (WM_DROPFILES), and korr2ld.exe's
// resources (the manifest, the icon's sizes, the version).
#include "ui/platform/win32/WinApi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "support/scratch_dir.h"
#include "tests/ui/probes_drop.h"
#include "ui/ConvertDlg.h"
#include "ui/ResourceIds.h"
#include "ui/platform/CommonDialogs.h"
#include "ui/platform/win32/DialogWindow.h"
#include "ui/platform/win32/WideText.h"

namespace {

// Answers every message box with its default button and every file dialog
// with "cancelled", keeping what was asked.
class Answers : public ScriptedUser {
public:
    Answers() { s_pInstalled = this; }
    ~Answers() override { s_pInstalled = nullptr; }
    int Answer(const MessageBoxRequest& request) override {
        boxes.push_back(request.text);
        return DefaultAnswer(request.type);
    }
    std::string Answer(const FileDialogRequest& /*request*/) override { return std::string(); }
    std::vector<std::string> boxes;
};

// Runs the main dialog with BODY acting on it once shown.
void RunMain(CConvertDlg& dlg, const std::function<void(CConvertDlg&)>& body) {
    CDialog::SetModalHook(CConvertDlg::IDD,
                          [&body](CDialog& shown) { body(static_cast<CConvertDlg&>(shown)); });
    dlg.DoModal();
    CDialog::ClearModalHooks();
}

TEST(Win32Twin, ControlsLieWhereTheTemplateSaysInDialogUnits) {
    const Answers user;
    CConvertDlg dlg;
    RunMain(dlg, [](CConvertDlg& shown) {
        const HWND hDialog = shown.Window().Handle();
        for (const DialogControl& control : FindDialogTemplate(CConvertDlg::IDD)->controls) {
            if (control.id == IDC_STATIC || control.kind == ControlKind::StaticText ||
                control.kind == ControlKind::ComboBox) {
                continue;  // labels widen to the font; a combo's height holds its list
            }
            SCOPED_TRACE(control.id);
            // The position and the size, each in dialog units, as the
            // dialog manager maps them.
            RECT expected{control.x, control.y, control.cx, control.cy};
            MapDialogRect(hDialog, &expected);
            RECT actual;
            GetWindowRect(shown.Window().GetDlgItem(control.id), &actual);
            MapWindowPoints(nullptr, hDialog, reinterpret_cast<POINT*>(&actual), 2);
            EXPECT_EQ(actual.left, expected.left);
            EXPECT_EQ(actual.top, expected.top);
            EXPECT_EQ(actual.right - actual.left, expected.right);
            EXPECT_EQ(actual.bottom - actual.top, expected.bottom);
        }
    });
}

TEST(Win32Twin, OneDroppedExportIsChosenAsTheInputOthersAreNot) {
    const Answers user;
    const k2ltest::ScratchDir dir;
    const std::string exportPath = k2ltest::NativePath(dir.Write("Plate7.txt", "1\tA\n"));
    struct Row {
        std::vector<std::string> dropped;
        bool taken;
    };
    for (const Row& row : {Row{{exportPath}, true}, Row{{exportPath, exportPath}, false},
                           Row{{dir.Path()}, false}}) {
        CConvertDlg dlg;
        dlg.m_strInputFile = dlg.m_strOutputFile = "[Not Specified]";
        RunMain(dlg, [&row](CConvertDlg& shown) {
            EXPECT_EQ(DropFiles(shown, row.dropped),
                      row.taken ? DropAnswer::kTaken : DropAnswer::kRefused);
            shown.EndDialog(IDCANCEL);
        });
        EXPECT_EQ(dlg.m_strInputFile == exportPath, row.taken) << row.dropped.size();
        EXPECT_EQ(dlg.m_strDataFile == "Plate7", row.taken);
    }
}

TEST(Win32Twin, TooLongNameIsRefusedWithTheMessageOfEveryDesktop) {
    Answers user;
    CConvertDlg dlg;
    dlg.m_strDataFile = "NINECHARS";
    RunMain(dlg, [](CConvertDlg& shown) {
        shown.SendCommand(IDC_CONVERT);
        EXPECT_EQ(shown.GetFocusId(), IDC_DATA_FILE);
        shown.EndDialog(IDCANCEL);
    });
    ASSERT_EQ(user.boxes.size(), 1u);
    EXPECT_EQ(user.boxes[0], "Please enter no more than 8 characters in the Data File field.");
}

// korr2ld.exe's resources, read from the built program.
TEST(Win32Twin, ProgramCarriesManifestIconSizesAndVersion) {
    const std::wstring program = Widen(K2L_BIN_DIR "/korr2ld.exe");
    const HMODULE module = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    const auto resource = [module](LPCWSTR name, LPCWSTR type) {
        const HRSRC found = FindResourceW(module, name, type);
        return found == nullptr
                   ? std::string()
                   : std::string(
                         static_cast<const char*>(LockResource(LoadResource(module, found))),
                         SizeofResource(module, found));
    };
    const std::string manifest = resource(MAKEINTRESOURCEW(1), RT_MANIFEST);
    for (const char* said :
         {"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0", "PerMonitorV2", "asInvoker"}) {
        EXPECT_NE(manifest.find(said), std::string::npos) << said;
    }
    // The icon group: a header of three words, then 14 bytes per image,
    // its width first (0 for 256).
    const std::string group = resource(MAKEINTRESOURCEW(IDR_MAINFRAME), RT_GROUP_ICON);
    ASSERT_GE(group.size(), 6u);
    std::vector<int> widths;
    for (std::size_t at = 6; at + 14 <= group.size(); at += 14) {
        const int width = static_cast<unsigned char>(group[at]);
        widths.push_back(width == 0 ? 256 : width);
    }
    for (const int size : {16, 20, 24, 32, 40, 48, 64, 256}) {
        EXPECT_NE(std::find(widths.begin(), widths.end(), size), widths.end()) << size;
    }
    const std::string version = resource(MAKEINTRESOURCEW(VS_VERSION_INFO), RT_VERSION);
    const std::wstring wide(reinterpret_cast<const wchar_t*>(version.data()), version.size() / 2);
    EXPECT_NE(wide.find(Widen(K2L_VERSION)), std::wstring::npos);
    FreeLibrary(module);
}

}  // namespace
