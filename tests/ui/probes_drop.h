// Files dropped onto a dialog as the desktop's file manager drops them, the
// same on either twin (tests/ui/qt/probes_drop.cpp: a drag that enters the
// window, then its drop; tests/ui/win32/probes_drop.cpp: WM_DROPFILES as
// Explorer sends it, which asks nothing while the files are dragged).
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "ui/platform/Dialog.h"

// TRUE when DLG's window takes files dropped onto it at all.
bool AcceptsDroppedFiles(CDialog& dlg);

// How a dialog answered a drop. Where the window system asks the window
// while the files are dragged over it (Qt), kTaken and kRefused say that
// it answered the drag as it then answered the drop.
enum class DropAnswer { kTaken, kRefused, kDragAnsweredOtherwise };
inline std::ostream& operator<<(std::ostream& out, DropAnswer answer) {
    return out << (answer == DropAnswer::kTaken     ? "taken"
                   : answer == DropAnswer::kRefused ? "refused"
                                                    : "the drag answered otherwise");
}

// Drags the files PATHS (native paths) onto DLG and drops them there.
DropAnswer DropFiles(CDialog& dlg, const std::vector<std::string>& paths);
