// The table window on Windows: a dialog made in memory with the summary, a
// report-style list view, the notes (a read-only edit that Tab reaches and
// the keyboard scrolls, under a label that names them) and Close. Its frame
// changes its size; the table takes three quarters of the room the panes
// get, the notes the rest.
#include "ui/platform/win32/WinApi.h"

#include "ui/platform/win32/TableWindow.h"

#include <algorithm>

#include "ui/platform/CommonDialogs.h"
#include "ui/platform/win32/DialogWindow.h"
#include "ui/platform/win32/TemplateWriter.h"
#include "ui/platform/win32/WideText.h"

namespace {

constexpr int kSummaryId = kTableSummaryId;
constexpr int kTableId = kTableListId;
constexpr int kNotesId = kTableNotesId;
constexpr int kMargin = 7;
constexpr int kButtonWidth = 50;
constexpr int kButtonHeight = 14;
constexpr int kSummaryHeight = 16;
constexpr int kNotesLabelHeight = 10;
// Everything but the two panes, from top to bottom.
constexpr int kFixedHeight = kSummaryHeight + kNotesLabelHeight + kButtonHeight + 4 * kMargin;
constexpr int kNotesLabelId = 103;

// Posted once the window is made: runs the tests' hook from its loop.
constexpr UINT kRunHook = WM_APP + 1;

TableWindowShowHook& Hook() {
    static TableWindowShowHook hook;
    return hook;
}

// RECT's four numbers, in dialog units of hWnd's font, in pixels.
RECT Pixels(HWND hWnd, int x, int y, int cx, int cy) {
    RECT rect{x, y, cx, cy};
    MapDialogRect(hWnd, &rect);
    return rect;
}

// Places the parts in a client area of CX x CY pixels.
void Layout(HWND hWnd, const TableWindowContent& content, int cx, int cy) {
    const RECT unit = Pixels(hWnd, kMargin, kSummaryHeight, kButtonWidth, kButtonHeight);
    const RECT fixed = Pixels(hWnd, 0, kNotesLabelHeight, 0, kFixedHeight);
    const LONG margin = unit.left;
    const LONG summary = unit.top;
    const RECT least = Pixels(hWnd, 0, 0, 0, content.leastPaneHeightUnits);
    const LONG paneWidth = std::max(0L, cx - 2 * margin);
    const LONG panes = std::max(0L, cy - fixed.bottom);
    const LONG notes = std::max(least.bottom, panes / 4);
    const LONG table = std::max(0L, panes - notes);
    const auto place = [hWnd](int id, LONG x, LONG y, LONG width, LONG height) {
        SetWindowPos(GetDlgItem(hWnd, id), nullptr, x, y, width, height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    };
    place(kSummaryId, margin, margin, paneWidth, summary);
    place(kTableId, margin, margin + summary, paneWidth, table);
    const LONG label = 2 * margin + summary + table;
    place(kNotesLabelId, margin, label, paneWidth, fixed.top);
    place(kNotesId, margin, label + fixed.top, paneWidth, notes);
    place(IDCANCEL, cx - margin - unit.right, cy - margin - unit.bottom, unit.right, unit.bottom);
    InvalidateRect(hWnd, nullptr, TRUE);
}

// The least size of the window, frame included, at which every part is there.
POINT LeastSize(HWND hWnd, const TableWindowContent& content) {
    RECT rect = Pixels(hWnd, 0, 0, content.leastPaneWidthUnits + 2 * kMargin,
                       2 * content.leastPaneHeightUnits + kFixedHeight);
    AdjustWindowRectEx(&rect, static_cast<DWORD>(GetWindowLongPtrW(hWnd, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(hWnd, GWL_EXSTYLE)));
    return {rect.right - rect.left, rect.bottom - rect.top};
}

void FillTable(HWND hTable, const TableWindowContent& content) {
    ListView_SetExtendedListViewStyle(hTable, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    for (std::size_t column = 0; column < content.columns.size(); ++column) {
        std::wstring title = WidenRecordText(content.columns[column]);
        LVCOLUMNW lvColumn{};
        lvColumn.mask = LVCF_TEXT | LVCF_SUBITEM;
        lvColumn.pszText = title.data();
        lvColumn.iSubItem = static_cast<int>(column);
        SendMessageW(hTable, LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&lvColumn));
    }
    for (std::size_t row = 0; row < content.rows.size(); ++row) {
        for (std::size_t column = 0; column < content.rows[row].size(); ++column) {
            std::wstring text = WidenRecordText(content.rows[row][column]);
            LVITEMW item{};
            item.mask = LVIF_TEXT;
            item.iItem = static_cast<int>(row);
            item.iSubItem = static_cast<int>(column);
            item.pszText = text.data();
            SendMessageW(hTable, column == 0 ? LVM_INSERTITEMW : LVM_SETITEMTEXTW, row,
                         reinterpret_cast<LPARAM>(&item));
        }
    }
    // Each column as wide as its widest text, its title included.
    for (std::size_t index = 0; index < content.columns.size(); ++index) {
        const int column = static_cast<int>(index);
        ListView_SetColumnWidth(hTable, column, LVSCW_AUTOSIZE);
        const int cells = ListView_GetColumnWidth(hTable, column);
        // The title's text and the header's margins on either side of it.
        const std::wstring title = WidenRecordText(content.columns[index]);
        const int titleWidth =
            ListView_GetStringWidth(hTable, title.c_str()) + 4 * GetSystemMetrics(SM_CXEDGE) + 8;
        ListView_SetColumnWidth(hTable, column, std::max(cells, titleWidth));
    }
}

// Cuts the window to WORK, the work area of its monitor, in that monitor's
// pixels (the dialog's units are the font's at the monitor's scale), down
// to its least size, and centres it there; WM_SIZE lays the parts out.
void FitInto(HWND hWnd, const TableWindowContent& content, const RECT& work) {
    RECT window;
    GetWindowRect(hWnd, &window);
    const POINT least = LeastSize(hWnd, content);
    const LONG cx = std::max(least.x, std::min(window.right - window.left, work.right - work.left));
    const LONG cy = std::max(least.y, std::min(window.bottom - window.top, work.bottom - work.top));
    SetWindowPos(hWnd, nullptr, std::max(work.left, work.left + (work.right - work.left - cx) / 2),
                 std::max(work.top, work.top + (work.bottom - work.top - cy) / 2), cx, cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// What the window is made with.
struct Shown {
    const TableWindowContent& content;
    const RECT* work;  // nullptr: its monitor's work area
};

INT_PTR CALLBACK TableProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto* content =
        reinterpret_cast<const TableWindowContent*>(GetWindowLongPtrW(hWnd, DWLP_USER));
    if (message == WM_INITDIALOG) {
        const auto& shown = *reinterpret_cast<const Shown*>(lParam);
        content = &shown.content;
        SetWindowLongPtrW(hWnd, DWLP_USER, reinterpret_cast<LONG_PTR>(content));
        FillTable(GetDlgItem(hWnd, kTableId), *content);
        SetAccessibleTexts(GetDlgItem(hWnd, kTableId), WidenRecordText(content->tableName),
                           WidenRecordText(content->tableDescription));
        SetAccessibleTexts(GetDlgItem(hWnd, kNotesId), WidenRecordText(content->notesName),
                           std::wstring());
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoW(MonitorFromWindow(hWnd, MONITOR_DEFAULTTONEAREST), &monitor);
        FitInto(hWnd, *content, shown.work != nullptr ? *shown.work : monitor.rcWork);
        RECT client;
        GetClientRect(hWnd, &client);
        Layout(hWnd, *content, client.right, client.bottom);
        if (Hook()) {
            PostMessageW(hWnd, kRunHook, 0, 0);
        }
        std::string notes;
        for (const std::string& note : content->notes) {
            notes += (notes.empty() ? "" : "\r\n") + note;
        }
        SetDlgItemTextW(
            hWnd, kNotesId,
            notes.empty() ? Widen(content->noNotes).c_str() : WidenRecordText(notes).c_str());
        return TRUE;
    }
    if (message == kRunHook) {
        ShowWindow(hWnd, SW_SHOW);  // the dialog manager shows it only when idle
        const TableWindowShowHook run = Hook();
        run(hWnd);
        EndDialog(hWnd, IDCANCEL);  // when the hook left it open
        return TRUE;
    }
    if (message == WM_SIZE && content != nullptr) {
        Layout(hWnd, *content, LOWORD(lParam), HIWORD(lParam));
        return TRUE;
    }
    if (message == WM_GETMINMAXINFO && content != nullptr) {
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = LeastSize(hWnd, *content);
        return TRUE;
    }
    if ((message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) || message == WM_CLOSE) {
        EndDialog(hWnd, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

void SetTableWindowShowHook(TableWindowShowHook hook) {
    Hook() = std::move(hook);
}

void ShowTableWindow(const TableWindowContent& content, CDialog* parent) {
    if (ScriptedUser::s_pInstalled != nullptr && !Hook()) {
        return;  // a test sees the content, not the window
    }
    ShowTableWindowIn(content, HandleOf(parent), nullptr);
}

void ShowTableWindowIn(const TableWindowContent& content, HWND hParent, const RECT* work) {
    // The size asked for; cut to the screen once the window exists and its
    // units are known (FitInto).
    const int cx = std::max(content.leastPaneWidthUnits + 2 * kMargin, content.widthUnits);
    const int cy = std::max(2 * content.leastPaneHeightUnits + kFixedHeight, content.heightUnits);

    // The parts are placed when the window is made (Layout).
    CTemplateWriter writer(
        WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_MODALFRAME | DS_CENTER, 0, cx, cy,
        Widen(content.title));
    const DWORD child = WS_CHILD | WS_VISIBLE;
    writer.AddControl(child | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0, 0, kSummaryId, kStaticAtom,
                      nullptr, WidenRecordText(content.summary));
    writer.AddControl(child | WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_NOSORTHEADER |
                          LVS_SHOWSELALWAYS | LVS_SINGLESEL,
                      0, 0, 0, 0, 0, kTableId, 0, WC_LISTVIEWW, Widen(content.tableName));
    // The label before the notes names them, as Windows names a field.
    writer.AddControl(child | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0, 0, kNotesLabelId, kStaticAtom,
                      nullptr, WidenRecordText(content.notesName));
    writer.AddControl(child | WS_TABSTOP | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_READONLY, 0,
                      0, 0, 0, 0, kNotesId, kEditAtom, nullptr, std::wstring());
    writer.AddControl(child | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 0, 0, 0, 0, IDCANCEL, kButtonAtom,
                      nullptr, L"Close");
    const Shown shown{content, work};
    DialogBoxIndirectParamW(GetModuleHandleW(nullptr), writer.Get(), hParent, TableProc,
                            reinterpret_cast<LPARAM>(&shown));
}
