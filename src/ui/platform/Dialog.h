// CDialog: a modal dialog built from a dialog template, with data exchange.
//
// A derived dialog names its template, lists its exchanges in
// DoDataExchange, and handles its commands in OnCommand (a button click
// sends the button's identifier; IDOK and IDCANCEL go to OnOK and OnCancel
// unless a derived class handles them first). DoModal builds the controls,
// runs OnInitDialog (whose base performs the first exchange towards the
// controls) and shows the dialog until EndDialog.
//
// The standard Cancel command (a Cancel button, Escape, the close box) goes
// through OnCancel: it ends with IDCANCEL and takes no data. OnOK takes the
// data with validation and ends with IDOK when it succeeds.
//
// Tests drive a modal dialog through a hook: SetModalHook(template, hook)
// makes DoModal call HOOK with the dialog once it is shown and modal, from
// its own event loop (so HOOK may click, type and open further dialogs). A
// dialog that HOOK leaves open ends with -1.
//
// Texts crossing this interface are the program's 8-bit strings in the
// locale's encoding, as paths are to the file system; record names go
// through data exchange (DataExchange.h), which checks them. The window
// itself is the twin's (CDialogWindow: qt/DialogWindow.h on Qt).
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/platform/DialogTemplate.h"
#include "ui/platform/Menu.h"

class CDataExchange;
class CDialogWindow;

class CDialog {
public:
    explicit CDialog(UINT nIDTemplate, CDialog* pParentWnd = nullptr);
    virtual ~CDialog();
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Runs the dialog; returns the value given to EndDialog, or -1 when
    // the dialog could not be created.
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);

    // Runs DoDataExchange towards the controls (FALSE) or from them with
    // validation (TRUE); returns FALSE when validation failed.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    // Controls exist from DoModal on.
    BOOL HasDlgItem(int nID) const;
    void EnableControl(int nID, BOOL bEnable);
    BOOL IsControlEnabled(int nID) const;
    // An edit whose text can be read, selected and copied but not changed.
    void SetReadOnly(int nID, BOOL bReadOnly);
    // A control's text: a label's, a button's, an edit's or a combo box's
    // edit field; empty when there is no control nID.
    std::string GetDlgItemText(int nID) const;
    // Shows TEXT in control nID as the program's: a static text gives it
    // back byte for byte, an edit shows it from its beginning (past its
    // typing limit), a combo box's edit field selects no entry.
    void SetDlgItemText(int nID, const std::string& text);
    // What control nID is called in messages and by a screen reader.
    std::string GetDlgItemName(int nID) const;
    void SetDlgItemToolTip(int nID, const std::string& text);
    // Puts the focus on control nID, selecting all of an edit's text.
    void GotoDlgCtrl(int nID);
    // The control that has the focus (a combo box for its edit field), or
    // 0 when none of the dialog's controls with an identifier has it.
    int GetFocusId() const;

    std::string GetWindowText() const;
    void SetWindowText(const std::string& text);
    // TRUE while the dialog is shown.
    BOOL IsWindowVisible() const;
    // The window's big (the desktop's large) or small icon.
    void SetIcon(HICON hIcon, BOOL bBigIcon);

    // Combo box nID: replaces its list with ENTRIES (names as Sample List
    // records hold them), in that order; the edit field keeps its text.
    void SetComboEntries(int nID, const std::vector<std::string>& entries);
    int GetComboCount(int nID) const;  // 0 without such a combo box
    std::string GetComboEntry(int nID, int nIndex) const;
    // What the empty field nID shows (SHOWN, short enough to be read whole
    // at the field's width) and what a screen reader and the tooltip say
    // of it (SAID, a whole sentence, after the field's description); both
    // empty: nothing. The field's text stays as it is.
    void SetCueBanner(int nID, const std::string& shown, const std::string& said);

    // The dialog's menus and their shortcuts (Menu.h). Once for each
    // dialog; a later call changes nothing.
    void SetMenus(const std::vector<Menu>& menus);

    // Lets files be dropped onto the dialog (OnDropFiles).
    void DragAcceptFiles(BOOL bAccept = TRUE);

    // As if the window menu (system command) or a control or menu entry
    // (command) had sent nID.
    void SendSysCommand(UINT nID, LPARAM lParam = 0) { OnSysCommand(nID, lParam); }
    void SendCommand(UINT nID) { OnCommand(nID); }

    // A message box over this dialog (AfxMessageBox, CommonDialogs.h).
    int MessageBox(const std::string& text, const std::string& caption, UINT nType,
                   const std::string& detail = std::string(),
                   const std::string& details = std::string());

    // The twin's window: for the twin, and for a test that looks at it.
    CDialogWindow& Window() const { return *m_pWindow; }

    using ModalHook = std::function<void(CDialog&)>;
    static void SetModalHook(UINT nIDTemplate, ModalHook hook) {
        s_modalHooks[nIDTemplate] = std::move(hook);
    }
    static void ClearModalHooks() { s_modalHooks.clear(); }

protected:
    virtual void DoDataExchange(CDataExchange* /*pDX*/) {}
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    // The standard Cancel command: a Cancel button, Escape, the close box.
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // The program's own window menu entries; the window manager carries out
    // its standard commands (close, minimise) itself.
    virtual void OnSysCommand(UINT /*nID*/, LPARAM /*lParam*/) {}
    // Returns TRUE when nID was handled.
    virtual BOOL OnCommand(UINT nID);
    // Files dragged over the dialog (bDrop FALSE: would they be taken?)
    // or dropped onto it (TRUE), by their paths; returns TRUE when the
    // dialog takes them. Only a drag made of local files alone gets here.
    virtual BOOL OnDropFiles(const std::vector<std::string>& /*paths*/, BOOL /*bDrop*/) {
        return FALSE;
    }

private:
    friend class CDialogWindow;  // sends the window's events to the handlers

    static inline std::map<UINT, ModalHook> s_modalHooks;

    UINT m_nIDTemplate;
    std::unique_ptr<CDialogWindow> m_pWindow;
    bool m_bEnded = false;
    bool m_bMenusSet = false;
    int m_nModalResult = -1;
};
