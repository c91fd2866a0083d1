// The text field probes on the Win32 twin: an edit control, or the edit
// control inside a combo box.
#include "ui/platform/win32/WinApi.h"

#include "tests/ui/probes_edit.h"

#include "ui/platform/win32/DialogWindow.h"
#include "ui/platform/win32/WideText.h"

namespace {

HWND EditOf(CDialog& dlg, int id) {
    const HWND hControl = dlg.Window().GetDlgItem(id);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (hControl != nullptr && GetComboBoxInfo(hControl, &info) && info.hwndItem != nullptr) {
        return info.hwndItem;
    }
    return hControl;
}

}  // namespace

std::string SelectedText(CDialog& dlg, int id) {
    const HWND hEdit = EditOf(dlg, id);
    if (hEdit == nullptr) {
        return std::string();
    }
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(hEdit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    const std::wstring text = WindowTextOf(hEdit);
    return start < end && end <= text.size() ? Narrow(text.substr(start, end - start))
                                             : std::string();
}

int CaretPosition(CDialog& dlg, int id) {
    const HWND hEdit = EditOf(dlg, id);
    if (hEdit == nullptr) {
        return -1;
    }
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(hEdit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(end);
}
