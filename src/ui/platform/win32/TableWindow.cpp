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

// The window's parts placed for a client area of CX x CY dialog units.
void Layout(HWND hWnd, const TableWindowContent& content, int cx, int cy) {
    const int paneWidth = cx - 2 * kMargin;
    const int panes = cy - kSummaryHeight - kButtonHeight - 4 * kMargin;
    const int notesHeight = std::max(content.leastPaneHeightUnits, panes / 4);
    const int tableHeight = panes - notesHeight;
    const auto place = [hWnd](int id, int x, int y, int width, int height) {
        RECT rect{x, y, x + width, y + height};
        MapDialogRect(hWnd, &rect);
        SetWindowPos(GetDlgItem(hWnd, id), nullptr, rect.left, rect.top, rect.right - rect.left,
                     rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
    };
    place(kSummaryId, kMargin, kMargin, paneWidth, kSummaryHeight);
    place(kTableId, kMargin, kMargin + kSummaryHeight, paneWidth, tableHeight);
    place(kNotesId, kMargin, 2 * kMargin + kSummaryHeight + tableHeight, paneWidth, notesHeight);
    place(IDCANCEL, cx - kMargin - kButtonWidth, cy - kMargin - kButtonHeight, kButtonWidth,
          kButtonHeight);
}

// Sizes the window to what CONTENT asks for, in dialog units of its font,
// cut to AVAILABLE (its frame and title included) down to the least size,
// lays it out and centres it there.
void FitInto(HWND hWnd, const TableWindowContent& content, const RECT& available) {
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(hWnd, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(hWnd, GWL_EXSTYLE)));
    const int frameWidth = frame.right - frame.left;
    const int frameHeight = frame.bottom - frame.top;
    const int availableWidth = available.right - available.left;
    const int availableHeight = available.bottom - available.top;
    RECT base{0, 0, 4, 8};  // one base unit each way
    MapDialogRect(hWnd, &base);
    const int roomX = std::max(0, availableWidth - frameWidth) * 4 / std::max(1L, base.right);
    const int roomY = std::max(0, availableHeight - frameHeight) * 8 / std::max(1L, base.bottom);
    const int cx =
        std::max(content.leastPaneWidthUnits + 2 * kMargin, std::min(content.widthUnits, roomX));
    const int cy =
        std::max(2 * content.leastPaneHeightUnits + kSummaryHeight + kButtonHeight + 4 * kMargin,
                 std::min(content.heightUnits, roomY));
    Layout(hWnd, content, cx, cy);
    RECT client{0, 0, cx, cy};
    MapDialogRect(hWnd, &client);
    const int width = client.right + frameWidth;
    const int height = client.bottom + frameHeight;
    SetWindowPos(hWnd, nullptr, available.left + std::max(0, (availableWidth - width) / 2),
                 available.top + std::max(0, (availableHeight - height) / 2), width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// What the window is made with.
struct Shown {
    const TableWindowContent& content;
    RECT available;
    const std::function<void(HWND)>& hook;
};

// Posted once the window is shown: runs a test's hook from its loop.
constexpr UINT kRunHook = WM_APP + 1;

INT_PTR CALLBACK TableProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(hWnd, DWLP_USER, lParam);
        const auto& shown = *reinterpret_cast<const Shown*>(lParam);
        const TableWindowContent& content = shown.content;
        FillTable(GetDlgItem(hWnd, kTableId), content);
        std::string notes;
        for (const std::string& note : content.notes) {
            notes += (notes.empty() ? "" : "\r\n") + note;
        }
        SetDlgItemTextW(
            hWnd, kNotesId,
            notes.empty() ? Widen(content.noNotes).c_str() : WidenRecordText(notes).c_str());
        FitInto(hWnd, content, shown.available);
        if (shown.hook) {
            PostMessageW(hWnd, kRunHook, 0, 0);
        }
        return TRUE;
    }
    if (message == kRunHook) {
        reinterpret_cast<const Shown*>(GetWindowLongPtrW(hWnd, DWLP_USER))->hook(hWnd);
        EndDialog(hWnd, IDCANCEL);
        return TRUE;
    }
    if ((message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) || message == WM_CLOSE) {
        EndDialog(hWnd, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

void ShowTableWindowIn(const TableWindowContent& content, HWND hParent, const RECT& available,
                       const std::function<void(HWND)>& hook) {
    // Made at the size asked for; FitInto sizes and lays it out.
    CTemplateWriter writer(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 0,
                           content.widthUnits, content.heightUnits, Widen(content.title));
    const DWORD child = WS_CHILD | WS_VISIBLE;
    writer.AddControl(child | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0, 0, kSummaryId, kStaticAtom,
                      nullptr, WidenRecordText(content.summary));
    writer.AddControl(child | WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_NOSORTHEADER |
                          LVS_SHOWSELALWAYS | LVS_SINGLESEL,
                      0, 0, 0, 0, 0, kTableId, 0, WC_LISTVIEWW, Widen(content.tableName));
    writer.AddControl(child | WS_TABSTOP | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_READONLY, 0,
                      0, 0, 0, 0, kNotesId, kEditAtom, nullptr, std::wstring());
    writer.AddControl(child | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 0, 0, 0, 0, IDCANCEL, kButtonAtom,
                      nullptr, L"Close");
    const Shown shown{content, available, hook};
    DialogBoxIndirectParamW(GetModuleHandleW(nullptr), writer.Get(), hParent, TableProc,
                            reinterpret_cast<LPARAM>(&shown));
}

void ShowTableWindow(const TableWindowContent& content, CDialog* parent) {
    if (ScriptedUser::s_pInstalled != nullptr) {
        return;  // a test sees the content, not the window
    }
    // The work area of the monitor the parent is on, or of the primary one.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(HandleOf(parent), MONITOR_DEFAULTTOPRIMARY), &monitor);
    ShowTableWindowIn(content, HandleOf(parent), monitor.rcWork, nullptr);
}
