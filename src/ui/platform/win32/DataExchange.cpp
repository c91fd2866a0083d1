#include "ui/platform/win32/WinApi.h"

#include "ui/platform/DataExchange.h"

#include "ui/platform/Dialog.h"
#include "ui/platform/ExchangeMessages.h"
#include "ui/platform/win32/DialogWindow.h"
#include "ui/platform/win32/WideText.h"
#include "util/NameRule.h"

namespace {

enum class Kind { kNone, kStatic, kEdit, kCombo };

// Control nIDC of the exchange's dialog, remembered as the one that a
// failure concerns, and what kind of control it is.
Kind PrepareControl(CDataExchange* pDX, int nIDC, HWND& hControl) {
    pDX->PrepareEditCtrl(nIDC);
    hControl = pDX->m_pDlgWnd->Window().GetDlgItem(nIDC);
    if (hControl == nullptr) {
        return Kind::kNone;
    }
    wchar_t className[16] = L"";
    GetClassNameW(hControl, className, 16);
    if (lstrcmpiW(className, L"Static") == 0) {
        return Kind::kStatic;
    }
    if (lstrcmpiW(className, L"Edit") == 0) {
        return Kind::kEdit;
    }
    return lstrcmpiW(className, L"ComboBox") == 0 ? Kind::kCombo : Kind::kNone;
}

// The label of the exchange's last control for messages ("this" when it
// has none).
std::string FieldOf(const CDataExchange* pDX) {
    const std::string field = pDX->m_pDlgWnd->GetDlgItemName(pDX->LastControl());
    return field.empty() ? "this" : field;
}

[[noreturn]] void Refuse(CDataExchange* pDX, const std::string& message) {
    pDX->m_pDlgWnd->MessageBox(message, pDX->m_pDlgWnd->GetWindowText(),
                               MB_OK | MB_ICONEXCLAMATION);
    pDX->Fail();
}

// Takes the text typed into hControl as record text, or fails the exchange.
void TakeRecordText(CDataExchange* pDX, HWND hControl, std::string& value) {
    std::string offending;
    unsigned code = 0;
    if (!NarrowRecordText(WindowTextOf(hControl), value, offending, code)) {
        Refuse(pDX, NotRecordTextMessage(FieldOf(pDX), offending, code));
    }
}

}  // namespace

void DDX_Text(CDataExchange* pDX, int nIDC, std::string& value) {
    HWND hControl = nullptr;
    const Kind kind = PrepareControl(pDX, nIDC, hControl);
    CDialog& dialog = *pDX->m_pDlgWnd;
    if (kind == Kind::kStatic) {
        if (pDX->m_bSaveAndValidate) {
            value = dialog.GetDlgItemText(nIDC);
        } else {
            dialog.SetDlgItemText(nIDC, value);
            // Elided in the middle when too wide; the whole path here.
            dialog.SetDlgItemToolTip(nIDC, value);
        }
    } else if (kind == Kind::kEdit) {
        if (pDX->m_bSaveAndValidate) {
            TakeRecordText(pDX, hControl, value);
        } else {
            SetWindowTextW(hControl, WidenRecordText(value).c_str());
            SendMessageW(hControl, EM_SETSEL, 0, 0);
        }
    }
}

void DDX_PathText(CDataExchange* pDX, int nIDC, std::string& value) {
    HWND hControl = nullptr;
    if (PrepareControl(pDX, nIDC, hControl) != Kind::kEdit) {
        return;
    }
    if (pDX->m_bSaveAndValidate) {
        value = Narrow(WindowTextOf(hControl));
    } else {
        SetWindowTextW(hControl, Widen(value).c_str());
        SendMessageW(hControl, EM_SETSEL, 0, 0);
    }
}

void DDX_CBString(CDataExchange* pDX, int nIDC, std::string& value) {
    HWND hCombo = nullptr;
    if (PrepareControl(pDX, nIDC, hCombo) != Kind::kCombo) {
        return;
    }
    if (pDX->m_bSaveAndValidate) {
        TakeRecordText(pDX, hCombo, value);
        return;
    }
    const std::wstring text = WidenRecordText(value);
    // The first entry that begins with the text, ignoring case; an empty
    // value stays empty (it would begin every entry).
    const LRESULT found = text.empty()
                              ? CB_ERR
                              : SendMessageW(hCombo, CB_FINDSTRING, static_cast<WPARAM>(-1),
                                             reinterpret_cast<LPARAM>(text.c_str()));
    if (found != CB_ERR) {
        SendMessageW(hCombo, CB_SETCURSEL, static_cast<WPARAM>(found), 0);
    } else {
        SendMessageW(hCombo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        SetWindowTextW(hCombo, text.c_str());
    }
}

void DDV_MaxChars(CDataExchange* pDX, const std::string& value, int nChars) {
    HWND hControl = pDX->m_pDlgWnd->Window().GetDlgItem(pDX->LastControl());
    if (!pDX->m_bSaveAndValidate) {
        // What the user types stops at nChars; text set by the program
        // may be longer, as the edit's limit applies to typing only.
        wchar_t className[16] = L"";
        if (hControl != nullptr && GetClassNameW(hControl, className, 16) > 0 &&
            lstrcmpiW(className, L"Edit") == 0) {
            SendMessageW(hControl, EM_LIMITTEXT, static_cast<WPARAM>(nChars), 0);
        }
        return;
    }
    if (value.size() > static_cast<std::size_t>(nChars)) {
        Refuse(pDX, TooManyCharsMessage(nChars, FieldOf(pDX)));
    }
}

void DDV_PlainName(CDataExchange* pDX, const std::string& value) {
    if (!pDX->m_bSaveAndValidate) {
        return;
    }
    if (const NameFault fault = FindNameFault(value, kPlainName); fault != NameFault::kNone) {
        Refuse(pDX, NotPlainNameMessage(FieldOf(pDX), fault));
    }
}
