// Identifiers of the program's resources: dialog templates, strings, the
// icon, controls and commands.
#pragma once

#include "ui/platform/WinDefs.h"

// Dialog templates.
inline constexpr UINT IDD_ABOUTBOX = 100;
inline constexpr UINT IDD_KORR2LD_DIALOG = 102;
inline constexpr UINT IDD_OPTIONS = 129;
inline constexpr UINT IDD_METHOD_FOLDERS = 130;

// Strings.
inline constexpr UINT IDS_ABOUTBOX = 101;

// The application icon.
inline constexpr UINT IDR_MAINFRAME = 128;

// Window menu entry of the About box (a system command below 0xF000).
inline constexpr UINT IDM_ABOUTBOX = 0x0010;

// Controls of the main dialog; the Options dialog uses 1010-1013 for its
// edits of the same values.
inline constexpr int IDC_CONVERT = 1000;
inline constexpr int IDC_SELECT_INPUT = 1001;
inline constexpr int IDC_INPUT_FILE = 1003;
inline constexpr int IDC_OUTPUT_FILE = 1007;
inline constexpr int IDC_SELECT_OUTPUT = 1009;
inline constexpr int IDC_MS_FILE = 1010;
inline constexpr int IDC_INLET_FILE = 1011;
inline constexpr int IDC_MACRO_FILE = 1012;
inline constexpr int IDC_DATA_FILE = 1013;

// The command that opens the Conversion Options dialog.
inline constexpr UINT IDC_OPTIONS = 1014;
// The command that shows what Convert would write, without writing it.
inline constexpr UINT IDC_PREVIEW = 1015;
// The command that opens the Method Folders dialog.
inline constexpr UINT IDC_METHOD_FOLDERS = 1016;

// Controls of the Method Folders dialog: per row (MS methods, inlet
// methods, macros) the folder, its Browse... button and the extension.
inline constexpr int IDC_MS_FOLDER = 1020;
inline constexpr int IDC_MS_BROWSE = 1021;
inline constexpr int IDC_MS_EXTENSION = 1022;
inline constexpr int IDC_INLET_FOLDER = 1023;
inline constexpr int IDC_INLET_BROWSE = 1024;
inline constexpr int IDC_INLET_EXTENSION = 1025;
inline constexpr int IDC_MACRO_FOLDER = 1026;
inline constexpr int IDC_MACRO_BROWSE = 1027;
inline constexpr int IDC_MACRO_EXTENSION = 1028;
inline constexpr int IDC_SETTINGS_FILE = 1029;
