// The program's resources: its three dialog templates, its string table and
// its icon.
#include <QIcon>
#include <array>

#include "ui/ResourceIds.h"
#include "ui/platform/DialogBuilder.h"

namespace {

// About Korrin File Conversion
constexpr std::array kAboutControls = {
    DialogControl{IDC_STATIC, ControlKind::Icon, "", 11, 17, 20, 20, CS_NONE, IDR_MAINFRAME},
    DialogControl{IDC_STATIC, ControlKind::StaticText, "Korrin File Conversion Version 3.3", 40, 10,
                  119, 8, CS_NOPREFIX},
    DialogControl{IDC_STATIC, ControlKind::StaticText, "Licensed under the Apache License 2.0", 40,
                  25, 119, 8, CS_NONE},
    DialogControl{IDOK, ControlKind::PushButton, "OK", 178, 7, 32, 14,
                  CS_DEFPUSHBUTTON | CS_TABSTOP},
    DialogControl{IDC_STATIC, ControlKind::StaticText, "Korrin to Lumenda Sample List Conversion",
                  40, 44, 153, 8, CS_NONE},
};

// Korrin File Conversion (the main dialog)
constexpr unsigned kMethodCombo = CS_SORT | CS_TABSTOP;
constexpr std::array kMainControls = {
    DialogControl{IDC_CONVERT, ControlKind::PushButton, "&Convert", 63, 154, 50, 14,
                  CS_DEFPUSHBUTTON | CS_TABSTOP},
    DialogControl{IDCANCEL, ControlKind::PushButton, "Close", 7, 154, 50, 14, CS_TABSTOP},
    DialogControl{IDC_SELECT_INPUT, ControlKind::PushButton, "&Select...", 163, 15, 50, 14,
                  CS_TABSTOP},
    DialogControl{IDC_STATIC, ControlKind::GroupBox, "Korrin Input File", 7, 7, 212, 45, CS_NONE},
    DialogControl{IDC_INPUT_FILE, ControlKind::StaticText, "Static", 13, 37, 201, 8, CS_NONE},
    DialogControl{IDC_STATIC, ControlKind::GroupBox, "Sample List Output File", 7, 55, 212, 45,
                  CS_NONE},
    DialogControl{IDC_OUTPUT_FILE, ControlKind::StaticText, "Static", 13, 85, 199, 8, CS_NONE},
    DialogControl{IDC_SELECT_OUTPUT, ControlKind::PushButton, "S&elect...", 163, 63, 50, 14,
                  CS_TABSTOP},
    DialogControl{IDC_STATIC, ControlKind::StaticText, "Filename:", 13, 22, 33, 8, CS_NONE},
    DialogControl{IDC_STATIC, ControlKind::StaticText, "Filename:", 13, 70, 33, 8, CS_NONE},
    DialogControl{IDC_STATIC, ControlKind::GroupBox, "Options", 7, 103, 212, 46, CS_NONE},
    DialogControl{IDC_STATIC, ControlKind::StaticText, "&MS File", 13, 116, 28, 8, CS_NONE},
    DialogControl{IDC_MS_FILE, ControlKind::ComboBox, "", 47, 116, 61, 52, kMethodCombo},
    DialogControl{IDC_STATIC, ControlKind::StaticText, "&Inlet File", 13, 131, 28, 8, CS_NONE},
    DialogControl{IDC_INLET_FILE, ControlKind::ComboBox, "", 47, 131, 61, 52, kMethodCombo},
    DialogControl{IDC_STATIC, ControlKind::StaticText, "M&acro", 117, 116, 28, 8, CS_NONE},
    DialogControl{IDC_MACRO_FILE, ControlKind::ComboBox, "", 151, 116, 61, 52, kMethodCombo},
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

const DialogTemplate kAboutBox{IDD_ABOUTBOX,  "About Korrin File Conversion", 217, 70, DS_NONE,
                               kAboutControls};
const DialogTemplate kMainDialog{
    IDD_KORR2LD_DIALOG, "Korrin File Conversion", 225, 172, DS_MINIMIZEBOX | DS_APPWINDOW,
    kMainControls};
const DialogTemplate kOptionsDialog{IDD_OPTIONS, "Conversion Options", 121, 104,
                                    DS_NONE,     kOptionsControls};

}  // namespace

// The resource file lives in this static library; its data must be
// registered before the first lookup.
static void InitIconResources() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(korr2ld);
        return true;
    }();
    (void)registered;
}

const DialogTemplate* FindDialogTemplate(UINT id) {
    switch (id) {
        case IDD_ABOUTBOX:
            return &kAboutBox;
        case IDD_KORR2LD_DIALOG:
            return &kMainDialog;
        case IDD_OPTIONS:
            return &kOptionsDialog;
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

HICON LoadIcon(UINT id) {
    if (id != IDR_MAINFRAME) {
        return HICON();
    }
    // The installed icon theme's, at every size the desktop asks for; the
    // one embedded by resources/korr2ld.qrc (32 x 32 pixels, 16 colours)
    // when the program runs uninstalled.
    InitIconResources();
    return QIcon::fromTheme(QStringLiteral(K2L_APP_ID),
                            QIcon(QStringLiteral(":/korr2ld/korr2ld.xpm")));
}
