// The table window on Windows: a dialog made in memory with the summary, a
// report-style list view, the notes (a read-only edit that Tab reaches and
// the keyboard scrolls) and Close.
#include "ui/platform/win32/WinApi.h"

#include "ui/platform/win32/TableWindow.h"

#include <algorithm>

#include "ui/platform/CommonDialogs.h"
#include "ui/platform/win32/DialogWindow.h"
#include "ui/platform/win32/TemplateWriter.h"
#include "ui/platform/win32/WideText.h"

namespace {

constexpr int kSummaryId = 100;
constexpr int kTableId = 101;
constexpr int kNotesId = 102;
constexpr int kMargin = 7;
constexpr int kButtonWidth = 50;
constexpr int kButtonHeight = 14;
constexpr int kSummaryHeight = 16;

// Posted once the window is made: runs the tests' hook from its loop.
constexpr UINT kRunHook = WM_APP + 1;

TableWindowShowHook& Hook() {
    static TableWindowShowHook hook;
    return hook;
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

// Moves and resizes control ID by the given pixels.
void Shift(HWND hWnd, int id, int dx, int dy, int dcx, int dcy) {
    const HWND hControl = GetDlgItem(hWnd, id);
    RECT rect;
    GetWindowRect(hControl, &rect);
    MapWindowPoints(nullptr, hWnd, reinterpret_cast<POINT*>(&rect), 2);
    SetWindowPos(hControl, nullptr, rect.left + dx, rect.top + dy, rect.right - rect.left + dcx,
                 rect.bottom - rect.top + dcy, SWP_NOZORDER | SWP_NOACTIVATE);
}

// Cuts the window to WORK, the work area of its monitor, in that monitor's
// pixels (the dialog's units are the font's at the monitor's scale), down
// to the least size of its panes: the table gives up three quarters of the
// height, the notes a quarter, and Close keeps its corner.
void FitInto(HWND hWnd, const TableWindowContent& content, const RECT& work) {
    RECT window;
    GetWindowRect(hWnd, &window);
    RECT least{0, 0, content.leastPaneWidthUnits, content.leastPaneHeightUnits};
    MapDialogRect(hWnd, &least);
    RECT table;
    GetWindowRect(GetDlgItem(hWnd, kTableId), &table);
    RECT notes;
    GetWindowRect(GetDlgItem(hWnd, kNotesId), &notes);
    const auto excess = [](LONG have, LONG room, LONG spare) {
        return static_cast<int>(std::clamp<LONG>(have - room, 0, std::max<LONG>(spare, 0)));
    };
    const int cutX = excess(window.right - window.left, work.right - work.left,
                            table.right - table.left - least.right);
    const int cutTable = excess(window.bottom - window.top, work.bottom - work.top,
                                table.bottom - table.top - least.bottom) *
                         3 / 4;
    const int cutNotes = excess(window.bottom - window.top - cutTable, work.bottom - work.top,
                                notes.bottom - notes.top - least.bottom);
    if (cutX == 0 && cutTable == 0 && cutNotes == 0) {
        return;
    }
    Shift(hWnd, kSummaryId, 0, 0, -cutX, 0);
    Shift(hWnd, kTableId, 0, 0, -cutX, -cutTable);
    Shift(hWnd, kNotesId, 0, -cutTable, -cutX, -cutNotes);
    Shift(hWnd, IDCANCEL, -cutX, -cutTable - cutNotes, 0, 0);
    const int cx = window.right - window.left - cutX;
    const int cy = window.bottom - window.top - cutTable - cutNotes;
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
    if (message == WM_INITDIALOG) {
        const auto& shown = *reinterpret_cast<const Shown*>(lParam);
        const TableWindowContent& content = shown.content;
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoW(MonitorFromWindow(hWnd, MONITOR_DEFAULTTONEAREST), &monitor);
        FitInto(hWnd, content, shown.work != nullptr ? *shown.work : monitor.rcWork);
        FillTable(GetDlgItem(hWnd, kTableId), content);
        std::string notes;
        for (const std::string& note : content.notes) {
            notes += (notes.empty() ? "" : "\r\n") + note;
        }
        SetDlgItemTextW(
            hWnd, kNotesId,
            notes.empty() ? Widen(content.noNotes).c_str() : WidenRecordText(notes).c_str());
        if (Hook()) {
            PostMessageW(hWnd, kRunHook, 0, 0);
        }
        return TRUE;
    }
    if (message == kRunHook) {
        ShowWindow(hWnd, SW_SHOW);
        const TableWindowShowHook run = Hook();
        run(hWnd);
        EndDialog(hWnd, IDCANCEL);  // when the hook left it open
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
    const int cy =
        std::max(2 * content.leastPaneHeightUnits + kSummaryHeight + kButtonHeight + 4 * kMargin,
                 content.heightUnits);
    const int paneWidth = cx - 2 * kMargin;
    const int panes = cy - kSummaryHeight - kButtonHeight - 4 * kMargin;
    const int notesHeight = std::max(content.leastPaneHeightUnits, panes / 4);
    const int tableHeight = panes - notesHeight;

    CTemplateWriter writer(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER, 0, cx,
                           cy, Widen(content.title));
    const DWORD child = WS_CHILD | WS_VISIBLE;
    writer.AddControl(child | SS_LEFT | SS_NOPREFIX, 0, kMargin, kMargin, paneWidth, kSummaryHeight,
                      kSummaryId, kStaticAtom, nullptr, WidenRecordText(content.summary));
    writer.AddControl(child | WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_NOSORTHEADER |
                          LVS_SHOWSELALWAYS | LVS_SINGLESEL,
                      0, kMargin, kMargin + kSummaryHeight, paneWidth, tableHeight, kTableId, 0,
                      WC_LISTVIEWW, Widen(content.tableName));
    writer.AddControl(child | WS_TABSTOP | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_READONLY, 0,
                      kMargin, 2 * kMargin + kSummaryHeight + tableHeight, paneWidth, notesHeight,
                      kNotesId, kEditAtom, nullptr, std::wstring());
    writer.AddControl(child | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, cx - kMargin - kButtonWidth,
                      cy - kMargin - kButtonHeight, kButtonWidth, kButtonHeight, IDCANCEL,
                      kButtonAtom, nullptr, L"Close");
    const Shown shown{content, work};
    DialogBoxIndirectParamW(GetModuleHandleW(nullptr), writer.Get(), hParent, TableProc,
                            reinterpret_cast<LPARAM>(&shown));
}
