// The table window on the Win32 twin: its dialog's controls, through the
// twin's hook (ui/platform/win32/TableWindow.h), and keys through the
// dialog manager (the window is no CDialog, which the scripted user's
// Press takes).
#include "ui/platform/win32/WinApi.h"

#include "tests/ui/probes_table.h"

#include "tests/ui/win32/accessible_text.h"
#include "tests/ui/win32/dialog_key.h"
#include "ui/platform/win32/DialogWindow.h"
#include "ui/platform/win32/TableWindow.h"
#include "ui/platform/win32/WideText.h"

class ShownTable {
public:
    explicit ShownTable(HWND hWnd) : handle(hWnd) {}
    HWND handle;
};

namespace {

std::string CellText(HWND hList, int row, int column) {
    wchar_t text[1024] = L"";
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 1024;
    SendMessageW(hList, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&item));
    return Narrow(text);
}

// The edit's text with its lines separated by '\n' alone, not "\r\n".
std::string Lines(const std::wstring& text) {
    std::string lines;
    for (const char c : Narrow(text)) {
        if (c != '\r') {
            lines.push_back(c);
        }
    }
    return lines;
}

}  // namespace

void OnTableWindowShown(std::function<void(ShownTable&)> hook) {
    if (!hook) {
        SetTableWindowShowHook(nullptr);
        return;
    }
    SetTableWindowShowHook([hook = std::move(hook)](HWND hWnd) {
        ShownTable shown(hWnd);
        hook(shown);
    });
}

TableView ViewOf(ShownTable& shown) {
    const HWND hList = GetDlgItem(shown.handle, kTableListId);
    const HWND hNotes = GetDlgItem(shown.handle, kTableNotesId);
    TableView view;
    view.summary = Narrow(WindowTextOf(GetDlgItem(shown.handle, kTableSummaryId)));
    const auto header = reinterpret_cast<HWND>(SendMessageW(hList, LVM_GETHEADER, 0, 0));
    const int columns = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
    const int rows = static_cast<int>(SendMessageW(hList, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row) {
        std::vector<std::string>& cells = view.cells.emplace_back();
        for (int column = 0; column < columns; ++column) {
            cells.push_back(CellText(hList, row, column));
        }
    }
    view.notes = Lines(WindowTextOf(hNotes));
    view.tableName = AccessibleText(hList, AccessibleProperty::kName);
    view.notesName = AccessibleText(hNotes, AccessibleProperty::kName);
    view.resizable = (GetWindowLongPtrW(shown.handle, GWL_STYLE) & WS_THICKFRAME) != 0;
    return view;
}

void FocusTable(ShownTable& shown) {
    SetForegroundWindow(shown.handle);
    SetActiveWindow(shown.handle);
    SendMessageW(shown.handle, WM_NEXTDLGCTL,
                 reinterpret_cast<WPARAM>(GetDlgItem(shown.handle, kTableListId)), TRUE);
}

void PressIn(ShownTable& shown, Key key) {
    PressInDialog(shown.handle, key);
}

TablePart FocusedPart(ShownTable& shown) {
    const HWND hFocus = GetFocus();
    if (hFocus == nullptr) {
        return TablePart::kOther;
    }
    if (hFocus == GetDlgItem(shown.handle, kTableListId)) {
        return TablePart::kTable;
    }
    if (hFocus == GetDlgItem(shown.handle, kTableNotesId)) {
        return TablePart::kNotes;
    }
    return hFocus == GetDlgItem(shown.handle, IDCANCEL) ? TablePart::kClose : TablePart::kOther;
}

bool IsShown(ShownTable& shown) {
    return IsWindow(shown.handle) && IsWindowVisible(shown.handle);
}
