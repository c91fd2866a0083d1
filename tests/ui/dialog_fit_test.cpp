// The dialogs with the desktop's font, at the scale factor the test runs
// with (on Linux CTest runs it at 1 and at 2; on Windows a dialog also
// moves to a screen of twice the scale): every text fits its control,
// group titles lie on their frame line with the controls clear of them, no
// two controls overlap, captions have room in the title bar, and a push
// button's mnemonic gives it the focus. What a screen reader says of each
// control, and long paths elided in the middle.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/ui/probes_fields.h"
#include "tests/ui/probes_fit.h"
#include "tests/ui/scripted_user.h"
#include "tests/ui/ui_test_env.h"
#include "ui/AboutDlg.h"
#include "ui/ConvertDlg.h"
#include "ui/MethodFoldersDlg.h"
#include "ui/OptionsDlg.h"
#include "ui/PreviewWindow.h"

namespace {

// Checks everything that can be measured on the open dialog DLG, laid out
// for SCALE.
void CheckFit(CDialog& dlg, double scale) {
    const std::string caption = dlg.GetWindowText();
    SCOPED_TRACE(caption);
    EXPECT_EQ(ScaleOf(dlg), scale);
    const PixelRect client = ClientArea(dlg);
    EXPECT_GE(client.width, CaptionNeedsWidth(dlg)) << caption;

    const std::vector<ShownControl> controls = ShownControls(dlg);
    ASSERT_FALSE(controls.empty());
    for (const ShownControl& control : controls) {
        SCOPED_TRACE(control.what);
        EXPECT_TRUE(Contains(client, control.rect)) << control.what << " leaves the dialog";
        if (control.shape == Shape::kLabel || control.shape == Shape::kPathLabel) {
            EXPECT_LE(control.textWidth, control.textRoom.width)
                << '"' << control.text << "\" is cut";
            EXPECT_LE(control.lineHeight, control.textRoom.height)
                << '"' << control.text << "\" is cut below";
        }
        if (control.shape == Shape::kButton) {
            EXPECT_LT(control.textWidth, control.rect.width) << '"' << control.text << "\" is cut";
        }
        if (control.shape == Shape::kGroupBox) {
            const PixelRect& title = control.textRoom;
            ASSERT_TRUE(control.titleOnFrameLine) << control.text;
            EXPECT_LE(std::abs(title.y + (title.height - 1) / 2 - control.frameLineY), 1)
                << control.text << " is off its frame line";
            EXPECT_TRUE(Contains({0, 0, control.rect.width, control.rect.height}, title));
            EXPECT_LE(control.textWidth, title.width) << control.text << " is cut";
            // Whatever lies inside the box starts below its title line.
            const int titleBottom = control.rect.y + title.y + title.height - 1;
            for (const ShownControl& other : controls) {
                if (&other != &control && Contains(control.rect, other.rect)) {
                    EXPECT_GT(other.rect.y, titleBottom)
                        << other.what << " straddles the top of " << control.text;
                }
            }
            continue;
        }
        // No two controls overlap; group boxes hold them, so they are left out.
        for (const ShownControl& other : controls) {
            if (&other != &control && other.shape != Shape::kGroupBox) {
                EXPECT_FALSE(Intersects(control.rect, other.rect))
                    << control.what << " overlaps " << other.what;
            }
        }
    }
}

// Runs each of the dialogs once, checking their fit, after a move to a
// screen of PERCENT scale when PERCENT is not 0 and the twin can.
void CheckEveryDialogFits(int percent) {
    const auto check = [percent](CDialog& d) {
        const bool moved = percent != 0 && MoveToScreenScale(d, percent);
        CheckFit(d, moved ? percent / 100.0 : TestScale());
    };
    {
        CConvertDlg main;
        main.m_strInputFile = "[Not Specified]";
        main.m_strOutputFile = "[Not Specified]";
        RunModal<CConvertDlg>(main, check);
    }
    if (!testing::Test::HasFailure()) {
        COptionsDlg options;
        RunModal<COptionsDlg>(options, check);
    }
    if (!testing::Test::HasFailure()) {
        CAboutDlg about;
        RunModal<CAboutDlg>(about, check);
    }
    if (!testing::Test::HasFailure()) {
        CMethodFoldersDlg folders;
        RunModal<CMethodFoldersDlg>(folders, check);
    }
}

// Every control of DLG has an accessible name, and every one that takes the
// focus a description too; the dialog has a fixed size and no maximise
// button.
void CheckNamed(CDialog& dlg) {
    EXPECT_FALSE(HasMaximizeBox(dlg));
    EXPECT_TRUE(HasFixedSize(dlg));
    for (const ShownControl& control : ShownControls(dlg)) {
        const std::string where = dlg.GetWindowText() + ' ' + control.what;
        EXPECT_FALSE(control.accessibleName.empty()) << where;
        EXPECT_TRUE(!control.takesFocus || !control.accessibleDescription.empty()) << where;
    }
}

struct ScaleRow {
    const char* name;
    int percent;  // a move to a screen of this scale once shown; 0: none
};

struct FontRow {
    const char* name;
    const char* family;
    int points;
};

struct MnemonicRow {
    const char* name;
    char letter;
    int button;
    bool openFileDialog;
};

}  // namespace

TEST(DialogFit, TextsFit) {
    const ScaleRow rows[] = {
        {"desktop default", 0},
        {"moved to a screen at 200%", 200},
        // Text widths do not grow in step with the font's size: at this
        // scale some labels need more than the scaled layout gives them
        // (with the fonts under Wine), so they must be fitted again.
        {"moved to a screen at 250%", 250},
    };
    for (const ScaleRow& row : rows) {
        SCOPED_TRACE(row.name);
        UiTestEnv env;
        CheckEveryDialogFits(row.percent);
    }
}

TEST(DialogFit, TextsFitOtherDesktopFonts) {
    const FontRow rows[] = {
        {"DejaVu Sans 9", "DejaVu Sans", 9},
        {"DejaVu Sans 10", "DejaVu Sans", 10},
        {"DejaVu Sans 11", "DejaVu Sans", 11},
        {"DejaVu Sans 14", "DejaVu Sans", 14},
    };
    for (const FontRow& row : rows) {
        SCOPED_TRACE(row.name);
        UiTestEnv env;
        if (!UseDesktopFont(row.family, row.points)) {
            GTEST_SKIP() << "no desktop font reaches these dialogs: Windows gives them the shell's "
                            "dialog font at 8 points, sized by the screen's scale (TextsFit)";
        }
        CheckEveryDialogFits(0);
        UseDesktopFont(std::string(), 0);
    }
}

TEST(DialogFit, ButtonMnemonicMovesTheFocusBeforeClicking) {
    const MnemonicRow rows[] = {
        {"Alt+S", 'S', IDC_SELECT_INPUT, true},
        {"Alt+E", 'E', IDC_SELECT_OUTPUT, true},
        {"Alt+C", 'C', IDC_CONVERT, false},
    };
    for (const MnemonicRow& row : rows) {
        SCOPED_TRACE(row.name);
        UiTestEnv env;
        CConvertDlg dlg;
        dlg.m_strInputFile = env.Write("plate.txt", "");
        dlg.m_strOutputFile = env.Path("plate.sdb");
        CUiTestScript::CancelFileDialog();
        CUiTestScript::AnswerMessageBox(IDOK);
        RunModal<CConvertDlg>(dlg, [&](CConvertDlg& d) {
            d.GotoDlgCtrl(IDCANCEL);
            PressAlt(d, row.letter);
            EXPECT_EQ(d.GetFocusId(), row.button);
            // The click follows.
            if (row.openFileDialog) {
                EXPECT_EQ(CUiTestScript::FileDialogs().size(), std::size_t(1));
            } else {
                EXPECT_EQ(CUiTestScript::MessageBoxes().size(), std::size_t(1));
            }
            EXPECT_EQ(d.GetFocusId(), row.button);
        });
    }
}

TEST(DialogFit, EnterAfterChoosingAFileDoesNotClose) {
    UiTestEnv env;
    const std::string input = env.Write("plate7.txt", "");
    CConvertDlg dlg;
    dlg.m_strInputFile = "[Not Specified]";
    dlg.m_strOutputFile = "[Not Specified]";
    CUiTestScript::AcceptFileDialog(input);
    CUiTestScript::CancelFileDialog();
    bool closedByEnter = true;
    RunModal<CConvertDlg>(dlg, [&](CConvertDlg& d) {
        // A first start: Convert is disabled, so Close has the focus.
        EXPECT_FALSE(d.IsControlEnabled(IDC_CONVERT));
        d.GotoDlgCtrl(IDCANCEL);
        PressAlt(d, 'S');
        EXPECT_EQ(Shown(d, IDC_INPUT_FILE), input);
        Press(d, Key::kReturn);
        closedByEnter = !d.IsWindowVisible();
        // Enter pressed the focused Select... again, not Close.
        EXPECT_EQ(CUiTestScript::FileDialogs().size(), std::size_t(2));
    });
    EXPECT_FALSE(closedByEnter);
    EXPECT_EQ(dlg.m_strInputFile, input);
}

TEST(DialogFit, EveryControlIsNamedAndLongPathsElideInTheMiddle) {
    UiTestEnv env;
    const std::string path = env.Path("runs/" + std::string(80, 'r') + "/plate7_2026-12-01.txt");
    CConvertDlg main;
    main.m_strInputFile = path;
    main.m_strOutputFile = "[Not Specified]";
    RunModal<CConvertDlg>(main, [&](CConvertDlg& d) {
        CheckNamed(d);
        EXPECT_EQ(AccessibleName(d, IDC_SELECT_INPUT), "Select the Korrin input file");
        EXPECT_EQ(AccessibleName(d, IDC_SELECT_OUTPUT), "Select the Sample List output file");

        // The painting elides in the middle; the text and tooltip stay whole.
        const std::vector<ShownControl> controls = ShownControls(d);
        const auto painted = [&controls](int id) {
            for (const ShownControl& control : controls) {
                if (control.id == id) {
                    return control;
                }
            }
            return ShownControl();
        };
        const ShownControl input = painted(IDC_INPUT_FILE);
        EXPECT_EQ(input.shape, Shape::kPathLabel);
        EXPECT_EQ(d.GetDlgItemText(IDC_INPUT_FILE), path);
        EXPECT_EQ(ToolTipOf(d, IDC_INPUT_FILE), path);
        EXPECT_NE(input.text.find(PaintedEllipsis()), std::string::npos) << input.text;
        EXPECT_TRUE(input.text.ends_with(".txt")) << input.text;
        EXPECT_LE(input.textWidth, input.textRoom.width);
        EXPECT_EQ(painted(IDC_OUTPUT_FILE).text, "[Not Specified]");
        // No locations: each method field says so, whole, and to a screen reader.
        for (const int id : {IDC_MS_FILE, IDC_INLET_FILE, IDC_MACRO_FILE}) {
            SCOPED_TRACE(id);
            const CueShown cue = CueOf(d, id);
            EXPECT_FALSE(cue.text.empty());
            EXPECT_LE(cue.textWidth, cue.room) << cue.text << " is cut";
            EXPECT_EQ(AccessibleName(d, id, true), AccessibleName(d, id));
            const std::string said = AccessibleDescription(d, id);
            EXPECT_NE(said.find("folder is set"), std::string::npos) << said;
        }
        d.SendCommand(IDOK);  // takes the data from the controls
    });
    EXPECT_EQ(main.m_strInputFile, path);

    COptionsDlg options;
    RunModal<COptionsDlg>(options, [](COptionsDlg& d) { CheckNamed(d); });
    CAboutDlg about;
    RunModal<CAboutDlg>(about, [](CAboutDlg& d) { CheckNamed(d); });
    CMethodFoldersDlg folders;
    RunModal<CMethodFoldersDlg>(folders, [](CMethodFoldersDlg& d) {
        CheckNamed(d);
        EXPECT_EQ(AccessibleName(d, IDC_MS_BROWSE), "Browse for the MS method folder");
    });
}

TEST(DialogFit, PreviewFitsASmallScreenAndScales) {
    PreviewContent content;
    content.findings = {std::string(300, 'w')};
    const TableWindowContent table = PreviewWindow::Table(content);
    TableWindowShown shown;
    if (!ShowTableWindowOn(table, 800, 600, shown)) {
        GTEST_SKIP() << "this twin shows no table window to a test";
    }
    EXPECT_TRUE(shown.window.width < shown.screen.width &&
                shown.window.height < shown.screen.height);
    EXPECT_TRUE(Contains(shown.window, shown.close));
    // A large screen: the size it asks for.
    ASSERT_TRUE(ShowTableWindowOn(table, 4000, 3000, shown));
    EXPECT_EQ(shown.window.width, shown.sizeOfUnits.width);
    EXPECT_EQ(shown.window.height, shown.sizeOfUnits.height);
}
