// The busy window's titles and paintings on the Win32 twin: the dialog's
// window subclassed, seeing each WM_SETTEXT and WM_PAINT it is sent.
#include "ui/platform/win32/WinApi.h"

#include "tests/ui/probes_progress.h"

#include "ui/platform/win32/DialogWindow.h"
#include "ui/platform/win32/WideText.h"

class TitleWatch::Watcher {
public:
    explicit Watcher(HWND hWnd) : m_hWnd(hWnd) {
        SetPropW(m_hWnd, kProperty, this);
        m_previous = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc)));
        // Due at the first chance the message loop gets.
        InvalidateRect(m_hWnd, nullptr, TRUE);
    }
    ~Watcher() {
        SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_previous));
        RemovePropW(m_hWnd, kProperty);
    }
    Watcher(const Watcher&) = delete;
    Watcher& operator=(const Watcher&) = delete;

    std::vector<std::string> titles;
    bool paintedWhileCounting = false;

private:
    static constexpr const wchar_t* kProperty = L"k2lTitleWatch";

    static LRESULT CALLBACK Proc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* watcher = static_cast<Watcher*>(GetPropW(hWnd, kProperty));
        if (message == WM_PAINT) {
            watcher->paintedWhileCounting |= WindowTextOf(hWnd).find(L'-') != std::wstring::npos;
        }
        const LRESULT result = CallWindowProcW(watcher->m_previous, hWnd, message, wParam, lParam);
        if (message == WM_SETTEXT && result) {
            watcher->titles.push_back(Narrow(WindowTextOf(hWnd)));
        }
        return result;
    }

    HWND m_hWnd;
    WNDPROC m_previous = nullptr;
};

TitleWatch::TitleWatch(CDialog& dlg)
    : m_watcher(std::make_unique<Watcher>(dlg.Window().Handle())) {}

TitleWatch::~TitleWatch() = default;

const std::vector<std::string>& TitleWatch::Titles() const {
    return m_watcher->titles;
}

bool TitleWatch::PaintedWhileCounting() const {
    return m_watcher->paintedWhileCounting;
}
