#include "ui/platform/win32/WinApi.h"

#include "ui/platform/Dialog.h"

#include "ui/platform/CommonDialogs.h"
#include "ui/platform/win32/DialogWindow.h"
#include "ui/platform/win32/TemplateWriter.h"
#include "ui/platform/win32/WideText.h"

namespace {

// Posted once the window is shown: runs the tests' hook from the loop.
constexpr UINT kRunHook = WM_APP + 1;

// The window scales itself on a DPI change (OnDpiChanged): the dialog
// manager's own scaling, where the system has one, is turned off.
void DisableDialogDpiScaling(HWND hDialog) {
    using SetBehavior =
        BOOL(WINAPI*)(HWND, DIALOG_DPI_CHANGE_BEHAVIORS, DIALOG_DPI_CHANGE_BEHAVIORS);
    static const auto set = reinterpret_cast<SetBehavior>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetDialogDpiChangeBehavior")));
    if (set != nullptr) {
        set(hDialog, DDC_DISABLE_ALL, DDC_DISABLE_ALL);
    }
}

bool TakesFocus(ControlKind kind) {
    return kind == ControlKind::PushButton || kind == ControlKind::ComboBox ||
           kind == ControlKind::Edit;
}

}  // namespace

std::wstring StripMnemonic(const std::wstring& text) {
    std::wstring plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size()) {
            ++i;
        }
        plain.push_back(text[i]);
    }
    return plain;
}

CDialog::CDialog(UINT nIDTemplate, CDialog* pParentWnd)
    : m_nIDTemplate(nIDTemplate),
      m_pWindow(std::make_unique<CDialogWindow>(*this, HandleOf(pParentWnd))) {}

CDialog::~CDialog() = default;

CDialogWindow::~CDialogWindow() {
    Destroy();
}

BOOL CDialogWindow::Create(const DialogTemplate& dlgTemplate) {
    if (m_hWnd != nullptr) {
        return TRUE;
    }
    m_pTemplate = &dlgTemplate;
    const CTemplateWriter writer = WriteDialogTemplate(dlgTemplate);
    return CreateDialogIndirectParamW(GetModuleHandleW(nullptr), writer.Get(), m_hParent,
                                      DialogProc, reinterpret_cast<LPARAM>(this)) != nullptr
               ? TRUE
               : FALSE;
}

void CDialogWindow::Destroy() {
    if (m_hWnd != nullptr) {
        DestroyWindow(m_hWnd);
        m_hWnd = nullptr;
    }
    if (m_hAccelerators != nullptr) {
        DestroyAcceleratorTable(m_hAccelerators);
        m_hAccelerators = nullptr;
    }
    if (m_hContextMenu != nullptr) {
        DestroyMenu(m_hContextMenu);
        m_hContextMenu = nullptr;
    }
    if (m_hScaledFont != nullptr) {
        DeleteObject(m_hScaledFont);
        m_hScaledFont = nullptr;
    }
    m_controls.clear();
    m_hToolTip = nullptr;
}

void CDialogWindow::TakeControls(const DialogTemplate& dlgTemplate) {
    std::wstring label;  // the last label with a mnemonic, before its field
    for (const DialogControl& control : dlgTemplate.controls) {
        const std::wstring text = Widen(control.text != nullptr ? control.text : "");
        if (control.kind == ControlKind::StaticText && (control.style & CS_NOPREFIX) == 0 &&
            text.find(L'&') != std::wstring::npos) {
            label = StripMnemonic(text);
        }
        if (control.id == IDC_STATIC) {
            continue;
        }
        m_controls[control.id] = ::GetDlgItem(m_hWnd, control.id);
        if (TakesFocus(control.kind)) {
            // A field is called by its label (the Windows way too: MSAA
            // names a field by the label before it); a button by its text.
            m_names[control.id] = Narrow(control.kind == ControlKind::PushButton || label.empty()
                                             ? StripMnemonic(text)
                                             : label);
            label.clear();
        }
    }
    for (const ControlText& text : dlgTemplate.texts) {
        const auto found = m_controls.find(text.id);
        if (found == m_controls.end()) {
            continue;
        }
        if (text.name != nullptr) {
            m_names[text.id] = text.name;
        }
        m_descriptions[text.id] = Widen(text.description);
        SetAccessibleTexts(found->second, std::wstring(), Widen(text.description));
    }
    for (const auto& [id, name] : m_names) {
        SetAccessibleTexts(GetDlgItem(id), Widen(name), std::wstring());
    }
}

std::string CDialogWindow::NameOf(int nID) const {
    const auto found = m_names.find(nID);
    if (found != m_names.end()) {
        return found->second;
    }
    const HWND hControl = GetDlgItem(nID);
    return hControl != nullptr ? Narrow(WindowTextOf(hControl)) : std::string();
}

HWND CDialogWindow::GetDlgItem(int nID) const {
    const auto found = m_controls.find(nID);
    return found != m_controls.end() ? found->second : nullptr;
}

void CDialogWindow::RunModal(const CDialog::ModalHook& hook) {
    m_hook = hook;
    const bool ownerEnabled = m_hParent != nullptr && IsWindowEnabled(m_hParent);
    if (ownerEnabled) {
        EnableWindow(m_hParent, FALSE);
    }
    ShowWindow(m_hWnd, SW_SHOW);
    SetForegroundWindow(m_hWnd);
    if (m_hook) {
        PostMessageW(m_hWnd, kRunHook, 0, 0);
    }
    MSG msg;
    while (!m_dialog.m_bEnded) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) {
                PostQuitMessage(static_cast<int>(msg.wParam));  // for the loop outside
            }
            break;
        }
        Process(msg);
    }
    if (ownerEnabled) {
        EnableWindow(m_hParent, TRUE);
        SetActiveWindow(m_hParent);
    }
    ShowWindow(m_hWnd, SW_HIDE);
}

void CDialogWindow::Process(MSG& msg) {
    if (m_hAccelerators != nullptr && TranslateAcceleratorW(m_hWnd, m_hAccelerators, &msg)) {
        return;
    }
    if (!IsDialogMessageW(m_hWnd, &msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

INT_PTR CALLBACK CDialogWindow::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* window = reinterpret_cast<CDialogWindow*>(lParam);
        SetWindowLongPtrW(hWnd, DWLP_USER, lParam);
        window->m_hWnd = hWnd;
        window->m_dpi = GetDpiForWindow(hWnd);
        DisableDialogDpiScaling(hWnd);
        window->TakeControls(*window->m_pTemplate);
        FitLabels(hWnd);
    }
    auto* window = reinterpret_cast<CDialogWindow*>(GetWindowLongPtrW(hWnd, DWLP_USER));
    return window != nullptr ? window->OnMessage(message, wParam, lParam) : FALSE;
}

INT_PTR CDialogWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            // The platform chooses the focus: the first tab stop.
            return m_dialog.OnInitDialog();
        case kRunHook:
            if (m_hook) {
                const CDialog::ModalHook run = std::move(m_hook);
                m_hook = nullptr;
                run(m_dialog);
                if (!m_dialog.m_bEnded) {
                    m_dialog.EndDialog(-1);
                }
            }
            return TRUE;
        case WM_COMMAND:
            OnCommandMessage(wParam, lParam);
            return TRUE;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) < 0xF000) {
                m_dialog.OnSysCommand(static_cast<UINT>(wParam), lParam);
                return TRUE;
            }
            return FALSE;  // move, minimise, close: the system's
        case WM_CLOSE:
            m_dialog.OnCancel();
            return TRUE;
        case WM_DROPFILES:
            // Zero when the files were taken, as from a window that
            // processed the message.
            SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT,
                              OnDropFiles(reinterpret_cast<HDROP>(wParam)) ? 0 : 1);
            return TRUE;
        case WM_CONTEXTMENU:
            if (m_hContextMenu != nullptr) {
                POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
                if (at.x == -1 && at.y == -1) {  // from the keyboard
                    RECT rect;
                    GetWindowRect(m_hWnd, &rect);
                    at = {rect.left + 8, rect.top + 8};
                }
                TrackPopupMenu(m_hContextMenu, TPM_RIGHTBUTTON, at.x, at.y, 0, m_hWnd, nullptr);
            }
            return TRUE;
        case WM_DPICHANGED:
            OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return TRUE;
        default:
            return FALSE;
    }
}

void CDialogWindow::OnCommandMessage(WPARAM wParam, LPARAM lParam) {
    const UINT id = LOWORD(wParam);
    const UINT code = HIWORD(wParam);
    if (lParam != 0 && code == BN_SETFOCUS && GetFocus() == reinterpret_cast<HWND>(lParam)) {
        // However a push button got the focus (its mnemonic, a click), it
        // becomes the default button, as the dialog manager makes one that
        // Tab reaches, so that Enter presses it. A notification that comes
        // after the focus has moved on changes nothing: the move would take
        // the focus back.
        SendMessageW(m_hWnd, WM_NEXTDLGCTL, static_cast<WPARAM>(lParam), TRUE);
        return;
    }
    if (lParam != 0 && code != BN_CLICKED) {
        return;  // a control's notification (a combo's, an edit's)
    }
    const auto menu = m_commands.find(id);
    if (lParam == 0 && menu != m_commands.end() && menu->second) {
        m_dialog.OnSysCommand(id, 0);
        return;
    }
    m_dialog.OnCommand(id);
}

BOOL CDialogWindow::OnDropFiles(HDROP hDrop) {
    std::vector<std::string> paths;
    const UINT count = DragQueryFileW(hDrop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileW(hDrop, i, nullptr, 0);
        std::wstring path(length + 1, L'\0');
        DragQueryFileW(hDrop, i, path.data(), length + 1);
        path.resize(length);
        paths.push_back(Narrow(path));
    }
    DragFinish(hDrop);
    return !paths.empty() && m_dialog.OnDropFiles(paths, TRUE);
}

void CDialogWindow::OnDpiChanged(UINT dpi, const RECT& offered) {
    // Per-monitor DPI: the window takes the rectangle it is offered, its
    // controls and font scale (the dialog manager's own scaling is off,
    // where there is one, so that this is the only), and the labels fit
    // the new font.
    SetWindowPos(m_hWnd, nullptr, offered.left, offered.top, offered.right - offered.left,
                 offered.bottom - offered.top, SWP_NOZORDER | SWP_NOACTIVATE);
    if (dpi == 0 || dpi == m_dpi) {
        return;
    }
    const HFONT current = m_hScaledFont != nullptr
                              ? m_hScaledFont
                              : reinterpret_cast<HFONT>(SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
    const HFONT scaled = ScaleDialog(m_hWnd, current, m_dpi, dpi);
    if (m_hScaledFont != nullptr) {
        DeleteObject(m_hScaledFont);
    }
    m_hScaledFont = scaled;
    m_dpi = dpi;
}

void CDialogWindow::SetToolTip(int nID, const std::wstring& text) {
    const HWND hControl = GetDlgItem(nID);
    if (hControl == nullptr) {
        return;
    }
    if (m_hToolTip == nullptr) {
        m_hToolTip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                     WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr,
                                     GetModuleHandleW(nullptr), nullptr);
        SendMessageW(m_hToolTip, TTM_SETMAXTIPWIDTH, 0, 600);
    }
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = m_hWnd;
    tool.uId = reinterpret_cast<UINT_PTR>(hControl);
    std::wstring shown = text;
    tool.lpszText = shown.data();
    SendMessageW(m_hToolTip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    if (!shown.empty()) {
        SendMessageW(m_hToolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

INT_PTR CDialog::DoModal() {
    const DialogTemplate* dlgTemplate = FindDialogTemplate(m_nIDTemplate);
    if (dlgTemplate == nullptr) {
        return -1;
    }
    m_bEnded = false;
    m_nModalResult = -1;
    CDialogWindow& window = *m_pWindow;
    if (!window.Create(*dlgTemplate)) {  // runs OnInitDialog
        return -1;
    }
    const ModalHook run = s_modalHooks[m_nIDTemplate];
    if (!m_bEnded && (run || ScriptedUser::s_pInstalled == nullptr)) {
        window.RunModal(run);
    }
    window.Destroy();
    return m_bEnded ? m_nModalResult : -1;
}

void CDialog::EndDialog(int nResult) {
    m_bEnded = true;
    m_nModalResult = nResult;
    if (const HWND hWnd = m_pWindow->Handle()) {
        // Gone from the screen at once, as the system's EndDialog does;
        // destroyed once the loop has returned.
        ShowWindow(hWnd, SW_HIDE);
        PostMessageW(hWnd, WM_NULL, 0, 0);  // wakes the loop
    }
}

BOOL CDialog::HasDlgItem(int nID) const {
    return m_pWindow->GetDlgItem(nID) != nullptr;
}

void CDialog::EnableControl(int nID, BOOL bEnable) {
    if (const HWND hControl = m_pWindow->GetDlgItem(nID)) {
        EnableWindow(hControl, bEnable);
    }
}

void CDialog::SetReadOnly(int nID, BOOL bReadOnly) {
    if (const HWND hControl = m_pWindow->GetDlgItem(nID)) {
        SendMessageW(hControl, EM_SETREADONLY, bReadOnly, 0);
    }
}

BOOL CDialog::IsControlEnabled(int nID) const {
    const HWND hControl = m_pWindow->GetDlgItem(nID);
    return hControl != nullptr && IsWindowEnabled(hControl) ? TRUE : FALSE;
}

std::string CDialog::GetDlgItemText(int nID) const {
    const HWND hControl = m_pWindow->GetDlgItem(nID);
    if (hControl == nullptr) {
        return std::string();
    }
    const auto given = m_pWindow->m_staticBytes.find(nID);
    if (given != m_pWindow->m_staticBytes.end()) {
        return given->second;
    }
    return Narrow(WindowTextOf(hControl));
}

void CDialog::SetDlgItemText(int nID, const std::string& text) {
    const HWND hControl = m_pWindow->GetDlgItem(nID);
    if (hControl == nullptr) {
        return;
    }
    wchar_t className[16] = L"";
    GetClassNameW(hControl, className, 16);
    if (lstrcmpiW(className, L"Static") == 0) {
        m_pWindow->m_staticBytes[nID] = text;
    } else if (lstrcmpiW(className, L"ComboBox") == 0) {
        SendMessageW(hControl, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    }
    SetWindowTextW(hControl, Widen(text).c_str());
    if (lstrcmpiW(className, L"Edit") == 0) {
        SendMessageW(hControl, EM_SETSEL, 0, 0);  // shown from its beginning
    }
}

std::string CDialog::GetDlgItemName(int nID) const {
    return m_pWindow->NameOf(nID);
}

void CDialog::SetDlgItemToolTip(int nID, const std::string& text) {
    m_pWindow->SetToolTip(nID, Widen(text));
}

void CDialog::GotoDlgCtrl(int nID) {
    const HWND hControl = m_pWindow->GetDlgItem(nID);
    if (hControl == nullptr) {
        return;
    }
    // The dialog manager's focus move, which selects all of an edit's text.
    SendMessageW(m_pWindow->Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hControl), TRUE);
    SetFocus(hControl);
    SendMessageW(hControl, EM_SETSEL, 0, -1);
    SendMessageW(hControl, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
}

int CDialog::GetFocusId() const {
    const HWND hFocus = GetFocus();
    for (const auto& [id, hControl] : m_pWindow->Controls()) {
        if (hFocus != nullptr && (hFocus == hControl || IsChild(hControl, hFocus))) {
            return id;
        }
    }
    return 0;
}

std::string CDialog::GetWindowText() const {
    return Narrow(WindowTextOf(m_pWindow->Handle()));
}

void CDialog::SetWindowText(const std::string& text) {
    SetWindowTextW(m_pWindow->Handle(), Widen(text).c_str());
}

BOOL CDialog::IsWindowVisible() const {
    return m_pWindow->Handle() != nullptr && ::IsWindowVisible(m_pWindow->Handle()) ? TRUE : FALSE;
}

void CDialog::SetComboEntries(int nID, const std::vector<std::string>& entries) {
    const HWND hCombo = m_pWindow->GetDlgItem(nID);
    if (hCombo == nullptr) {
        return;
    }
    const std::wstring shown = WindowTextOf(hCombo);
    SendMessageW(hCombo, CB_RESETCONTENT, 0, 0);
    for (const std::string& entry : entries) {
        SendMessageW(hCombo, CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(WidenRecordText(entry).c_str()));
    }
    SetWindowTextW(hCombo, shown.c_str());
}

int CDialog::GetComboCount(int nID) const {
    const HWND hCombo = m_pWindow->GetDlgItem(nID);
    return hCombo != nullptr ? static_cast<int>(SendMessageW(hCombo, CB_GETCOUNT, 0, 0)) : 0;
}

std::string CDialog::GetComboEntry(int nID, int nIndex) const {
    const HWND hCombo = m_pWindow->GetDlgItem(nID);
    if (hCombo == nullptr) {
        return std::string();
    }
    const LRESULT length = SendMessageW(hCombo, CB_GETLBTEXTLEN, static_cast<WPARAM>(nIndex), 0);
    if (length == CB_ERR) {
        return std::string();
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(hCombo, CB_GETLBTEXT, static_cast<WPARAM>(nIndex),
                 reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return Narrow(text);
}

void CDialog::SetCueBanner(int nID, const std::string& shown, const std::string& said) {
    const HWND hCombo = m_pWindow->GetDlgItem(nID);
    if (hCombo == nullptr) {
        return;
    }
    // On the combo box's edit field, which shows it (CB_SETCUEBANNER
    // passes it there, where the system's combo box has it).
    const std::wstring cue = Widen(shown);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    const HWND hEdit = GetComboBoxInfo(hCombo, &info) ? info.hwndItem : hCombo;
    SendMessageW(hEdit, EM_SETCUEBANNER, FALSE, reinterpret_cast<LPARAM>(cue.c_str()));
    m_pWindow->SetToolTip(nID, Widen(said));
    m_pWindow->SetAccessibleDescription(nID, Widen(said));
}

void CDialog::SetMenus(const std::vector<Menu>& menus) {
    if (m_bMenusSet) {
        return;
    }
    m_bMenusSet = true;
    m_pWindow->SetMenus(menus);
}

void CDialog::DragAcceptFiles(BOOL bAccept) {
    ::DragAcceptFiles(m_pWindow->Handle(), bAccept);
}

int CDialog::MessageBox(const std::string& text, const std::string& caption, UINT nType,
                        const std::string& detail, const std::string& details) {
    return ShowMessageBox(m_pWindow->Handle(), text, caption, nType, detail, details);
}
