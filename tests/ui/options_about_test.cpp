// The Conversion Options dialog and the About box on their own; the Method
// Folders dialog, which stores the data system's locations by the rules and
// with the messages of korr2ld-cli locations set, and the method lists that
// say when their folder is not set.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include "convert/LocationSetting.h"
#include "minimal_datasystem/minimal_datasystem.h"
#include "tests/ui/probes_cli.h"
#include "tests/ui/probes_edit.h"
#include "tests/ui/probes_fields.h"
#include "tests/ui/ui_test_env.h"
#include "ui/AboutDlg.h"
#include "ui/ConvertDlg.h"
#include "ui/MethodFoldersDlg.h"
#include "ui/OptionsDlg.h"

namespace {

void Fill(COptionsDlg& dlg) {
    dlg.m_strDataFile = "DATA";
    dlg.m_strInletName = "INLET";
    dlg.m_strMacroName = "MACRO";
    dlg.m_strMSName = "MS";
}

bool Contains(const std::vector<std::string>& texts, const std::string& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

// The bytes of file PATH, or "none" when there is no such file.
std::string ContentOrNone(const std::string& path) {
    return std::filesystem::exists(path) ? UiTestEnv::Read(path) : "none";
}

}  // namespace

TEST(OptionsAbout, OptionsShowsMembersAndAcceptsTwelveCharacterMacro) {
    UiTestEnv env;
    COptionsDlg dlg;
    Fill(dlg);
    const INT_PTR result = RunModal<COptionsDlg>(dlg, [](COptionsDlg& d) {
        EXPECT_EQ(d.GetWindowText(), "Conversion Options");
        EXPECT_EQ(d.GetDlgItemText(IDC_DATA_FILE), "DATA");
        EXPECT_EQ(d.GetDlgItemText(IDC_INLET_FILE), "INLET");
        EXPECT_EQ(d.GetDlgItemText(IDC_MACRO_FILE), "MACRO");
        EXPECT_EQ(d.GetDlgItemText(IDC_MS_FILE), "MS");
        EXPECT_TRUE(IsDefaultButton(d, IDOK));
        // The macro edit has no typing limit; the others stop at 8. Typing
        // replaces the text that going to the field selected.
        d.GotoDlgCtrl(IDC_MACRO_FILE);
        Type(d, "MACRO_TWELVE");
        EXPECT_EQ(d.GetDlgItemText(IDC_MACRO_FILE), "MACRO_TWELVE");
        d.GotoDlgCtrl(IDC_MS_FILE);
        Type(d, "ABCDEFGHIJ");
        EXPECT_EQ(d.GetDlgItemText(IDC_MS_FILE), "ABCDEFGH");
        Press(d, Key::kReturn);  // the default button
    });
    EXPECT_EQ(result, INT_PTR(IDOK));
    EXPECT_EQ(dlg.m_strMacroName, "MACRO_TWELVE");
    EXPECT_EQ(dlg.m_strMSName, "ABCDEFGH");
    EXPECT_TRUE(CUiTestScript::MessageBoxes().empty());
}

TEST(OptionsAbout, OptionsRefusesEachLimitedFieldAndStaysOpen) {
    struct Row {
        const char* name;
        int field;
        std::string COptionsDlg::*member;
    };
    for (const Row& row : {Row{"Data File", IDC_DATA_FILE, &COptionsDlg::m_strDataFile},
                           Row{"Inlet Name", IDC_INLET_FILE, &COptionsDlg::m_strInletName},
                           Row{"MS Name", IDC_MS_FILE, &COptionsDlg::m_strMSName}}) {
        SCOPED_TRACE(row.name);
        UiTestEnv env;
        COptionsDlg dlg;
        Fill(dlg);
        dlg.*row.member = "NINECHARS";
        const INT_PTR result = RunModal<COptionsDlg>(dlg, [&row](COptionsDlg& d) {
            Click(d, IDOK);
            EXPECT_TRUE(d.IsWindowVisible());
            ASSERT_EQ(CUiTestScript::MessageBoxes().size(), std::size_t(1));
            EXPECT_EQ(CUiTestScript::MessageBoxes().front().text,
                      std::string("Please enter no more than 8 characters in the ") + row.name +
                          " field.");
            EXPECT_EQ(d.GetFocusId(), row.field);
            EXPECT_EQ(SelectedText(d, row.field), "NINECHARS");
            // Shortened, OK ends the dialog.
            d.SetDlgItemText(row.field, "EIGHTCHR");
            Click(d, IDOK);
            EXPECT_FALSE(d.IsWindowVisible());
        });
        EXPECT_EQ(result, INT_PTR(IDOK));
    }
}

TEST(OptionsAbout, OptionsCancelTakesNothing) {
    UiTestEnv env;
    for (int way = 0; way < 3; ++way) {
        SCOPED_TRACE(way);
        COptionsDlg dlg;
        Fill(dlg);
        const INT_PTR result = RunModal<COptionsDlg>(dlg, [way](COptionsDlg& d) {
            d.SetDlgItemText(IDC_MS_FILE, "CHANGED");
            d.SetDlgItemText(IDC_DATA_FILE, "TOOLONGVALUE");
            if (way == 0) {
                Click(d, IDCANCEL);
            } else if (way == 1) {
                Press(d, Key::kEscape);
            } else {
                ClickCloseBox(d);
            }
        });
        EXPECT_EQ(result, INT_PTR(IDCANCEL));
        EXPECT_EQ(dlg.m_strMSName, "MS");
        EXPECT_EQ(dlg.m_strDataFile, "DATA");
    }
    EXPECT_TRUE(CUiTestScript::MessageBoxes().empty());
}

TEST(OptionsAbout, OptionsTabOrderAndMnemonics) {
    UiTestEnv env;
    COptionsDlg dlg;
    RunModal<COptionsDlg>(dlg, [](COptionsDlg& d) {
        const int order[] = {IDOK,           IDCANCEL,       IDC_MS_FILE,
                             IDC_INLET_FILE, IDC_MACRO_FILE, IDC_DATA_FILE};
        d.GotoDlgCtrl(IDOK);
        for (std::size_t i = 1; i < std::size(order); ++i) {
            Press(d, Key::kTab);
            EXPECT_EQ(d.GetFocusId(), order[i]) << i;
        }
        PressAlt(d, 'A');
        EXPECT_EQ(d.GetFocusId(), IDC_MACRO_FILE);
        PressAlt(d, 'M');
        EXPECT_EQ(d.GetFocusId(), IDC_MS_FILE);
    });
}

TEST(OptionsAbout, AboutShowsNameVersionAndIcon) {
    UiTestEnv env;
    CAboutDlg dlg;
    const INT_PTR result = RunModal<CAboutDlg>(dlg, [](CAboutDlg& d) {
        EXPECT_EQ(d.GetWindowText(), "About Korrin File Conversion");
        EXPECT_TRUE(ShowsIcon(d));
        const std::vector<std::string> texts = LabelTexts(d);
        EXPECT_TRUE(Contains(texts, "Korrin File Conversion Version " K2L_VERSION));
        EXPECT_TRUE(Contains(texts, "Korrin to Lumenda Sample List Conversion"));
        Press(d, Key::kReturn);
    });
    EXPECT_EQ(result, INT_PTR(IDOK));
}

TEST(OptionsAbout, UnsetListsSayItAndMethodFoldersFillsThem) {
    UiTestEnv env;
    env.Write("ms/ESI1.ms", "m");
    env.Write("inlet/LC2.lc", "m");
    env.Write("inlet/LC1.lc", "m");
    ASSERT_TRUE(UiTestEnv::ConfigureLocation("MS_FUNC_DB", env.Path("ms/"), "ms"));
    const std::string settings = env.Path("lumenda/Lumenda.ini");
    const std::string before = UiTestEnv::Read(settings);
    CUiTestScript::AcceptFileDialog(env.Path("inlet"));
    OnEveryRun(IDD_METHOD_FOLDERS, [&](CDialog& shown) {
        EXPECT_EQ(shown.GetDlgItemText(IDC_MS_FOLDER), env.Path("ms/"));
        EXPECT_EQ(shown.GetDlgItemText(IDC_MS_EXTENSION), "ms");
        EXPECT_EQ(shown.GetDlgItemText(IDC_SETTINGS_FILE), "Stored in " + settings);
        Click(shown, IDC_INLET_BROWSE);
        shown.SetDlgItemText(IDC_INLET_EXTENSION, ".lc");
        ClickInto(shown, IDC_INLET_EXTENSION);
        Press(shown, Key::kReturn);  // OK
    });

    CConvertDlg dlg;
    dlg.m_strInputFile = dlg.m_strOutputFile = "[Not Specified]";
    RunModal<CConvertDlg>(dlg, [&](CConvertDlg& d) {
        // Only a cue: the field's text, which the exchange takes, stays
        // empty.
        EXPECT_EQ(CueBanner(d, IDC_MS_FILE), "");
        EXPECT_EQ(CueBanner(d, IDC_INLET_FILE), "no folder set");
        EXPECT_NE(AccessibleDescription(d, IDC_MACRO_FILE).find("No macro folder"),
                  std::string::npos)
            << AccessibleDescription(d, IDC_MACRO_FILE);
        EXPECT_TRUE(d.UpdateData(TRUE));
        EXPECT_EQ(d.m_strInletFile, "");

        d.SendCommand(IDC_METHOD_FOLDERS);
        EXPECT_EQ(d.GetComboEntry(IDC_INLET_FILE, 1), "LC2");
        EXPECT_EQ(d.GetComboCount(IDC_MS_FILE), 1);  // filled again, not added
        EXPECT_EQ(CueBanner(d, IDC_INLET_FILE), "");
    });
    ASSERT_EQ(CUiTestScript::FileDialogs().size(), 1u);
    EXPECT_TRUE(CUiTestScript::FileDialogs().at(0).folder);
    EXPECT_EQ(CUiTestScript::FileDialogs().at(0).title, "Inlet Method Folder");
    // Stored as the CLI stores it; the MS line, not changed, as it was.
    EXPECT_EQ(UiTestEnv::Read(settings), before + "LC_DB=" + env.Path("inlet/*.lc") + "\n");
    EXPECT_TRUE(CUiTestScript::MessageBoxes().empty());
}

TEST(OptionsAbout, RefusedRowStoresNothingAndSaysWhatTheCliSays) {
    for (const bool readOnlySettings : {false, true}) {
        SCOPED_TRACE(readOnlySettings ? "a settings file that is read-only"
                                      : "a folder that does not exist");
        UiTestEnv env;
        const std::string settings = env.Path("lumenda/Lumenda.ini");
        env.Write("inlet/LC1.lc", "m");
        const std::string good = env.Path("inlet");
        const std::string macro = readOnlySettings ? good : env.Path("none");
        if (readOnlySettings) {
            env.Write("lumenda/Lumenda.ini", "; kept\n");
            namespace fs = std::filesystem;
            fs::permissions(settings,
                            fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
        }
        const std::string before = ContentOrNone(settings);

        CMethodFoldersDlg dlg;
        RunModal<CMethodFoldersDlg>(dlg, [&](CMethodFoldersDlg& d) {
            // A row that could be stored, then one that cannot.
            d.SetDlgItemText(IDC_INLET_FOLDER, good);
            d.SetDlgItemText(IDC_MACRO_FOLDER, macro);
            d.SendCommand(IDOK);
            EXPECT_EQ(d.GetFocusId(), readOnlySettings ? IDC_INLET_FOLDER : IDC_MACRO_FOLDER);
            // A row changed without a folder: a location is set here, never
            // removed.
            d.SetDlgItemText(IDC_INLET_FOLDER, "");
            d.SetDlgItemText(IDC_INLET_EXTENSION, "lc");
            d.SetDlgItemText(IDC_MACRO_FOLDER, "");
            d.SendCommand(IDOK);
            EXPECT_TRUE(d.IsWindowVisible());
        });
        EXPECT_EQ(ContentOrNone(settings), before);

        // korr2ld-cli says the same of the same location.
        const CliResult cli =
            RunCli({"locations", "set", readOnlySettings ? "LC_DB" : "MACRO", macro});
        const std::string prefix = "korr2ld-cli locations: ";
        ASSERT_TRUE(cli.exitCode == 1 && cli.err.compare(0, prefix.size(), prefix) == 0 &&
                    cli.err.back() == '\n')
            << cli.err;
        const std::string said = cli.err.substr(prefix.size(), cli.err.size() - prefix.size() - 1);
        const auto& boxes = CUiTestScript::MessageBoxes();
        ASSERT_EQ(boxes.size(), std::size_t(2));
        EXPECT_EQ(boxes[0].text, (readOnlySettings ? "Inlet methods: " : "Macros: ") + said + '.');
        EXPECT_EQ(boxes[0].caption, "Method Folders");
        EXPECT_EQ(boxes[1].text, "Inlet methods: a folder is needed; nothing was stored.");
    }
}

// With the data system's own settings library the folders are shown as it
// has them, and nothing can be changed or stored.
TEST(OptionsAbout, DataSystemsOwnSettingsAreShownReadOnly) {
    UiTestEnv env;
    const ScopedMinimalDataSystem minimal;
    MinimalSetLocation("MS_FUNC_DB", "/methods/ms/", "ms");
    CMethodFoldersDlg dlg;
    const INT_PTR result = RunModal<CMethodFoldersDlg>(dlg, [&](CMethodFoldersDlg& d) {
        EXPECT_EQ(d.GetDlgItemText(IDC_MS_FOLDER), "/methods/ms/");
        EXPECT_TRUE(IsReadOnly(d, IDC_MS_FOLDER) && IsReadOnly(d, IDC_MACRO_EXTENSION));
        EXPECT_FALSE(d.IsControlEnabled(IDC_INLET_BROWSE));
        std::string sentence = std::string(kLocationsSetInDataSystem) + '.';
        sentence[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(sentence[0])));
        EXPECT_EQ(d.GetDlgItemText(IDC_SETTINGS_FILE), sentence);
        d.SendCommand(IDOK);
    });
    EXPECT_EQ(result, INT_PTR(IDCANCEL));
    EXPECT_EQ(std::string(MinimalJournal()).find("StoreGlobalFile"), std::string::npos);
}
