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
#pragma once

#include <QDialog>
#include <functional>
#include <map>
#include <string>

#include "ui/platform/DialogBuilder.h"

class CDataExchange;

class CDialog : public QDialog {
public:
    explicit CDialog(UINT nIDTemplate, QWidget* pParentWnd = nullptr)
        : QDialog(pParentWnd), m_nIDTemplate(nIDTemplate) {}

    // Runs the dialog; returns the value given to EndDialog, or -1 when
    // the dialog could not be created.
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);

    // Runs DoDataExchange towards the controls (FALSE) or from them with
    // validation (TRUE); returns FALSE when validation failed.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    // The control nID, or nullptr. Controls exist from DoModal on.
    QWidget* GetDlgItem(int nID) const;
    template <typename Control>
    Control* GetDlgItemAs(int nID) const {
        return dynamic_cast<Control*>(GetDlgItem(nID));
    }
    void EnableControl(int nID, BOOL bEnable);
    std::string GetWindowText() const;

    // As if the window menu (system command) or a control or menu entry
    // (command) had sent nID.
    void SendSysCommand(UINT nID, LPARAM lParam = 0) { OnSysCommand(nID, lParam); }
    void SendCommand(UINT nID) { OnCommand(nID); }

    // A message box over this dialog (ShowMessageBox); CAPTION, DETAIL and
    // DETAILS in the locale's 8-bit encoding.
    int MessageBox(const QString& text, const std::string& caption, UINT nType,
                   const std::string& detail = std::string(),
                   const std::string& details = std::string());

    using ModalHook = std::function<void(CDialog&)>;
    static void SetModalHook(UINT nIDTemplate, ModalHook hook) {
        s_modalHooks[nIDTemplate] = std::move(hook);
    }
    static void ClearModalHooks() { s_modalHooks.clear(); }

protected:
    virtual void DoDataExchange(CDataExchange* /*pDX*/) {}
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // The program's own window menu entries; the window manager carries out
    // its standard commands (close, minimise) itself.
    virtual void OnSysCommand(UINT /*nID*/, LPARAM /*lParam*/) {}
    // Returns TRUE when nID was handled.
    virtual BOOL OnCommand(UINT nID);

    // Escape, the close box and QDialog's own accept go through the
    // handlers above.
    void accept() override { OnOK(); }
    void reject() override { OnCancel(); }

private:
    static inline std::map<UINT, ModalHook> s_modalHooks;

    UINT m_nIDTemplate;
    std::map<int, QWidget*> m_controls;
    bool m_bEnded = false;
    int m_nModalResult = -1;
};
