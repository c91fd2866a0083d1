// What a dialog's window went through while the program was busy, the same
// on either twin (tests/ui/qt/probes_progress.cpp,
// tests/ui/win32/probes_progress.cpp).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ui/platform/Dialog.h"

// Watches DLG's window while it lives: each title it is given, in order,
// and whether it was painted while its title had a '-' (counted records).
// It also makes a painting of the whole window due at the first chance the
// event loop gets, so that one is due while the program is busy.
class TitleWatch {
public:
    explicit TitleWatch(CDialog& dlg);
    ~TitleWatch();
    TitleWatch(const TitleWatch&) = delete;
    TitleWatch& operator=(const TitleWatch&) = delete;

    const std::vector<std::string>& Titles() const;
    bool PaintedWhileCounting() const;

    class Watcher;  // the twin's

private:
    std::unique_ptr<Watcher> m_watcher;
};
