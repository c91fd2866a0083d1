// The main dialog as a user meets it: start-up state, the file choices,
// the method lists, the data exchange and its validation, the Convert
// button, conversions and their messages, the About and Options dialogs.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "framework/SystemError.h"
#include "tests/ui/probes_edit.h"
#include "tests/ui/probes_fit.h"
#include "tests/ui/probes_layout.h"
#include "tests/ui/probes_menus.h"
#include "tests/ui/probes_table.h"
#include "tests/ui/ui_test_env.h"
#include "ui/ConvertDlg.h"
#include "ui/OptionsDlg.h"

namespace {

using testing::HasSubstr;
using testing::Not;
using testing::StartsWith;

namespace fs = std::filesystem;

constexpr const char* kCaption = "Korrin File Conversion";
// The validation message for a value longer than 8 characters in FIELD.
std::string TooLong(const std::string& field) {
    return "Please enter no more than 8 characters in the " + field + " field.";
}

std::vector<std::string> Entries(CDialog& dlg, int id) {
    std::vector<std::string> entries;
    for (int i = 0; i < dlg.GetComboCount(id); ++i) {
        entries.push_back(dlg.GetComboEntry(id, i));
    }
    return entries;
}

bool ConvertEnabled(CConvertDlg& dlg) {
    return dlg.IsControlEnabled(IDC_CONVERT) != FALSE;
}

// The values of a first start, before any settings were saved; or the
// files INPUT and OUTPUT, where given.
void SetDefaults(CConvertDlg& dlg, const std::string& input = std::string(),
                 const std::string& output = std::string()) {
    dlg.m_strInputFile = input.empty() ? "[Not Specified]" : input;
    dlg.m_strOutputFile = output.empty() ? "[Not Specified]" : output;
}

// An input file that exists, so that Convert is enabled.
void SetExistingInput(CConvertDlg& dlg, const UiTestEnv& env) {
    dlg.m_strInputFile = env.Write("existing.txt", "Pos\tName\n");
}

// Replaces the text of field ID as a user does: into the field with the
// keyboard, which selects all of it, then typing.
void Retype(CDialog& dlg, int id, const std::string& text) {
    dlg.GotoDlgCtrl(id);
    Type(dlg, text);
}

// Types TEXT at the end of field ID's text, clicked into.
void TypeInto(CDialog& dlg, int id, const std::string& text) {
    ClickInto(dlg, id);
    Type(dlg, text);
}

bool Exists(const std::string& path) {
    return fs::exists(fs::path(path));
}

const std::string kExport =
    "Pos\tSample\tVolume\tTime\tWell\tFractions\tRack\tComment\n"
    "1\tBSA_1\t1.5\t2\tA1M2.5\tR1:3:5\tRack1\tdigest\n"
    "2\tBSA_2\t1.5\t2.25\tA2M2.5\tR1:1:2\tRack1\tdigest\n";

TEST(ConvertDlg, FirstStartShowsDefaultsWithConvertDisabled) {
    UiTestEnv env;
    CConvertDlg dlg;
    SetDefaults(dlg);
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) {
        EXPECT_EQ(d.GetWindowText(), kCaption);
        EXPECT_EQ(Shown(d, IDC_INPUT_FILE), "[Not Specified]");
        EXPECT_EQ(Shown(d, IDC_OUTPUT_FILE), "[Not Specified]");
        EXPECT_EQ(Shown(d, IDC_MS_FILE), "");
        EXPECT_EQ(Shown(d, IDC_INLET_FILE), "");
        EXPECT_EQ(Shown(d, IDC_MACRO_FILE), "");
        EXPECT_EQ(Shown(d, IDC_DATA_FILE), "");
        EXPECT_FALSE(ConvertEnabled(d));
        // Convert is the default button whenever no other button has the focus.
        ClickInto(d, IDC_DATA_FILE);
        EXPECT_TRUE(IsDefaultButton(d, IDC_CONVERT));
        EXPECT_TRUE(HasWindowIcon(d));
        EXPECT_TRUE(d.OnQueryDragIcon() != nullptr);
    });
    EXPECT_TRUE(CUiTestScript::MessageBoxes().empty());
}

TEST(ConvertDlg, LayoutFollowsTheTemplateInDialogUnits) {
    // The desktop's font, then others where the twin lets the desktop's
    // font reach the dialogs (not on Windows): the units follow the font.
    const struct {
        const char* family;
        int points;
    } fonts[] = {{"", 0}, {"DejaVu Sans", 9}, {"DejaVu Sans", 14}};
    std::vector<int> widths;
    for (const auto& font : fonts) {
        SCOPED_TRACE(font.points);
        UiTestEnv env;
        if (!UseDesktopFont(font.family, font.points)) {
            continue;
        }
        CConvertDlg dlg;
        SetDefaults(dlg);
        RunModal<CConvertDlg>(dlg, [&widths](CConvertDlg& d) {
            // The template's layout, below the dialog's menu bar.
            EXPECT_EQ(LayoutArea(d), MapDialogUnits(d, 0, 0, 225, 172));
            widths.push_back(LayoutArea(d).width);
            EXPECT_EQ(ControlRect(d, IDC_CONVERT), MapDialogUnits(d, 63, 154, 50, 14));
            EXPECT_EQ(ControlRect(d, IDC_DATA_FILE), MapDialogUnits(d, 151, 131, 45, 12));
            // A combo box's template height holds its list: its place and width.
            const PixelRect combo = ControlRect(d, IDC_MACRO_FILE);
            const PixelRect expected = MapDialogUnits(d, 151, 116, 61, 52);
            EXPECT_EQ(combo.x, expected.x);
            EXPECT_EQ(combo.y, expected.y);
            EXPECT_EQ(combo.width, expected.width);
            EXPECT_FALSE(HasMaximizeBox(d));
            EXPECT_TRUE(HasMinimizeBox(d));
        });
        UseDesktopFont(std::string(), 0);
    }
    // Where fonts were chosen, the 14-point dialog is the wider one.
    if (widths.size() == 3) {
        EXPECT_GT(widths[2], widths[1]);
    }
}

TEST(ConvertDlg, TabOrderIsTemplateOrderAndMnemonicsReachFields) {
    UiTestEnv env;
    CConvertDlg dlg;
    SetDefaults(dlg);
    dlg.m_strInputFile = env.Path("work");  // an existing entry enables Convert
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) {
        const int order[] = {IDC_CONVERT, IDCANCEL,       IDC_SELECT_INPUT, IDC_SELECT_OUTPUT,
                             IDC_MS_FILE, IDC_INLET_FILE, IDC_MACRO_FILE,   IDC_DATA_FILE};
        d.GotoDlgCtrl(IDC_CONVERT);
        for (std::size_t i = 1; i < std::size(order); ++i) {
            Press(d, Key::kTab);
            EXPECT_EQ(d.GetFocusId(), order[i]) << "tab stop " << i;
        }

        const struct {
            char letter;
            int id;
        } mnemonics[] = {
            {'M', IDC_MS_FILE}, {'I', IDC_INLET_FILE}, {'A', IDC_MACRO_FILE}, {'D', IDC_DATA_FILE}};
        for (const auto& mnemonic : mnemonics) {
            d.GotoDlgCtrl(IDC_CONVERT);
            PressAlt(d, mnemonic.letter);
            EXPECT_EQ(d.GetFocusId(), mnemonic.id) << "Alt+" << mnemonic.letter;
        }
    });
}

TEST(ConvertDlg, CloseEndsWithCancelAndTakesNoData) {
    UiTestEnv env;
    for (int way = 0; way < 3; ++way) {
        SCOPED_TRACE(way == 0 ? "Close" : way == 1 ? "Escape" : "the close box");
        CConvertDlg dlg;
        SetDefaults(dlg);
        dlg.m_strMSFile = "OLD";
        const INT_PTR result = RunModal<CConvertDlg>(dlg, [way](CConvertDlg& d) {
            TypeInto(d, IDC_MS_FILE, "NEW");
            if (way == 0) {
                Click(d, IDCANCEL);
            } else if (way == 1) {
                Press(d, Key::kEscape);
            } else {
                ClickCloseBox(d);
            }
        });
        EXPECT_EQ(result, INT_PTR(IDCANCEL));
        EXPECT_EQ(dlg.m_strMSFile, "OLD");
    }
    // The standard OK command takes the data and ends with IDOK.
    CConvertDlg dlg;
    SetDefaults(dlg);
    const INT_PTR result = RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) {
        TypeInto(d, IDC_MS_FILE, "NEW");
        d.SendCommand(IDOK);
    });
    EXPECT_EQ(result, INT_PTR(IDOK));
    EXPECT_EQ(dlg.m_strMSFile, "NEW");
}

TEST(ConvertDlg, EnterInAFieldPressesConvert) {
    UiTestEnv env;
    CConvertDlg dlg;
    SetDefaults(dlg);
    SetExistingInput(dlg, env);
    dlg.m_strMSFile = "TOO_LONG_MS";
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) {
        // Each Convert stops at the validation message, which counts it.
        for (const int id : {IDC_MS_FILE, IDC_DATA_FILE, IDC_MACRO_FILE}) {
            SCOPED_TRACE(id);
            const std::size_t before = CUiTestScript::MessageBoxes().size();
            ClickInto(d, id);
            Press(d, Key::kReturn);
            EXPECT_EQ(CUiTestScript::MessageBoxes().size(), before + 1);
            EXPECT_TRUE(d.IsWindowVisible());
        }
        EXPECT_EQ(d.GetComboCount(IDC_MS_FILE), 0);  // nothing inserted
    });
}

TEST(ConvertDlg, SelectInputProposesNotSpecifiedWithoutDirectory) {
    UiTestEnv env;
    CConvertDlg dlg;
    SetDefaults(dlg);
    CUiTestScript::CancelFileDialog();
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) { Click(d, IDC_SELECT_INPUT); });
    ASSERT_EQ(CUiTestScript::FileDialogs().size(), std::size_t(1));
    const FileDialogRequest& asked = CUiTestScript::FileDialogs().front();
    EXPECT_TRUE(asked.open);
    EXPECT_EQ(asked.title, "Korrin Input File");
    EXPECT_EQ(asked.proposedName, "[Not Specified]");
    EXPECT_EQ(asked.initialDir, "");
    EXPECT_EQ(asked.filter, "Text Files (*.txt);;All Files (*)");
    EXPECT_EQ(asked.defaultExt, "txt");
    // Cancelled: nothing changed.
    EXPECT_EQ(dlg.m_strInputFile, "[Not Specified]");
    EXPECT_EQ(dlg.m_strOutputFile, "[Not Specified]");
    EXPECT_EQ(dlg.m_strDataFile, "");
}

TEST(ConvertDlg, SelectInputDerivesOutputAndDataFile) {
    UiTestEnv env;
    const std::string input = env.Write("Runs/Plate7.txt", kExport);
    CConvertDlg dlg;
    SetDefaults(dlg, env.Path("Runs/Earlier.txt"), env.Path("Lists/Old.sdb"));
    CUiTestScript::AcceptFileDialog(input);
    RunModal<CConvertDlg>(dlg, [&](CConvertDlg& d) {
        EXPECT_FALSE(ConvertEnabled(d));
        Click(d, IDC_SELECT_INPUT);
        EXPECT_EQ(Shown(d, IDC_INPUT_FILE), input);
        EXPECT_EQ(Shown(d, IDC_OUTPUT_FILE), env.Path("Lists/Plate7.sdb"));
        EXPECT_EQ(Shown(d, IDC_DATA_FILE), "Plate7");
        EXPECT_TRUE(ConvertEnabled(d));
    });
    ASSERT_EQ(CUiTestScript::FileDialogs().size(), std::size_t(1));
    const FileDialogRequest& asked = CUiTestScript::FileDialogs().front();
    EXPECT_EQ(asked.proposedName, "Earlier.txt");
    EXPECT_EQ(asked.initialDir, env.Path("Runs/"));
    EXPECT_EQ(dlg.m_strInputFile, input);
    EXPECT_EQ(dlg.m_strOutputFile, env.Path("Lists/Plate7.sdb"));
    EXPECT_EQ(dlg.m_strDataFile, "Plate7");
}

TEST(ConvertDlg, SelectInputWhoseNameHoldsABackslashIsRefused) {
#ifdef _WIN32
    GTEST_SKIP() << "no Windows file name holds '\\': it separates folders there";
#endif
    UiTestEnv env;
    const std::string input = env.Write("Runs/..\\lists\\victim.txt", kExport);
    CConvertDlg dlg;
    SetDefaults(dlg, std::string(), env.Path("Lists/Old.sdb"));
    dlg.m_strDataFile = "OLD";
    CUiTestScript::AcceptFileDialog(input);
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) { Click(d, IDC_SELECT_INPUT); });
    ASSERT_EQ(CUiTestScript::MessageBoxes().size(), std::size_t(1));
    const MessageBoxRequest& refused = CUiTestScript::MessageBoxes().front();
    EXPECT_THAT(refused.text, HasSubstr(input));
    EXPECT_THAT(refused.detail, HasSubstr("holds '\\'"));
    EXPECT_EQ(refused.type & MB_ICONMASK, UINT(MB_ICONEXCLAMATION));
    EXPECT_EQ(dlg.m_strInputFile, "[Not Specified]");
    EXPECT_EQ(dlg.m_strOutputFile, env.Path("Lists/Old.sdb"));
    EXPECT_EQ(dlg.m_strDataFile, "OLD");
}

TEST(ConvertDlg, SelectInputWithUnspecifiedOutputUsesCurrentDirectory) {
    UiTestEnv env;
    const std::string input = env.Write("Runs/Plate7.txt", kExport);
    CConvertDlg dlg;
    SetDefaults(dlg);
    CUiTestScript::AcceptFileDialog(input);
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) { Click(d, IDC_SELECT_INPUT); });
    // The test runs in work/, the process's current directory.
    EXPECT_EQ(dlg.m_strOutputFile, env.Path("work/Plate7.sdb"));
}

TEST(ConvertDlg, LongInputTitleShowsWholeAndIsRefusedLater) {
    UiTestEnv env;
    const std::string input = env.Write("Runs/LongTitle123.txt", kExport);
    CConvertDlg dlg;
    SetDefaults(dlg);
    CUiTestScript::AcceptFileDialog(input);
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) {
        Click(d, IDC_SELECT_INPUT);
        EXPECT_EQ(Shown(d, IDC_DATA_FILE), "LongTitle123");
        EXPECT_TRUE(ConvertEnabled(d));

        Click(d, IDC_CONVERT);
        ASSERT_EQ(CUiTestScript::MessageBoxes().size(), std::size_t(1));
        const MessageBoxRequest& refused = CUiTestScript::MessageBoxes().back();
        EXPECT_EQ(refused.text, TooLong("Data File"));
        EXPECT_EQ(refused.type & MB_ICONMASK, UINT(MB_ICONEXCLAMATION));
        EXPECT_EQ(d.GetFocusId(), IDC_DATA_FILE);
        EXPECT_EQ(SelectedText(d, IDC_DATA_FILE), "LongTitle123");

        // Select input is refused the same way: no file dialog is asked.
        Click(d, IDC_SELECT_INPUT);
        EXPECT_EQ(CUiTestScript::MessageBoxes().size(), std::size_t(2));
        EXPECT_EQ(CUiTestScript::FileDialogs().size(), std::size_t(1));
    });
    // No conversion happened.
    EXPECT_FALSE(Exists(env.Path("work/LongTitle123.sdb")));
}

TEST(ConvertDlg, DataFileTypingIsLimitedToEight) {
    UiTestEnv env;
    CConvertDlg dlg;
    SetDefaults(dlg);
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) {
        TypeInto(d, IDC_DATA_FILE, "ABCDEFGHIJK");
        EXPECT_EQ(Shown(d, IDC_DATA_FILE), "ABCDEFGH");

        // Text set by the program is shown whole and can be shortened, but
        // not lengthened, by the user.
        d.m_strDataFile = "Twelve_Chars";
        d.UpdateData(FALSE);
        EXPECT_EQ(Shown(d, IDC_DATA_FILE), "Twelve_Chars");
        EXPECT_EQ(CaretPosition(d, IDC_DATA_FILE), 0);  // shown from its beginning
        TypeInto(d, IDC_DATA_FILE, "X");
        EXPECT_EQ(Shown(d, IDC_DATA_FILE), "Twelve_Chars");
        Press(d, Key::kBackspace);
        EXPECT_EQ(Shown(d, IDC_DATA_FILE), "Twelve_Char");
        Type(d, "X");
        EXPECT_EQ(Shown(d, IDC_DATA_FILE), "Twelve_Char");
        Retype(d, IDC_DATA_FILE, "short");
        EXPECT_EQ(Shown(d, IDC_DATA_FILE), "short");
    });
}

TEST(ConvertDlg, MethodListsOfferStemsInOrderOfFullNames) {
    UiTestEnv env;
    for (const char* name : {"ESI2.ext", "ESI1.ext", "A.B.ext", ".ext", "other.txt"}) {
        env.Write(std::string("ms/") + name, "method");
    }
    // A name in Latin-1, not the locale's UTF-8, is listed as what it is.
    k2ltest::WriteFile(env.Path("ms/") + "M\xE9th.ext", "method");
    ASSERT_TRUE(UiTestEnv::ConfigureLocation("MS_FUNC_DB", env.Path("ms/"), "ext"));
    // A directory without its separator, and an extension given with its dot.
    env.Write("lc/Fast.LC", "inlet");
    env.Write("lc/slow.lc", "inlet");
    ASSERT_TRUE(UiTestEnv::ConfigureLocation("LC_DB", env.Path("lc"), ".lc", true));

    CConvertDlg dlg;
    SetDefaults(dlg);
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) {
        EXPECT_EQ(Entries(d, IDC_MS_FILE),
                  std::vector<std::string>({".ext", "A", "ESI1", "ESI2", "M\u00e9th"}));
        EXPECT_EQ(Entries(d, IDC_INLET_FILE), std::vector<std::string>({"Fast", "slow"}));
        EXPECT_EQ(Entries(d, IDC_MACRO_FILE), std::vector<std::string>());
        // Filling the lists leaves the fields as loaded.
        EXPECT_EQ(Shown(d, IDC_MS_FILE), "");
    });
}

TEST(ConvertDlg, MethodListsStayEmptyWithoutLocation) {
    UiTestEnv env;
    env.Write("work/Stray.ms", "m");  // the current directory
    ASSERT_TRUE(UiTestEnv::ConfigureLocation("LC_DB", env.Path("missing/"), "lc"));
    const std::string settings = env.Path("lumenda/Lumenda.ini");
    const std::string before = UiTestEnv::Read(settings);
    CConvertDlg dlg;
    SetDefaults(dlg);
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) {
        EXPECT_EQ(Entries(d, IDC_MS_FILE), std::vector<std::string>());
        EXPECT_EQ(Entries(d, IDC_INLET_FILE), std::vector<std::string>());
        EXPECT_EQ(Entries(d, IDC_MACRO_FILE), std::vector<std::string>());
    });
    EXPECT_TRUE(CUiTestScript::MessageBoxes().empty());
    // Filling the lists reads the locations and changes nothing.
    EXPECT_EQ(UiTestEnv::Read(settings), before);
    EXPECT_FALSE(Exists(env.Path("missing")));
}

TEST(ConvertDlg, ValueSelectsFirstEntryWithItsPrefix) {
    const struct {
        const char* name;
        const char* value;
        const char* shown;
        int index;
    } rows[] = {
        {"a prefix, ignoring case", "esi", "ESI1", 0},
        {"a later entry", "esi2", "ESI2", 1},
        {"no entry begins with it", "XYZ", "XYZ", -1},
        // Empty begins every entry, but stays empty.
        {"empty", "", "", -1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        UiTestEnv env;
        env.Write("ms/ESI1.ms", "m");
        env.Write("ms/ESI2.ms", "m");
        ASSERT_TRUE(UiTestEnv::ConfigureLocation("MS_FUNC_DB", env.Path("ms/"), "ms"));
        const std::string output = env.Path("new.sdb");
        CConvertDlg dlg;
        SetDefaults(dlg);
        dlg.m_strMSFile = row.value;
        CUiTestScript::AcceptFileDialog(output);
        RunModal<CConvertDlg>(dlg, [&](CConvertDlg& d) {
            // At start the lists are filled after the first exchange.
            EXPECT_EQ(Shown(d, IDC_MS_FILE), row.value);
            Click(d, IDC_SELECT_OUTPUT);
            EXPECT_EQ(Shown(d, IDC_MS_FILE), row.shown);
            EXPECT_EQ(ComboSelection(d, IDC_MS_FILE), row.index);
        });
        // The member keeps its value until the next exchange from the controls.
        EXPECT_EQ(dlg.m_strMSFile, row.value);
        ASSERT_EQ(CUiTestScript::FileDialogs().size(), std::size_t(1));
        const FileDialogRequest& asked = CUiTestScript::FileDialogs().front();
        EXPECT_FALSE(asked.open);
        EXPECT_EQ(asked.title, "Sample List Output File");
        EXPECT_EQ(asked.proposedName, "[Not Specified]");
        EXPECT_EQ(asked.filter, "Sample List Files (*.sdb)");
        EXPECT_EQ(asked.defaultExt, "sdb");
        EXPECT_EQ(dlg.m_strOutputFile, output);
    }
}

TEST(ConvertDlg, TooLongValuesLoadUnchangedAndAreRefusedAtExchange) {
    UiTestEnv env;
    CConvertDlg dlg;
    SetDefaults(dlg);
    SetExistingInput(dlg, env);
    dlg.m_strMSFile = "MSMETHOD9";
    dlg.m_strDataFile = "DATAFILE9";
    dlg.m_strInletFile = "INLET";
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) {
        EXPECT_EQ(Shown(d, IDC_MS_FILE), "MSMETHOD9");
        EXPECT_EQ(Shown(d, IDC_DATA_FILE), "DATAFILE9");
        TypeInto(d, IDC_INLET_FILE, "2");
        Click(d, IDC_CONVERT);
        EXPECT_EQ(CUiTestScript::MessageBoxes().size(), std::size_t(1));
        // The first field in exchange order fails; later ones are not taken.
        EXPECT_EQ(d.GetFocusId(), IDC_MS_FILE);
        EXPECT_EQ(SelectedText(d, IDC_MS_FILE), "MSMETHOD9");
        EXPECT_EQ(d.m_strInletFile, "INLET");

        Retype(d, IDC_MS_FILE, "MS");
        Click(d, IDC_CONVERT);
        EXPECT_EQ(CUiTestScript::MessageBoxes().size(), std::size_t(2));
        EXPECT_EQ(d.GetFocusId(), IDC_DATA_FILE);
        // Members up to the failing one were taken, the failing one too.
        EXPECT_EQ(d.m_strMSFile, "MS");
        EXPECT_EQ(d.m_strDataFile, "DATAFILE9");
        EXPECT_EQ(d.m_strInletFile, "INLET");
    });
    ASSERT_EQ(CUiTestScript::MessageBoxes().size(), std::size_t(2));
    EXPECT_EQ(CUiTestScript::MessageBoxes().back().text, TooLong("Data File"));
}

TEST(ConvertDlg, SelectInputRefusedWithTooLongMethodSelectOutputNot) {
    UiTestEnv env;
    CConvertDlg dlg;
    SetDefaults(dlg);
    dlg.m_strMacroFile = "LONGMACRO";
    CUiTestScript::CancelFileDialog();
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) {
        Click(d, IDC_SELECT_INPUT);
        EXPECT_EQ(CUiTestScript::MessageBoxes().size(), std::size_t(1));
        EXPECT_EQ(CUiTestScript::FileDialogs().size(), std::size_t(0));
        EXPECT_EQ(d.GetFocusId(), IDC_MACRO_FILE);
        Click(d, IDC_SELECT_OUTPUT);
        EXPECT_EQ(CUiTestScript::MessageBoxes().size(), std::size_t(1));
        EXPECT_EQ(CUiTestScript::FileDialogs().size(), std::size_t(1));
    });
}

TEST(ConvertDlg, TypedNameDiscardedByOutputChoiceKeptByCancel) {
    UiTestEnv env;
    CConvertDlg dlg;
    SetDefaults(dlg);
    dlg.m_strMSFile = "OLD";
    CUiTestScript::CancelFileDialog();
    CUiTestScript::AcceptFileDialog(env.Path("out.sdb"));
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) {
        Retype(d, IDC_MS_FILE, "TYPED");
        Click(d, IDC_SELECT_OUTPUT);  // cancelled
        EXPECT_EQ(Shown(d, IDC_MS_FILE), "TYPED");
        Click(d, IDC_SELECT_OUTPUT);  // chosen
        EXPECT_EQ(Shown(d, IDC_MS_FILE), "OLD");
    });
    EXPECT_EQ(dlg.m_strMSFile, "OLD");
    EXPECT_EQ(dlg.m_strOutputFile, env.Path("out.sdb"));
}

TEST(ConvertDlg, TypingNeverChangesConvertButton) {
    UiTestEnv env;
    const std::string input = env.Write("in.txt", kExport);
    CConvertDlg dlg;
    SetDefaults(dlg);
    RunModal<CConvertDlg>(dlg, [&](CConvertDlg& d) {
        EXPECT_FALSE(ConvertEnabled(d));
        TypeInto(d, IDC_DATA_FILE, "abc");
        TypeInto(d, IDC_MS_FILE, "abc");
        EXPECT_FALSE(ConvertEnabled(d));
        // Only an exchange looks at the input again.
        d.m_strInputFile = input;
        EXPECT_FALSE(ConvertEnabled(d));
        d.UpdateData(FALSE);
        EXPECT_TRUE(ConvertEnabled(d));
    });
}

TEST(ConvertDlg, VanishedInputStillEnabledUntilNextExchange) {
    UiTestEnv env;
    const std::string input = env.Write("in.txt", kExport);
    CConvertDlg dlg;
    SetDefaults(dlg, input, env.Path("out.sdb"));
    RunModal<CConvertDlg>(dlg, [&](CConvertDlg& d) {
        EXPECT_TRUE(ConvertEnabled(d));
        EXPECT_TRUE(fs::remove(fs::path(input)));
        EXPECT_TRUE(ConvertEnabled(d));
        // Convert's exchange disables the button, and the handler goes on
        // to report the conversion's failure.
        Click(d, IDC_CONVERT);
        EXPECT_FALSE(ConvertEnabled(d));
    });
    ASSERT_EQ(CUiTestScript::MessageBoxes().size(), std::size_t(1));
    const MessageBoxRequest& reported = CUiTestScript::MessageBoxes().front();
    EXPECT_EQ(reported.text, "Sample List " + env.Path("out.sdb") + " could not be created");
    EXPECT_THAT(reported.detail, HasSubstr(input));
}

TEST(ConvertDlg, OverwriteQuestionOnlyWhenOutputExists) {
    UiTestEnv env;
    const std::string input = env.Write("in.txt", kExport);
    const std::string output = env.Path("out.sdb");
    CConvertDlg dlg;
    SetDefaults(dlg, input, output);
    CUiTestScript::AnswerMessageBox(IDOK);   // created
    CUiTestScript::AnswerMessageBox(IDYES);  // overwrite
    CUiTestScript::AnswerMessageBox(IDOK);   // created again
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) {
        Click(d, IDC_CONVERT);
        Click(d, IDC_CONVERT);
    });
    const auto& boxes = CUiTestScript::MessageBoxes();
    ASSERT_EQ(boxes.size(), std::size_t(3));
    EXPECT_EQ(boxes[0].text, "Sample List " + output + " created successfully");
    EXPECT_EQ(boxes[1].text, "Sample List " + output + " already exists. Overwrite?");
    EXPECT_EQ(boxes[1].caption, kCaption);
    EXPECT_EQ(boxes[1].type & MB_TYPEMASK, UINT(MB_YESNO));
    EXPECT_EQ(boxes[1].type & MB_ICONMASK, UINT(MB_ICONQUESTION));
    EXPECT_EQ(boxes[1].type & MB_DEFMASK, UINT(MB_DEFBUTTON1));
    EXPECT_EQ(boxes[2].text, boxes[0].text);
}

TEST(ConvertDlg, AnsweringNoStopsTheConversion) {
    UiTestEnv env;
    const std::string input = env.Write("in.txt", kExport);
    const std::string output = env.Write("out.sdb", "not a sample list");
    CConvertDlg dlg;
    SetDefaults(dlg, input, output);
    CUiTestScript::AnswerMessageBox(IDNO);
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) { Click(d, IDC_CONVERT); });
    EXPECT_EQ(CUiTestScript::MessageBoxes().size(), std::size_t(1));
    EXPECT_EQ(UiTestEnv::Read(output), "not a sample list");
}

TEST(ConvertDlg, SuccessfulConversionReportsAndWritesList) {
    UiTestEnv env;
    const std::string input =
        env.Write("Runs/plate7.txt", UiTestEnv::Read(K2L_EXAMPLES_DIR "/exports/plate7.txt"));
    ASSERT_GT(fs::file_size(fs::path(input)), 0u);
    const std::string output = env.Path("Lists/plate7.sdb");
    fs::create_directories(fs::path(env.Path("Lists")));
    CConvertDlg dlg;
    SetDefaults(dlg, input, output);
    dlg.m_strMSFile = "ESI_POS";
    dlg.m_strInletFile = "LC_30MIN";
    dlg.m_strMacroFile = "ACQUIRE";
    dlg.m_strDataFile = "plate7";
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) {
        Click(d, IDC_CONVERT);
        EXPECT_FALSE(WaitCursorShown());
    });
    ASSERT_EQ(CUiTestScript::MessageBoxes().size(), std::size_t(1));
    const MessageBoxRequest& reported = CUiTestScript::MessageBoxes().front();
    EXPECT_EQ(reported.text, "Sample List " + output + " created successfully");
    EXPECT_EQ(reported.caption, kCaption);
    EXPECT_EQ(reported.type, UINT(MB_OK));
    EXPECT_TRUE(fs::is_regular_file(fs::path(output)));
    EXPECT_GT(fs::file_size(fs::path(output)), 0u);
}

TEST(ConvertDlg, FailingConversionGivesReasonAsDetail) {
    UiTestEnv env;
    const std::string input = env.Write("in.txt", kExport);
    const std::string output = env.Path("no/such/dir/out.sdb");
    CConvertDlg dlg;
    SetDefaults(dlg, input, output);
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) {
        Click(d, IDC_CONVERT);
        EXPECT_FALSE(WaitCursorShown());
    });
    ASSERT_EQ(CUiTestScript::MessageBoxes().size(), std::size_t(1));
    const MessageBoxRequest& reported = CUiTestScript::MessageBoxes().front();
    EXPECT_EQ(reported.text, "Sample List " + output + " could not be created");
    EXPECT_EQ(reported.type & MB_ICONMASK, UINT(MB_ICONEXCLAMATION));
    // The cause, once: the folder that is missing, not the headline again.
    EXPECT_THAT(reported.detail,
                StartsWith("The folder " + env.Path("no/such/dir") + " does not exist"));
    EXPECT_THAT(reported.detail, Not(HasSubstr("could not be created")));
    EXPECT_FALSE(Exists(output));
}

TEST(ConvertDlg, ReadErrorNamesInputAndRestoresCursor) {
#ifdef _WIN32
    GTEST_SKIP() << "no input that opens but fails to read: a folder does not open on Windows, "
                    "and Wine reads past another handle's lock";
#endif
    UiTestEnv env;
    const std::string input = env.Write("Runs/plate7.txt", kExport);
    const std::string output = env.Path("out.sdb");
    CConvertDlg dlg;
    SetDefaults(dlg, std::string(), output);
    CUiTestScript::AcceptFileDialog(input);
    RunModal<CConvertDlg>(dlg, [&](CConvertDlg& d) {
        Click(d, IDC_SELECT_INPUT);
        EXPECT_TRUE(ConvertEnabled(d));
        // The input turns into a directory: it opens, but cannot be read.
        EXPECT_TRUE(fs::remove(fs::path(input)));
        EXPECT_TRUE(fs::create_directory(fs::path(input)));
        Click(d, IDC_CONVERT);
        EXPECT_FALSE(WaitCursorShown());
        EXPECT_TRUE(d.IsWindowVisible());
    });
    ASSERT_EQ(CUiTestScript::MessageBoxes().size(), std::size_t(1));
    const MessageBoxRequest& reported = CUiTestScript::MessageBoxes().front();
    EXPECT_THAT(reported.text, HasSubstr(input));
    EXPECT_THAT(reported.text, HasSubstr("could not be read"));
    EXPECT_THAT(reported.detail, HasSubstr(SystemErrorText(EISDIR)));
    EXPECT_EQ(reported.type & MB_ICONMASK, UINT(MB_ICONEXCLAMATION));
}

TEST(ConvertDlg, OutputWithAFinalDotIsRefusedBeforeTheQuestion) {
    // The record library would write "l" for "l.": the file there is never
    // asked about nor touched.
    UiTestEnv env;
    const std::string input = env.Write("in.txt", kExport);
    const std::string kept = env.Write("lists/l", "someone's file");
    CConvertDlg dlg;
    SetDefaults(dlg, input, kept + '.');
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) { Click(d, IDC_CONVERT); });
    ASSERT_EQ(CUiTestScript::MessageBoxes().size(), std::size_t(1));
    const MessageBoxRequest& reported = CUiTestScript::MessageBoxes().front();
    EXPECT_EQ(reported.type & MB_ICONMASK, UINT(MB_ICONEXCLAMATION));
    EXPECT_THAT(reported.detail, HasSubstr("cannot end in a dot"));
    EXPECT_EQ(UiTestEnv::Read(kept), "someone's file");
    // Nothing was made beside it (on Windows "l." would be "l" itself).
    EXPECT_EQ(k2ltest::Entries(env.Path("lists")), std::vector<std::string>({"l"}));
}

TEST(ConvertDlg, LocationThatCannotBeStoredIsADetailOfTheSuccess) {
    UiTestEnv env;
    const std::string input = env.Write("in.txt", kExport);
    fs::remove_all(fs::path(env.Path("lumenda")));
    env.Write("lumenda", "a file where the settings folder should be");
    const std::string output = env.Path("out.sdb");
    CConvertDlg dlg;
    SetDefaults(dlg, input, output);
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) { Click(d, IDC_CONVERT); });
    ASSERT_EQ(CUiTestScript::MessageBoxes().size(), std::size_t(1));
    const MessageBoxRequest& reported = CUiTestScript::MessageBoxes().front();
    EXPECT_EQ(reported.text, "Sample List " + output + " created successfully");
    EXPECT_THAT(reported.detail, HasSubstr("could not be stored"));
    EXPECT_TRUE(fs::is_regular_file(fs::path(output)));
}

TEST(ConvertDlg, NonAsciiTextIsRefusedByField) {
    UiTestEnv env;
    CConvertDlg dlg;
    SetDefaults(dlg);
    SetExistingInput(dlg, env);
    dlg.m_strMSFile = "OLD";
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) {
        Retype(d, IDC_MS_FILE, "M\u00e9th");
        Click(d, IDC_CONVERT);
        ASSERT_EQ(CUiTestScript::MessageBoxes().size(), std::size_t(1));
        const MessageBoxRequest& refused = CUiTestScript::MessageBoxes().back();
        EXPECT_THAT(refused.text, HasSubstr("MS File"));
        EXPECT_THAT(refused.text, HasSubstr("\"\u00e9\""));
        EXPECT_EQ(refused.type & MB_ICONMASK, UINT(MB_ICONEXCLAMATION));
        EXPECT_EQ(d.GetFocusId(), IDC_MS_FILE);
        EXPECT_EQ(d.m_strMSFile, "OLD");

        Retype(d, IDC_MS_FILE, "ESI");
        TypeInto(d, IDC_DATA_FILE, "d\u00e4ta");
        EXPECT_EQ(Shown(d, IDC_DATA_FILE), "d\u00e4ta");
        Click(d, IDC_CONVERT);
        ASSERT_EQ(CUiTestScript::MessageBoxes().size(), std::size_t(2));
        EXPECT_THAT(CUiTestScript::MessageBoxes().back().text, HasSubstr("Data File"));
        EXPECT_EQ(d.GetFocusId(), IDC_DATA_FILE);
        EXPECT_EQ(d.m_strMSFile, "ESI");
    });
}

TEST(ConvertDlg, NameWithASeparatorIsRefusedByField) {
    UiTestEnv env;
    CConvertDlg dlg;
    SetDefaults(dlg, env.Write("plate.txt", kExport), env.Path("plate.sdb"));
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) {
        TypeInto(d, IDC_DATA_FILE, "a/b");
        Click(d, IDC_CONVERT);
        ASSERT_EQ(CUiTestScript::MessageBoxes().size(), std::size_t(1));
        const MessageBoxRequest& refused = CUiTestScript::MessageBoxes().back();
        EXPECT_THAT(refused.text, HasSubstr("Data File field holds '/'"));
        EXPECT_EQ(refused.type & MB_ICONMASK, UINT(MB_ICONEXCLAMATION));
        EXPECT_EQ(d.GetFocusId(), IDC_DATA_FILE);
        EXPECT_EQ(SelectedText(d, IDC_DATA_FILE), "a/b");
    });
    EXPECT_FALSE(Exists(env.Path("plate.sdb")));
}

TEST(ConvertDlg, EveryAboutCommandOpensAboutBox) {
    UiTestEnv env;
    int aboutRuns = 0;
    OnEveryRun(IDD_ABOUTBOX, [&aboutRuns](CDialog& about) {
        ++aboutRuns;
        EXPECT_EQ(about.GetWindowText(), "About Korrin File Conversion");
        about.SendCommand(IDOK);
    });
    CConvertDlg dlg;
    SetDefaults(dlg);
    RunModal<CConvertDlg>(dlg, [&aboutRuns](CConvertDlg& d) {
        for (UINT command = 0x10; command <= 0x1F; ++command) {
            d.SendSysCommand(command, 0);
        }
        EXPECT_EQ(aboutRuns, 16);
        d.SendSysCommand(0x20, 0);
        d.SendSysCommand(0x0F, 0);
        EXPECT_EQ(aboutRuns, 16);
        EXPECT_TRUE(d.IsWindowVisible());
    });
}

TEST(ConvertDlg, MenuBarAndContextMenuShareEntriesAndShortcuts) {
    UiTestEnv env;
    std::vector<std::string> opened;
    for (const UINT id : {IDD_ABOUTBOX, IDD_OPTIONS, IDD_METHOD_FOLDERS}) {
        OnEveryRun(id, [&opened](CDialog& shown) {
            opened.push_back(shown.GetWindowText());
            shown.SendCommand(IDCANCEL);
        });
    }
    OnTableWindowShown([&opened](ShownTable&) { opened.push_back("Preview"); });
    const struct {
        const char* text;
        const char* shortcut;
        Accelerator accelerator;
    } entries[] = {
        {"&Tools/Conversion Options...", "Ctrl+O", {'O', FCONTROL}},
        {"&Tools/Preview...", "Ctrl+P", {'P', FCONTROL}},
        {"&Tools/Method Folders...", "Ctrl+M", {'M', FCONTROL}},
        {"&Help/&About Korrin File Conversion...", "F1", {VK_F1}},
    };
    CConvertDlg dlg;
    SetDefaults(dlg);
    RunModal<CConvertDlg>(dlg, [&](CConvertDlg& d) {
        // The same entries, each with its shortcut shown, in the context
        // menu, the window menu's first.
        EXPECT_EQ(ContextMenuEntries(d),
                  std::vector<MenuItemShown>({{"&About Korrin File Conversion...", "F1"},
                                              {"Conversion Options...", "Ctrl+O"},
                                              {"Preview...", "Ctrl+P"},
                                              {"Method Folders...", "Ctrl+M"}}));
        std::vector<MenuItemShown> expected;
        for (const auto& entry : entries) {
            expected.push_back({entry.text, entry.shortcut});
            // The shortcut works from a field, where the mnemonics are Alt's,
            // back in the main window after the last entry's window.
            Activate(d);
            ClickInto(d, IDC_DATA_FILE);
            PressShortcut(d, entry.accelerator);
        }
        EXPECT_EQ(MenuBarEntries(d), expected);
        EXPECT_EQ(Shown(d, IDC_DATA_FILE), "");
    });
    OnTableWindowShown(nullptr);
    EXPECT_EQ(opened, std::vector<std::string>({"Conversion Options", "Preview", "Method Folders",
                                                "About Korrin File Conversion"}));
}

TEST(ConvertDlg, OptionsOkCopiesValuesBackAndShowsThem) {
    UiTestEnv env;
    OnEveryRun(IDD_OPTIONS, [](CDialog& options) {
        EXPECT_EQ(Shown(options, IDC_MS_FILE), "MS1");
        EXPECT_EQ(Shown(options, IDC_INLET_FILE), "LC1");
        EXPECT_EQ(Shown(options, IDC_MACRO_FILE), "MAC1");
        EXPECT_EQ(Shown(options, IDC_DATA_FILE), "DATA1");
        Retype(options, IDC_MACRO_FILE, "TwelveChars1");
        Retype(options, IDC_MS_FILE, "MS2");
        options.SendCommand(IDOK);
    });
    CConvertDlg dlg;
    SetDefaults(dlg);
    SetExistingInput(dlg, env);
    dlg.m_strMSFile = "MS1";
    dlg.m_strInletFile = "LC1";
    dlg.m_strMacroFile = "MAC1";
    dlg.m_strDataFile = "DATA1";
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) {
        d.SendCommand(IDC_OPTIONS);
        EXPECT_EQ(d.m_strMacroFile, "TwelveChars1");
        EXPECT_EQ(d.m_strMSFile, "MS2");
        EXPECT_EQ(Shown(d, IDC_MACRO_FILE), "TwelveChars1");
        EXPECT_EQ(Shown(d, IDC_MS_FILE), "MS2");
        // The main dialog's own limit refuses the macro at its next exchange.
        Activate(d);
        Click(d, IDC_CONVERT);
        ASSERT_EQ(CUiTestScript::MessageBoxes().size(), std::size_t(1));
        EXPECT_EQ(CUiTestScript::MessageBoxes().back().text, TooLong("Macro"));
        EXPECT_EQ(d.GetFocusId(), IDC_MACRO_FILE);
    });
}

TEST(ConvertDlg, OptionsCancelChangesNothing) {
    UiTestEnv env;
    OnEveryRun(IDD_OPTIONS, [](CDialog& options) {
        Retype(options, IDC_MS_FILE, "X");
        Retype(options, IDC_DATA_FILE, "Y");
        Press(options, Key::kEscape);
    });
    CConvertDlg dlg;
    SetDefaults(dlg);
    dlg.m_strMSFile = "MS1";
    dlg.m_strDataFile = "DATA1";
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) {
        d.SendCommand(IDC_OPTIONS);
        EXPECT_EQ(d.m_strMSFile, "MS1");
        EXPECT_EQ(d.m_strDataFile, "DATA1");
        EXPECT_EQ(Shown(d, IDC_MS_FILE), "MS1");
    });
}

TEST(ConvertDlg, PathBytesSurviveTheExchange) {
    UiTestEnv env;
    CConvertDlg dlg;
    SetDefaults(dlg);
    // Not valid in the locale's encoding: shown as best it can, kept exactly.
    const std::string odd = env.Path("run") + "\xff\xfe.txt";
    dlg.m_strInputFile = odd;
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) { d.SendCommand(IDOK); });
    EXPECT_TRUE(dlg.m_strInputFile == odd);
}

}  // namespace
