// The program's resources: its dialog templates with their controls'
// accessible texts and its string table. (Its icon is the twin's:
// platform/qt/Icon.cpp.)
#include <array>

#include "ui/ResourceIds.h"
#include "ui/platform/DialogTemplate.h"

namespace {

// The program's name: the main dialog's caption, and what its icon says.
constexpr const char* kProgramName = "Korrin File Conversion";

// About Korrin File Conversion
constexpr std::array kAboutControls = {
    DialogControl{IDC_STATIC, ControlKind::Icon, kProgramName, 11, 17, 20, 20, CS_NONE,
                  IDR_MAINFRAME},
    DialogControl{IDC_STATIC, ControlKind::StaticText,
                  "Korrin File Conversion Version " K2L_VERSION, 40, 10, 119, 8, CS_NOPREFIX},
    DialogControl{IDC_STATIC, ControlKind::StaticText, "Licensed under the Apache License 2.0", 40,
                  25, 119, 8, CS_NONE},
    DialogControl{IDOK, ControlKind::PushButton, "OK", 178, 7, 32, 14,
                  CS_DEFPUSHBUTTON | CS_TABSTOP},
    DialogControl{IDC_STATIC, ControlKind::StaticText, "Korrin to Lumenda Sample List Conversion",
                  40, 44, 153, 8, CS_NONE},
};

// Korrin File Conversion (the main dialog)
constexpr std::array kMainControls = {
    DialogControl{IDC_CONVERT, ControlKind::PushButton, "&Convert", 63, 154, 50, 14,
                  CS_DEFPUSHBUTTON | CS_TABSTOP},
    DialogControl{IDCANCEL, ControlKind::PushButton, "Close", 7, 154, 50, 14, CS_TABSTOP},
    DialogControl{IDC_SELECT_INPUT, ControlKind::PushButton, "&Select...", 163, 15, 50, 14,
                  CS_TABSTOP},
    DialogControl{IDC_STATIC, ControlKind::GroupBox, "Korrin Input File", 7, 7, 212, 45, CS_NONE},
    DialogControl{IDC_INPUT_FILE, ControlKind::StaticText, "Static", 13, 37, 201, 8,
                  CS_PATHELLIPSIS},
    DialogControl{IDC_STATIC, ControlKind::GroupBox, "Sample List Output File", 7, 55, 212, 45,
                  CS_NONE},
    DialogControl{IDC_OUTPUT_FILE, ControlKind::StaticText, "Static", 13, 85, 199, 8,
                  CS_PATHELLIPSIS},
    DialogControl{IDC_SELECT_OUTPUT, ControlKind::PushButton, "S&elect...", 163, 63, 50, 14,
                  CS_TABSTOP},
    DialogControl{IDC_STATIC, ControlKind::StaticText, "Filename:", 13, 22, 33, 8, CS_NONE},
    DialogControl{IDC_STATIC, ControlKind::StaticText, "Filename:", 13, 70, 33, 8, CS_NONE},
    DialogControl{IDC_STATIC, ControlKind::GroupBox, "Options", 7, 103, 212, 46, CS_NONE},
    DialogControl{IDC_STATIC, ControlKind::StaticText, "&MS File", 13, 116, 28, 8, CS_NONE},
    DialogControl{IDC_MS_FILE, ControlKind::ComboBox, "", 47, 116, 61, 52, CS_TABSTOP},
    DialogControl{IDC_STATIC, ControlKind::StaticText, "&Inlet File", 13, 131, 28, 8, CS_NONE},
    DialogControl{IDC_INLET_FILE, ControlKind::ComboBox, "", 47, 131, 61, 52, CS_TABSTOP},
    DialogControl{IDC_STATIC, ControlKind::StaticText, "M&acro", 117, 116, 28, 8, CS_NONE},
    DialogControl{IDC_MACRO_FILE, ControlKind::ComboBox, "", 151, 116, 61, 52, CS_TABSTOP},
    DialogControl{IDC_STATIC, ControlKind::StaticText, "&Data File", 117, 131, 28, 8, CS_NONE},
    DialogControl{IDC_DATA_FILE, ControlKind::Edit, "", 151, 131, 45, 12, CS_BORDER | CS_TABSTOP},
};

// Conversion Options
constexpr unsigned kOptionEdit = CS_BORDER | CS_TABSTOP;
constexpr std::array kOptionsControls = {
    DialogControl{IDOK, ControlKind::PushButton, "OK", 7, 83, 50, 14,
                  CS_DEFPUSHBUTTON | CS_TABSTOP},
    DialogControl{IDCANCEL, ControlKind::PushButton, "Cancel", 64, 83, 50, 14, CS_TABSTOP},
    DialogControl{IDC_STATIC, ControlKind::StaticText, "&MS Name", 7, 7, 41, 8, CS_NONE},
    DialogControl{IDC_MS_FILE, ControlKind::Edit, "", 59, 7, 40, 14, kOptionEdit},
    DialogControl{IDC_STATIC, ControlKind::StaticText, "&Inlet Name", 7, 25, 42, 8, CS_NONE},
    DialogControl{IDC_INLET_FILE, ControlKind::Edit, "", 59, 25, 40, 14, kOptionEdit},
    DialogControl{IDC_STATIC, ControlKind::StaticText, "M&acro Name", 7, 43, 42, 8, CS_NONE},
    DialogControl{IDC_MACRO_FILE, ControlKind::Edit, "", 59, 43, 40, 14, kOptionEdit},
    DialogControl{IDC_STATIC, ControlKind::StaticText, "&Data File", 7, 61, 42, 8, CS_NONE},
    DialogControl{IDC_DATA_FILE, ControlKind::Edit, "", 59, 61, 40, 14, kOptionEdit},
};

// Method Folders: per row the folder, a folder chooser and the extension.
constexpr unsigned kFolderEdit = CS_BORDER | CS_TABSTOP;
constexpr std::array kMethodFoldersControls = {
    DialogControl{IDC_STATIC, ControlKind::StaticText, "Folder", 66, 7, 60, 8, CS_NONE},
    DialogControl{IDC_STATIC, ControlKind::StaticText, "Extension", 244, 7, 39, 8, CS_NONE},
    DialogControl{IDC_STATIC, ControlKind::StaticText, "&MS methods", 7, 22, 56, 8, CS_NONE},
    DialogControl{IDC_MS_FOLDER, ControlKind::Edit, "", 66, 19, 132, 14, kFolderEdit},
    DialogControl{IDC_MS_BROWSE, ControlKind::PushButton, "Browse...", 201, 19, 40, 14, CS_TABSTOP},
    DialogControl{IDC_MS_EXTENSION, ControlKind::Edit, "", 244, 19, 39, 14, kFolderEdit},
    DialogControl{IDC_STATIC, ControlKind::StaticText, "&Inlet methods", 7, 40, 56, 8, CS_NONE},
    DialogControl{IDC_INLET_FOLDER, ControlKind::Edit, "", 66, 37, 132, 14, kFolderEdit},
    DialogControl{IDC_INLET_BROWSE, ControlKind::PushButton, "Browse...", 201, 37, 40, 14,
                  CS_TABSTOP},
    DialogControl{IDC_INLET_EXTENSION, ControlKind::Edit, "", 244, 37, 39, 14, kFolderEdit},
    DialogControl{IDC_STATIC, ControlKind::StaticText, "M&acros", 7, 58, 56, 8, CS_NONE},
    DialogControl{IDC_MACRO_FOLDER, ControlKind::Edit, "", 66, 55, 132, 14, kFolderEdit},
    DialogControl{IDC_MACRO_BROWSE, ControlKind::PushButton, "Browse...", 201, 55, 40, 14,
                  CS_TABSTOP},
    DialogControl{IDC_MACRO_EXTENSION, ControlKind::Edit, "", 244, 55, 39, 14, kFolderEdit},
    DialogControl{IDC_SETTINGS_FILE, ControlKind::StaticText, "", 7, 77, 276, 8,
                  CS_NOPREFIX | CS_PATHELLIPSIS},
    DialogControl{IDOK, ControlKind::PushButton, "OK", 176, 92, 50, 14,
                  CS_DEFPUSHBUTTON | CS_TABSTOP},
    DialogControl{IDCANCEL, ControlKind::PushButton, "Cancel", 233, 92, 50, 14, CS_TABSTOP},
};

constexpr ControlText kAboutTexts[] = {
    {IDOK, nullptr, "Close the About box"},
};

constexpr ControlText kMainTexts[] = {
    {IDC_CONVERT, nullptr, "Write the Sample List from the Korrin input file with these names"},
    {IDCANCEL, nullptr, "Close the window; its values are remembered for the next start"},
    {IDC_SELECT_INPUT, "Select the Korrin input file",
     "Choose the exported Korrin file to convert; the Sample List and the data file name are "
     "named after it"},
    {IDC_INPUT_FILE, nullptr, "The Korrin input file"},
    {IDC_OUTPUT_FILE, nullptr, "The Sample List output file"},
    {IDC_SELECT_OUTPUT, "Select the Sample List output file",
     "Choose where the Sample List is written"},
    {IDC_MS_FILE, nullptr,
     "The MS method every record names; the list offers the files of the MS method folder"},
    {IDC_INLET_FILE, nullptr,
     "The inlet method every record names; the list offers the files of the inlet method folder"},
    {IDC_MACRO_FILE, nullptr,
     "The macro every record names; the list offers the files of the macro folder"},
    {IDC_DATA_FILE, nullptr,
     "The data file base name, at most 8 characters; its first five start every data file name"},
};

constexpr ControlText kOptionsTexts[] = {
    {IDOK, nullptr, "Take the four names into the main window"},
    {IDCANCEL, nullptr, "Close without changing the names"},
    {IDC_MS_FILE, nullptr, "The MS method name, at most 8 characters"},
    {IDC_INLET_FILE, nullptr, "The inlet method name, at most 8 characters"},
    {IDC_MACRO_FILE, nullptr, "The macro name"},
    {IDC_DATA_FILE, nullptr, "The data file base name, at most 8 characters"},
};

constexpr ControlText kMethodFoldersTexts[] = {
    {IDC_MS_FOLDER, nullptr, "The folder of the MS method files"},
    {IDC_MS_BROWSE, "Browse for the MS method folder", "Choose the MS method folder"},
    {IDC_MS_EXTENSION, "MS method extension",
     "The extension of the MS method files, without its dot; empty: every file"},
    {IDC_INLET_FOLDER, nullptr, "The folder of the inlet method files"},
    {IDC_INLET_BROWSE, "Browse for the inlet method folder", "Choose the inlet method folder"},
    {IDC_INLET_EXTENSION, "Inlet method extension",
     "The extension of the inlet method files, without its dot; empty: every file"},
    {IDC_MACRO_FOLDER, nullptr, "The folder of the macro files"},
    {IDC_MACRO_BROWSE, "Browse for the macro folder", "Choose the macro folder"},
    {IDC_MACRO_EXTENSION, "Macro extension",
     "The extension of the macro files, without its dot; empty: every file"},
    {IDC_SETTINGS_FILE, nullptr, "The data system's settings file, where the folders are stored"},
    {IDOK, nullptr, "Store the changed folders and extensions in the data system's settings"},
    {IDCANCEL, nullptr, "Close without storing anything"},
};

const DialogTemplate kAboutBox{
    IDD_ABOUTBOX, "About Korrin File Conversion", 217, 70, DS_NONE, kAboutControls, kAboutTexts};
const DialogTemplate kMainDialog{
    IDD_KORR2LD_DIALOG, kProgramName, 225, 172, DS_MINIMIZEBOX | DS_APPWINDOW,
    kMainControls,      kMainTexts};
const DialogTemplate kOptionsDialog{IDD_OPTIONS, "Conversion Options", 121,          104,
                                    DS_NONE,     kOptionsControls,     kOptionsTexts};
const DialogTemplate kMethodFoldersDialog{
    IDD_METHOD_FOLDERS,     "Method Folders",   290, 113, DS_NONE,
    kMethodFoldersControls, kMethodFoldersTexts};

}  // namespace

const DialogTemplate* FindDialogTemplate(UINT id) {
    switch (id) {
        case IDD_ABOUTBOX:
            return &kAboutBox;
        case IDD_KORR2LD_DIALOG:
            return &kMainDialog;
        case IDD_OPTIONS:
            return &kOptionsDialog;
        case IDD_METHOD_FOLDERS:
            return &kMethodFoldersDialog;
        default:
            return nullptr;
    }
}

std::string LoadString(UINT id) {
    switch (id) {
        case IDS_ABOUTBOX:
            return "&About Korrin File Conversion...";
        default:
            return std::string();
    }
}
