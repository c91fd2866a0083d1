// A message box with details behind "Show Details...", made in memory: the
// message (its text, and the further text below it), the buttons, and the
// details, a read-only edit named "Details" shown below the buttons once
// asked for, which Tab reaches and the keyboard scrolls like any other
// field (a task dialog's expanded text is no such field).
#include "ui/platform/win32/WinApi.h"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "ui/platform/CommonDialogs.h"
#include "ui/platform/win32/DialogWindow.h"
#include "ui/platform/win32/TemplateWriter.h"

namespace {

constexpr int kIconId = 100;
constexpr int kTextId = 101;
constexpr int kToggleId = 102;
constexpr int kDetailsId = 103;
constexpr int kDetailsLabelId = 104;
// Posted once the box is shown: runs the test's hook from its loop.
constexpr UINT kRunHook = WM_APP + 1;

// In dialog units.
constexpr int kMargin = 7;
constexpr int kWidth = 260;
constexpr int kIconSize = 21;
constexpr int kButtonWidth = 50;
constexpr int kToggleWidth = 64;
constexpr int kButtonHeight = 14;
constexpr int kDetailsHeight = 100;
constexpr int kLabelHeight = 10;

struct Box {
    std::wstring message;
    std::wstring details;
    UINT type;
};

MessageBoxShowHook& Hook() {
    static MessageBoxShowHook hook;
    return hook;
}

bool IsYesNo(UINT type) {
    return (type & MB_TYPEMASK) == MB_YESNO;
}

// TEXT with its lines ended as an edit and a static text show them.
std::wstring WindowsLines(const std::wstring& text) {
    std::wstring lines;
    for (const wchar_t c : text) {
        if (c == L'\n') {
            lines += L'\r';
        }
        lines += c;
    }
    return lines;
}

// A rectangle of dialog units in pixels.
RECT Pixels(HWND hWnd, int x, int y, int cx, int cy) {
    RECT rect{x, y, cx, cy};
    MapDialogRect(hWnd, &rect);
    return rect;
}

// The height in pixels of the message at the text's width.
int TextHeight(HWND hWnd, int width) {
    const HWND hText = GetDlgItem(hWnd, kTextId);
    const HDC hdc = GetDC(hText);
    const HGDIOBJ font =
        SelectObject(hdc, reinterpret_cast<HGDIOBJ>(SendMessageW(hWnd, WM_GETFONT, 0, 0)));
    RECT rect{0, 0, width, 0};
    const std::wstring text = WindowTextOf(hText);
    DrawTextW(hdc, text.c_str(), -1, &rect, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(hdc, font);
    ReleaseDC(hText, hdc);
    return rect.bottom;
}

// Places the parts under the measured message, the details (when shown)
// under the buttons, and fits the window to them.
void Layout(HWND hWnd, const Box& box, bool detailsShown) {
    const RECT unit = Pixels(hWnd, kMargin, kIconSize, kButtonWidth, kButtonHeight);
    const LONG margin = unit.left;
    const bool icon = (box.type & MB_ICONMASK) != 0;
    const LONG textX = icon ? 2 * margin + unit.top : margin;
    const LONG width = Pixels(hWnd, kWidth, 0, 0, 0).left;
    const LONG textHeight = TextHeight(hWnd, width - textX - margin);
    const LONG buttons = margin + std::max(icon ? unit.top : 0L, textHeight) + margin;
    const auto place = [hWnd](int id, LONG x, LONG y, LONG cx, LONG cy) {
        SetWindowPos(GetDlgItem(hWnd, id), nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
    };
    place(kIconId, margin, margin, unit.top, unit.top);
    place(kTextId, textX, margin, width - textX - margin, textHeight);
    place(kToggleId, margin, buttons, Pixels(hWnd, kToggleWidth, 0, 0, 0).left, unit.bottom);
    LONG x = width - margin - unit.right;
    for (const int id : {IDNO, IDYES, IDOK}) {
        if (const HWND hButton = GetDlgItem(hWnd, id)) {
            SetWindowPos(hButton, nullptr, x, buttons, unit.right, unit.bottom,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            x -= unit.right + margin / 2;
        }
    }
    const RECT label = Pixels(hWnd, 0, kLabelHeight, 0, kDetailsHeight);
    const LONG details = buttons + unit.bottom + margin + label.top;
    const LONG detailsHeight = label.bottom;
    place(kDetailsLabelId, margin, details - label.top, width - 2 * margin, label.top);
    place(kDetailsId, margin, details, width - 2 * margin, detailsHeight);
    RECT frame{0, 0, width,
               (detailsShown ? details + detailsHeight : buttons + unit.bottom) + margin};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(hWnd, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(hWnd, GWL_EXSTYLE)));
    SetWindowPos(hWnd, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void OnInit(HWND hWnd, const Box& box) {
    const UINT icon = box.type & MB_ICONMASK;
    if (icon != 0) {
        SendMessageW(GetDlgItem(hWnd, kIconId), STM_SETICON,
                     reinterpret_cast<WPARAM>(
                         LoadIconW(nullptr, icon == MB_ICONQUESTION ? IDI_QUESTION : IDI_WARNING)),
                     0);
    }
    const HWND hDetails = GetDlgItem(hWnd, kDetailsId);
    SetWindowTextW(hDetails, WindowsLines(box.details).c_str());
    SetAccessibleTexts(hDetails, L"Details", std::wstring());
    Layout(hWnd, box, false);
    const int answer = DefaultAnswer(box.type);
    SendMessageW(hWnd, DM_SETDEFID, answer, 0);
    SendMessageW(hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(hWnd, answer)), TRUE);
    if (Hook()) {
        PostMessageW(hWnd, kRunHook, 0, 0);
    }
}

INT_PTR CALLBACK BoxProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(hWnd, DWLP_USER, lParam);
        OnInit(hWnd, *reinterpret_cast<const Box*>(lParam));
        return FALSE;  // the focus is set
    }
    const auto* box = reinterpret_cast<const Box*>(GetWindowLongPtrW(hWnd, DWLP_USER));
    if (box == nullptr) {
        return FALSE;
    }
    const int closed = IsYesNo(box->type) ? IDNO : IDOK;  // Escape, the close box
    if (message == kRunHook && Hook()) {
        const MessageBoxShowHook run = Hook();
        ShowWindow(hWnd, SW_SHOWNORMAL);  // the dialog manager shows it when idle
        run(hWnd);
        if (IsWindowVisible(hWnd)) {
            EndDialog(hWnd, DefaultAnswer(box->type));
        }
        return TRUE;
    }
    if (message == WM_CLOSE) {
        EndDialog(hWnd, closed);
        return TRUE;
    }
    if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) {
        return FALSE;
    }
    const int id = LOWORD(wParam);
    if (id == kToggleId) {
        const HWND hDetails = GetDlgItem(hWnd, kDetailsId);
        const bool show = !IsWindowVisible(hDetails);
        ShowWindow(GetDlgItem(hWnd, kDetailsLabelId), show ? SW_SHOW : SW_HIDE);
        ShowWindow(hDetails, show ? SW_SHOW : SW_HIDE);
        SetDlgItemTextW(hWnd, kToggleId, show ? L"Hide Details" : L"Show Details...");
        Layout(hWnd, *box, show);
    } else if (id == IDOK || id == IDYES || id == IDNO) {
        EndDialog(hWnd, id);
    } else if (id == IDCANCEL) {
        EndDialog(hWnd, closed);
    }
    return TRUE;
}

}  // namespace

void SetMessageBoxShowHook(MessageBoxShowHook hook) {
    Hook() = std::move(hook);
}

bool MessageBoxShowHookSet() {
    return static_cast<bool>(Hook());
}

int ShowDetailsBox(HWND hOwner, const std::wstring& message, const std::wstring& caption, UINT type,
                   const std::wstring& details) {
    const Box box{WindowsLines(message), details, type};
    CTemplateWriter writer(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER, 0,
                           kWidth, 60, caption);
    const DWORD child = WS_CHILD | WS_VISIBLE;
    writer.AddControl(child | SS_ICON, 0, 0, 0, 0, 0, kIconId, kStaticAtom, nullptr, L"");
    writer.AddControl(child | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0, 0, kTextId, kStaticAtom, nullptr,
                      box.message);
    const bool yesNo = IsYesNo(type);
    const std::vector<int> answers = yesNo ? std::vector<int>{IDYES, IDNO} : std::vector<int>{IDOK};
    for (const int id : answers) {
        writer.AddControl(child | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0, 0, 0, id, kButtonAtom,
                          nullptr,
                          id == IDOK    ? L"OK"
                          : id == IDYES ? L"&Yes"
                                        : L"&No");
    }
    writer.AddControl(child | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0, 0, 0, kToggleId, kButtonAtom,
                      nullptr, L"Show Details...");
    // The label before the details names them, as Windows names a field.
    writer.AddControl(WS_CHILD | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0, 0, kDetailsLabelId, kStaticAtom,
                      nullptr, L"Details");
    writer.AddControl(WS_CHILD | WS_TABSTOP | WS_BORDER | WS_VSCROLL | ES_MULTILINE |
                          ES_AUTOVSCROLL | ES_READONLY,
                      0, 0, 0, 0, 0, kDetailsId, kEditAtom, nullptr, L"");
    const INT_PTR pressed = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), writer.Get(), hOwner,
                                                    BoxProc, reinterpret_cast<LPARAM>(&box));
    if (!yesNo) {
        return IDOK;
    }
    return pressed == IDYES ? IDYES : IDNO;
}
