// Labels fitted to the desktop's font: a template's static text is as wide
// as the font it was designed with needed; where the desktop's font (or its
// scaling) needs more, the label widens into the free space to its right,
// as far as the next control on its line or the group box around it, and
// takes one line of the font's height. When the dialog moves to a screen of
// another DPI, its controls and font scale with it and the labels fit again.
#include "ui/platform/win32/WinApi.h"

#include <algorithm>
#include <vector>

#include "ui/platform/win32/DialogWindow.h"
#include "ui/platform/win32/TemplateWriter.h"
#include "ui/platform/win32/WideText.h"

namespace {

// The dialog units kept free between a widened label and what limits it.
constexpr int kTextMarginUnits = 2;

struct Placed {
    HWND hWnd;
    RECT rect;  // in the dialog's client coordinates
    bool groupBox;
};

bool IsGroupBox(HWND hWnd) {
    return (GetWindowLongPtrW(hWnd, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}

}  // namespace

void FitLabels(HWND hDialog) {
    std::vector<Placed> placed;
    for (HWND child = GetWindow(hDialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        RECT rect;
        GetWindowRect(child, &rect);
        MapWindowPoints(nullptr, hDialog, reinterpret_cast<POINT*>(&rect), 2);
        wchar_t className[16] = L"";
        GetClassNameW(child, className, 16);
        placed.push_back({child, rect, lstrcmpiW(className, L"Button") == 0 && IsGroupBox(child)});
    }
    RECT margin{0, 0, kTextMarginUnits, 0};
    MapDialogRect(hDialog, &margin);
    RECT client;
    GetClientRect(hDialog, &client);
    const HDC dc = GetDC(hDialog);
    const HGDIOBJ font = GetCurrentObject(dc, OBJ_FONT);
    for (Placed& label : placed) {
        wchar_t className[16] = L"";
        GetClassNameW(label.hWnd, className, 16);
        const LONG_PTR style = GetWindowLongPtrW(label.hWnd, GWL_STYLE);
        if (lstrcmpiW(className, L"Static") != 0 || (style & SS_TYPEMASK) == SS_ICON ||
            (style & SS_PATHELLIPSIS) != 0) {
            continue;
        }
        // Each label in its own font, which a DPI change replaces.
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(label.hWnd, WM_GETFONT, 0, 0)));
        RECT needed{0, 0, 0, 0};
        const std::wstring text = WindowTextOf(label.hWnd);
        DrawTextW(dc, text.c_str(), -1, &needed,
                  DT_CALCRECT | DT_SINGLELINE | ((style & SS_NOPREFIX) != 0 ? DT_NOPREFIX : 0));
        RECT rect = label.rect;
        if (needed.right > rect.right - rect.left) {
            LONG limit = client.right - margin.right;
            for (const Placed& other : placed) {
                if (other.hWnd == label.hWnd) {
                    continue;
                }
                if (other.groupBox) {
                    if (other.rect.left <= rect.left && other.rect.right >= rect.right &&
                        other.rect.top <= rect.top && other.rect.bottom >= rect.bottom) {
                        limit = std::min(limit, other.rect.right - margin.right);
                    }
                } else if (other.rect.left > rect.left && rect.top < other.rect.bottom &&
                           other.rect.top < rect.bottom) {
                    limit = std::min(limit, other.rect.left - margin.right);
                }
            }
            rect.right = std::max(rect.right, std::min(rect.left + needed.right, limit));
        }
        rect.bottom = std::max(rect.bottom, rect.top + needed.bottom);
        SetWindowPos(label.hWnd, nullptr, rect.left, rect.top, rect.right - rect.left,
                     rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SelectObject(dc, font);
    ReleaseDC(hDialog, dc);
}

HFONT ScaleDialog(HWND hDialog, HFONT hFont, UINT fromDpi, UINT toDpi) {
    // The same face, at the dialogs' point size for the new DPI.
    LOGFONTW logFont{};
    GetObjectW(hFont, sizeof logFont, &logFont);
    logFont.lfHeight = -MulDiv(kDialogFontPoints, static_cast<int>(toDpi), 72);
    const HFONT scaled = CreateFontIndirectW(&logFont);
    const auto scale = [fromDpi, toDpi](LONG value) {
        return MulDiv(value, static_cast<int>(toDpi), static_cast<int>(fromDpi));
    };
    for (HWND child = GetWindow(hDialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        RECT rect;
        GetWindowRect(child, &rect);
        wchar_t className[16] = L"";
        GetClassNameW(child, className, 16);
        if (lstrcmpiW(className, L"ComboBox") == 0) {
            // A combo box's height is that of its dropped-down list.
            SendMessageW(child, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&rect));
            rect.bottom = std::max(rect.bottom, rect.top);
            RECT field;
            GetWindowRect(child, &field);
            rect.top = field.top;
        }
        MapWindowPoints(nullptr, hDialog, reinterpret_cast<POINT*>(&rect), 2);
        // Each edge scaled, so that controls clear of each other stay so.
        const RECT moved{scale(rect.left), scale(rect.top), scale(rect.right), scale(rect.bottom)};
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(scaled), FALSE);
        SetWindowPos(child, nullptr, moved.left, moved.top, moved.right - moved.left,
                     moved.bottom - moved.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SendMessageW(hDialog, WM_SETFONT, reinterpret_cast<WPARAM>(scaled), FALSE);
    FitLabels(hDialog);
    InvalidateRect(hDialog, nullptr, TRUE);
    return scaled;
}
