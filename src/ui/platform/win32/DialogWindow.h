// The Win32 window of a CDialog (ui/platform/Dialog.h): a modeless dialog
// made from the program's template in memory (TemplateWriter.h), run
// modally by the dialog's own message loop, so that its menu shortcuts and
// the tests' hook run inside it. Its dialog procedure sends the window's
// events (a button's click, Enter, Escape, the close box, the window menu,
// a drop of files) to the dialog's handlers.
#pragma once

#include "ui/platform/win32/WinApi.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ui/platform/Dialog.h"

class CDialogWindow {
public:
    CDialogWindow(CDialog& dialog, HWND hParent) : m_dialog(dialog), m_hParent(hParent) {}
    ~CDialogWindow();
    CDialogWindow(const CDialogWindow&) = delete;
    CDialogWindow& operator=(const CDialogWindow&) = delete;

    CDialog& Dialog() const { return m_dialog; }
    HWND Handle() const { return m_hWnd; }

    // The control nID, or nullptr. Controls exist from DoModal on.
    HWND GetDlgItem(int nID) const;
    const std::map<int, HWND>& Controls() const { return m_controls; }
    // What control nID is called: its label's text, the template's name
    // for it, or its own text, without mnemonics.
    std::string NameOf(int nID) const;

    // The bytes a static text was given (it shows them as UTF-8).
    std::map<int, std::string> m_staticBytes;

    // Creates the window, hidden, from DLGTEMPLATE; its WM_INITDIALOG runs
    // the dialog's OnInitDialog. FALSE when it could not be made.
    BOOL Create(const DialogTemplate& dlgTemplate);
    // Shows the window and runs its messages until the dialog has ended;
    // HOOK (when set) runs once from inside this loop.
    void RunModal(const CDialog::ModalHook& hook);
    void Destroy();
    // Handles MSG as the modal loop does: the menus' shortcuts, then the
    // dialog manager's keys (Tab, Enter, Escape, mnemonics), then the
    // window it is for. A test's keys go the same way.
    void Process(MSG& msg);

    // The tooltip of control nID (a path label's whole path).
    void SetToolTip(int nID, const std::wstring& text);
    // What a screen reader says of control nID after its name: its
    // description from the template, then SAID (a sentence; empty: none).
    void SetAccessibleDescription(int nID, const std::wstring& said);

    void SetMenus(const std::vector<Menu>& menus);
    // The context menu that SetMenus made, or nullptr.
    HMENU ContextMenu() const { return m_hContextMenu; }

    // The DPI the window is laid out for: its screen's when it was made,
    // then the one each DPI change brought.
    UINT Dpi() const { return m_dpi; }

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void TakeControls(const DialogTemplate& dlgTemplate);
    void OnCommandMessage(WPARAM wParam, LPARAM lParam);
    // TRUE when the dialog took the files.
    BOOL OnDropFiles(HDROP hDrop);
    void OnDpiChanged(UINT dpi, const RECT& offered);

    CDialog& m_dialog;
    HWND m_hParent;
    HWND m_hWnd = nullptr;
    HWND m_hToolTip = nullptr;
    HACCEL m_hAccelerators = nullptr;
    HMENU m_hContextMenu = nullptr;
    UINT m_dpi = USER_DEFAULT_SCREEN_DPI;
    HFONT m_hScaledFont = nullptr;  // the dialog's font at m_dpi, after a DPI change
    const DialogTemplate* m_pTemplate = nullptr;
    CDialog::ModalHook m_hook;
    std::map<int, HWND> m_controls;
    std::map<int, std::string> m_names;
    std::map<int, std::wstring> m_descriptions;  // the template's
    std::map<UINT, bool> m_commands;             // menu commands: TRUE for the window menu's
};

// The window of DIALOG, or nullptr (a parent given as nullptr).
inline HWND HandleOf(const CDialog* dialog) {
    return dialog != nullptr ? dialog->Window().Handle() : nullptr;
}

// What a screen reader says of control hControl: NAME (empty: the name
// Windows finds itself) and SAID after it (empty: nothing).
void SetAccessibleTexts(HWND hControl, const std::wstring& name, const std::wstring& said);

// Widens the dialog's labels where the desktop's font needs it (FitText.cpp).
void FitLabels(HWND hDialog);
// Scales the dialog's controls from FROMDPI to TODPI, gives them and the
// dialog HFONT's face at the dialogs' point size for TODPI, and fits the
// labels again; returns that font, which the caller deletes once the
// dialog no longer uses it.
HFONT ScaleDialog(HWND hDialog, HFONT hFont, UINT fromDpi, UINT toDpi);

// TEXT as shown, without its mnemonic markers ("&Data File": "Data File").
std::wstring StripMnemonic(const std::wstring& text);

// The text of window hWnd (a control's, a window's title).
std::wstring WindowTextOf(HWND hWnd);

// A message box over OWNER (AfxMessageBox, CommonDialogs.h).
int ShowMessageBox(HWND hOwner, const std::string& text, const std::string& caption, UINT type,
                   const std::string& detail = std::string(),
                   const std::string& details = std::string());
// A message box with MESSAGE and DETAILS behind "Show Details..."
// (DetailsBox.cpp); the answer as ShowMessageBox's.
int ShowDetailsBox(HWND hOwner, const std::wstring& message, const std::wstring& caption, UINT type,
                   const std::wstring& details);

// For a test that acts on a message box as a user would: while HOOK is
// set, a box with details is put to the installed stand-in as before and
// then shown for real, HOOK acting on it from its own message loop; a box
// HOOK leaves open is closed with its default answer.
using MessageBoxShowHook = std::function<void(HWND)>;
void SetMessageBoxShowHook(MessageBoxShowHook hook);
// TRUE while such a hook is set.
bool MessageBoxShowHookSet();
