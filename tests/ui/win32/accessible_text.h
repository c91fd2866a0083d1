// What Active Accessibility gives a screen reader of a window, and a
// control's tooltip, for the Win32 twin's probes.
#pragma once

#include "ui/platform/win32/WinApi.h"

#include <string>
#include <vector>

#include "ui/platform/win32/DialogWindow.h"
#include "ui/platform/win32/WideText.h"

enum class AccessibleProperty { kName, kDescription };

// PROPERTY of window hWnd's client object (UTF-8); empty when it has none.
inline std::string AccessibleText(HWND hWnd, AccessibleProperty property) {
    IAccessible* accessible = nullptr;
    if (hWnd == nullptr || FAILED(AccessibleObjectFromWindow(
                               hWnd, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                               reinterpret_cast<void**>(&accessible)))) {
        return std::string();
    }
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR said = nullptr;
    const HRESULT result = property == AccessibleProperty::kName
                               ? accessible->get_accName(self, &said)
                               : accessible->get_accDescription(self, &said);
    std::string text;
    if (SUCCEEDED(result) && said != nullptr) {
        text = Narrow(said);
        SysFreeString(said);
    }
    accessible->Release();
    return text;
}

// The tooltip windows that dialog hDialog owns, found window by window
// (EnumThreadWindows calls it with the system's calling convention).
struct ToolTipSearch {
    HWND hDialog;
    std::vector<HWND> tips;
};
inline BOOL CALLBACK CollectToolTip(HWND hWindow, LPARAM found) {
    auto* search = reinterpret_cast<ToolTipSearch*>(found);
    wchar_t name[32] = L"";
    GetClassNameW(hWindow, name, 32);
    if (lstrcmpiW(name, TOOLTIPS_CLASSW) == 0 && GetWindow(hWindow, GW_OWNER) == search->hDialog) {
        search->tips.push_back(hWindow);
    }
    return TRUE;
}

// The text of the tooltip that dialog hDialog shows for its control
// hControl; empty when none.
inline std::string ToolTipText(HWND hDialog, HWND hControl) {
    ToolTipSearch search{hDialog, {}};
    EnumThreadWindows(GetCurrentThreadId(), CollectToolTip, reinterpret_cast<LPARAM>(&search));
    for (const HWND hTip : search.tips) {
        wchar_t text[1024] = L"";
        TOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND;
        tool.hwnd = hDialog;
        tool.uId = reinterpret_cast<UINT_PTR>(hControl);
        tool.lpszText = text;
        SendMessageW(hTip, TTM_GETTEXTW, 1024, reinterpret_cast<LPARAM>(&tool));
        if (text[0] != L'\0') {
            return Narrow(text);
        }
    }
    return std::string();
}
