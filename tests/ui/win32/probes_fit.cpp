// The fit probes on the Win32 twin: the dialog's child windows, GDI's
// measures in each control's own font (WM_GETFONT), MSAA for what a screen
// reader says, and the tooltip control's texts.
#include "ui/platform/win32/WinApi.h"

#include "tests/ui/probes_fit.h"

#include "tests/ui/win32/accessible_text.h"

#include "ui/platform/win32/DialogWindow.h"
#include "ui/platform/win32/TableWindow.h"
#include "ui/platform/win32/WideText.h"

namespace {

// A group box's title starts this many pixels in, with one pixel of clear
// frame on either side of its text (the system's own drawing).
constexpr int kGroupTitleIndent = 7;

std::wstring ClassOf(HWND hWnd) {
    wchar_t name[32] = L"";
    GetClassNameW(hWnd, name, 32);
    return name;
}

bool IsClass(HWND hWnd, const wchar_t* name) {
    return lstrcmpiW(ClassOf(hWnd).c_str(), name) == 0;
}

PixelRect BoxOf(const RECT& rect) {
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

PixelRect InDialog(HWND hDialog, HWND hControl) {
    RECT rect;
    GetWindowRect(hControl, &rect);
    MapWindowPoints(nullptr, hDialog, reinterpret_cast<POINT*>(&rect), 2);
    return BoxOf(rect);
}

// A device context with the font of window hWnd selected.
class FontDc {
public:
    explicit FontDc(HWND hWnd) : m_hWnd(hWnd), m_dc(GetDC(hWnd)) {
        m_old = SelectObject(m_dc, reinterpret_cast<HGDIOBJ>(SendMessageW(hWnd, WM_GETFONT, 0, 0)));
    }
    ~FontDc() {
        SelectObject(m_dc, m_old);
        ReleaseDC(m_hWnd, m_dc);
    }
    FontDc(const FontDc&) = delete;
    FontDc& operator=(const FontDc&) = delete;

    int Width(const std::wstring& text) const {
        SIZE size{0, 0};
        GetTextExtentPoint32W(m_dc, text.c_str(), static_cast<int>(text.size()), &size);
        return size.cx;
    }
    int LineHeight() const {
        TEXTMETRICW metrics;
        GetTextMetricsW(m_dc, &metrics);
        return metrics.tmHeight;
    }
    // TEXT as DrawText paints it into WIDTH with DT_PATH_ELLIPSIS.
    std::wstring PathElided(const std::wstring& text, int width) const {
        std::wstring painted = text + std::wstring(8, L'\0');  // room for the ellipsis
        RECT rect{0, 0, width, LineHeight()};
        DrawTextW(m_dc, painted.data(), static_cast<int>(text.size()), &rect,
                  DT_SINGLELINE | DT_NOPREFIX | DT_PATH_ELLIPSIS | DT_MODIFYSTRING | DT_CALCRECT);
        return painted.c_str();
    }

private:
    HWND m_hWnd;
    HDC m_dc;
    HGDIOBJ m_old;
};

HWND ControlOrField(CDialog& dlg, int id, bool field) {
    const HWND hControl = dlg.Window().GetDlgItem(id);
    if (field && hControl != nullptr && IsClass(hControl, L"ComboBox")) {
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        GetComboBoxInfo(hControl, &info);
        return info.hwndItem;
    }
    return hControl;
}

ShownControl Measure(HWND hDialog, HWND hControl) {
    ShownControl shown;
    shown.id = GetDlgCtrlID(hControl);
    shown.rect = InDialog(hDialog, hControl);
    shown.what = Narrow(ClassOf(hControl)) + " at " + std::to_string(shown.rect.x) + ',' +
                 std::to_string(shown.rect.y);
    shown.accessibleName = AccessibleText(hControl, AccessibleProperty::kName);
    shown.accessibleDescription = AccessibleText(hControl, AccessibleProperty::kDescription);
    const LONG_PTR style = GetWindowLongPtrW(hControl, GWL_STYLE);
    const FontDc dc(hControl);
    shown.lineHeight = dc.LineHeight();
    RECT client;
    GetClientRect(hControl, &client);
    std::wstring text = WindowTextOf(hControl);
    if (IsClass(hControl, L"Static")) {
        const bool path = (style & SS_PATHELLIPSIS) != 0;
        shown.shape = (style & SS_TYPEMASK) == SS_ICON ? Shape::kPicture
                      : path                           ? Shape::kPathLabel
                                                       : Shape::kLabel;
        text = path                         ? dc.PathElided(text, client.right)
               : (style & SS_NOPREFIX) == 0 ? StripMnemonic(text)
                                            : text;
        shown.textRoom = BoxOf(client);
    } else if (IsClass(hControl, L"Button")) {
        text = StripMnemonic(text);
        if ((style & BS_TYPEMASK) == BS_GROUPBOX) {
            // The system draws the frame's top line through the middle of
            // the title.
            shown.shape = Shape::kGroupBox;
            shown.titleOnFrameLine = true;
            shown.frameLineY = shown.lineHeight / 2;
            shown.textRoom = {kGroupTitleIndent - 1, 0, dc.Width(text) + 2, shown.lineHeight};
        } else {
            shown.shape = Shape::kButton;
            shown.takesFocus = true;
            shown.textRoom = BoxOf(client);
        }
    } else if (IsClass(hControl, L"ComboBox") || IsClass(hControl, L"Edit")) {
        shown.shape = Shape::kField;
        shown.takesFocus = true;
    }
    shown.text = Narrow(text);
    shown.textWidth = dc.Width(text);
    return shown;
}

}  // namespace

std::vector<ShownControl> ShownControls(CDialog& dlg) {
    const HWND hDialog = dlg.Window().Handle();
    std::vector<ShownControl> controls;
    for (HWND child = GetWindow(hDialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        controls.push_back(Measure(hDialog, child));
    }
    return controls;
}

PixelRect ClientArea(CDialog& dlg) {
    RECT client;
    GetClientRect(dlg.Window().Handle(), &client);
    return BoxOf(client);
}

int CaptionNeedsWidth(CDialog& dlg) {
    const HWND hDialog = dlg.Window().Handle();
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    const HFONT font = CreateFontIndirectW(&metrics.lfCaptionFont);
    const HDC dc = GetDC(hDialog);
    const HGDIOBJ old = SelectObject(dc, font);
    const std::wstring caption = WindowTextOf(hDialog);
    SIZE size{0, 0};
    GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
    TEXTMETRICW text;
    GetTextMetricsW(dc, &text);
    SelectObject(dc, old);
    ReleaseDC(hDialog, dc);
    DeleteObject(font);
    // The window's icon, its buttons (close; minimise and maximise with a
    // minimise box) and a character of padding on either side.
    const bool minimise = (GetWindowLongPtrW(hDialog, GWL_STYLE) & WS_MINIMIZEBOX) != 0;
    return size.cx + 2 * text.tmAveCharWidth + GetSystemMetrics(SM_CXSMICON) +
           (minimise ? 3 : 1) * GetSystemMetrics(SM_CXSIZE);
}

bool HasFixedSize(CDialog& dlg) {
    return (GetWindowLongPtrW(dlg.Window().Handle(), GWL_STYLE) & WS_THICKFRAME) == 0;
}

double TestScale() {
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi / 96.0;
}

double ScaleOf(CDialog& dlg) {
    return dlg.Window().Dpi() / 96.0;
}

bool MoveToScreenScale(CDialog& dlg, int percent) {
    const HWND hDialog = dlg.Window().Handle();
    const UINT dpi = MulDiv(96, percent, 100);
    const UINT old = dlg.Window().Dpi();
    // The rectangle the system offers: the client area scaled, the frame as
    // it is.
    RECT window;
    GetWindowRect(hDialog, &window);
    RECT client;
    GetClientRect(hDialog, &client);
    window.right += MulDiv(client.right, dpi, old) - client.right;
    window.bottom += MulDiv(client.bottom, dpi, old) - client.bottom;
    SendMessageW(hDialog, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&window));
    return true;
}

bool UseDesktopFont(const std::string& /*family*/, int /*points*/) {
    return false;  // dialogs have the shell's dialog font at the screen's scale
}

std::string AccessibleName(CDialog& dlg, int id, bool field) {
    return AccessibleText(ControlOrField(dlg, id, field), AccessibleProperty::kName);
}

std::string ToolTipOf(CDialog& dlg, int id) {
    return ToolTipText(dlg.Window().Handle(), dlg.Window().GetDlgItem(id));
}

std::string PaintedEllipsis() {
    return "...";  // DrawText's
}

CueShown CueOf(CDialog& dlg, int id) {
    const HWND hEdit = ControlOrField(dlg, id, true);
    std::wstring cue(1024, L'\0');
    SendMessageW(hEdit, EM_GETCUEBANNER, reinterpret_cast<WPARAM>(cue.data()), cue.size());
    cue.resize(lstrlenW(cue.c_str()));
    RECT client;
    GetClientRect(hEdit, &client);
    const LRESULT margins = SendMessageW(hEdit, EM_GETMARGINS, 0, 0);
    const FontDc dc(hEdit);
    return {Narrow(cue), dc.Width(cue), client.right - LOWORD(margins) - HIWORD(margins)};
}

bool ShowTableWindowOn(const TableWindowContent& content, int width, int height,
                       TableWindowShown& shown) {
    // Per-monitor aware: logical pixels are the device's.
    shown.screen = {0, 0, width, height};
    bool seen = false;
    SetTableWindowShowHook([&](HWND hWnd) {
        seen = true;
        RECT client;
        GetClientRect(hWnd, &client);
        shown.window = BoxOf(client);
        shown.close = InDialog(hWnd, GetDlgItem(hWnd, IDCANCEL));
        RECT units{0, 0, content.widthUnits, content.heightUnits};
        MapDialogRect(hWnd, &units);
        shown.sizeOfUnits = BoxOf(units);
    });
    const RECT work{0, 0, width, height};
    ShowTableWindowIn(content, nullptr, &work);
    SetTableWindowShowHook(nullptr);
    return seen;
}
