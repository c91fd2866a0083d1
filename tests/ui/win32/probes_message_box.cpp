// Message boxes with details on the Win32 twin: the twin's box shown for
// real through its hook (ui/platform/win32/DialogWindow.h), driven through
// the dialog manager.
#include "ui/platform/win32/WinApi.h"

#include "tests/ui/probes_message_box.h"

#include "tests/ui/win32/accessible_text.h"
#include "tests/ui/win32/dialog_key.h"
#include "ui/platform/win32/DialogWindow.h"

namespace {

HWND Control(HWND hBox, const wchar_t* text) {
    for (HWND hChild = GetWindow(hBox, GW_CHILD); hChild != nullptr;
         hChild = GetWindow(hChild, GW_HWNDNEXT)) {
        if (WindowTextOf(hChild) == text) {
            return hChild;
        }
    }
    return nullptr;
}

}  // namespace

void VisitMessageBoxDetails(DetailsVisit* visit) {
    if (visit == nullptr) {
        SetMessageBoxShowHook(nullptr);
        return;
    }
    SetMessageBoxShowHook([visit](HWND hBox) {
        ++visit->boxes;
        SetForegroundWindow(hBox);
        SendMessageW(Control(hBox, L"Show Details..."), BM_CLICK, 0, 0);
        HWND hDetails = nullptr;
        for (int tab = 0; tab < 8 && hDetails == nullptr; ++tab) {
            PressInDialog(hBox, Key::kTab);
            const HWND hFocus = GetFocus();
            if ((GetWindowLongPtrW(hFocus, GWL_STYLE) & ES_MULTILINE) != 0) {
                hDetails = hFocus;
            }
        }
        visit->reached =
            hDetails != nullptr && AccessibleText(hDetails, AccessibleProperty::kName) == "Details";
        visit->scrolled = false;
        if (hDetails != nullptr) {
            PressInDialog(hBox, Key::kPageDown);
            visit->scrolled = SendMessageW(hDetails, EM_GETFIRSTVISIBLELINE, 0, 0) > 0;
        }
    });
}
