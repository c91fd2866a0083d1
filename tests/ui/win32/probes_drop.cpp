// Drops on the Win32 twin: WM_DROPFILES as Explorer sends it, to a window
// that takes files (DragAcceptFiles).
#include "ui/platform/win32/WinApi.h"

#include "tests/ui/probes_drop.h"

#include <cstring>

#include "ui/platform/win32/DialogWindow.h"
#include "ui/platform/win32/WideText.h"

bool AcceptsDroppedFiles(CDialog& dlg) {
    return (GetWindowLongPtrW(dlg.Window().Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0;
}

DropAnswer DropFiles(CDialog& dlg, const std::vector<std::string>& paths) {
    if (!AcceptsDroppedFiles(dlg)) {
        return DropAnswer::kRefused;  // Explorer drops nothing there
    }
    std::wstring names;
    for (const std::string& path : paths) {
        names += Widen(path) + L'\0';
    }
    names += L'\0';
    const HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::memcpy(drop + 1, names.data(), names.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    // The window frees the memory (DragFinish) and answers zero when it
    // took the files; nothing asks it while they are dragged.
    return SendMessageW(dlg.Window().Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0) ==
                   0
               ? DropAnswer::kTaken
               : DropAnswer::kRefused;
}
