// The controls' probes on the Win32 twin: the controls' own messages, and
// what Active Accessibility gives a screen reader.
#include "ui/platform/win32/WinApi.h"

#include "tests/ui/probes_fields.h"

#include "tests/ui/win32/accessible_text.h"
#include "ui/platform/win32/DialogWindow.h"
#include "ui/platform/win32/WideText.h"

namespace {

// Control ID's edit (a combo box's edit field included), or nullptr.
HWND EditOf(CDialog& dlg, int id) {
    const HWND hControl = dlg.Window().GetDlgItem(id);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (hControl != nullptr && GetComboBoxInfo(hControl, &info)) {
        return info.hwndItem;
    }
    return hControl;
}

bool IsStatic(HWND hWnd) {
    wchar_t name[16] = L"";
    GetClassNameW(hWnd, name, 16);
    return lstrcmpiW(name, L"Static") == 0;
}

bool ShowsPicture(HWND hStatic) {
    const LONG_PTR kind = GetWindowLongPtrW(hStatic, GWL_STYLE) & SS_TYPEMASK;
    return (kind == SS_ICON || kind == SS_BITMAP) &&
           SendMessageW(hStatic, STM_GETIMAGE, kind == SS_ICON ? IMAGE_ICON : IMAGE_BITMAP, 0) != 0;
}

// The dialog's labels, in the template's (the windows') order.
std::vector<HWND> Labels(CDialog& dlg) {
    std::vector<HWND> labels;
    for (HWND hChild = GetWindow(dlg.Window().Handle(), GW_CHILD); hChild != nullptr;
         hChild = GetWindow(hChild, GW_HWNDNEXT)) {
        if (IsStatic(hChild)) {
            labels.push_back(hChild);
        }
    }
    return labels;
}

}  // namespace

std::string CueBanner(CDialog& dlg, int id) {
    const HWND hControl = dlg.Window().GetDlgItem(id);
    if (hControl == nullptr) {
        return std::string();
    }
    wchar_t cue[256] = L"";
    SendMessageW(EditOf(dlg, id), EM_GETCUEBANNER, reinterpret_cast<WPARAM>(cue), 256);
    return Narrow(cue);
}

std::string AccessibleDescription(CDialog& dlg, int id) {
    return AccessibleText(dlg.Window().GetDlgItem(id), AccessibleProperty::kDescription);
}

bool IsReadOnly(CDialog& dlg, int id) {
    const HWND hEdit = EditOf(dlg, id);
    return hEdit != nullptr && (GetWindowLongPtrW(hEdit, GWL_STYLE) & ES_READONLY) != 0;
}

std::vector<std::string> LabelTexts(CDialog& dlg) {
    std::vector<std::string> texts;
    for (const HWND hLabel : Labels(dlg)) {
        if (!ShowsPicture(hLabel)) {
            texts.push_back(Narrow(WindowTextOf(hLabel)));
        }
    }
    return texts;
}

bool ShowsIcon(CDialog& dlg) {
    for (const HWND hLabel : Labels(dlg)) {
        if (ShowsPicture(hLabel)) {
            return true;
        }
    }
    return false;
}
