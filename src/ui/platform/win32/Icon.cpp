// The program's icon on Windows: icon resource 128 of the executable
// (korr2ld.rc), at the sizes the system asks for.
#include "ui/platform/win32/WinApi.h"

#include "ui/ResourceIds.h"
#include "ui/platform/Dialog.h"
#include "ui/platform/DialogTemplate.h"
#include "ui/platform/win32/DialogWindow.h"

struct IconResource {
    Win32Icon bigIcon;
    Win32Icon smallIcon;
};

HICON LoadIcon(UINT id) {
    if (id != IDR_MAINFRAME) {
        return nullptr;
    }
    // A shared resource, never released.
    static const IconResource* const mainIcon = [] {
        const HINSTANCE instance = GetModuleHandleW(nullptr);
        const auto load = [instance](int size) {
            return static_cast<Win32Icon>(LoadImageW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME),
                                                     IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
        };
        return new IconResource{load(GetSystemMetrics(SM_CXICON)),
                                load(GetSystemMetrics(SM_CXSMICON))};
    }();
    return mainIcon->bigIcon != nullptr ? mainIcon : nullptr;
}

void CDialog::SetIcon(HICON hIcon, BOOL bBigIcon) {
    if (hIcon == nullptr) {
        return;
    }
    SendMessageW(m_pWindow->Handle(), WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL,
                 reinterpret_cast<LPARAM>(bBigIcon ? hIcon->bigIcon : hIcon->smallIcon));
}
