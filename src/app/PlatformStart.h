// Starting the dialog's application on a display that cannot be opened.
// Qt ends such a start with a fatal message of its own, which tells the
// user to reinstall the program, and an abort. While a PlatformStartGuard
// is alive, Qt's messages are held back; when the platform cannot be
// started, the program writes one line naming the display and pointing to
// korr2ld-cli instead, and ends at once with exit status 1. Any other fatal
// message goes out as it comes, after those held back before it.
//
//   PlatformStartGuard guard;
//   QApplication application(argc, argv);
//   guard.Passed();  // the messages held back go out as they would have
#pragma once

#include <QtGlobal>
#include <string>

class PlatformStartGuard {
public:
    PlatformStartGuard();
    ~PlatformStartGuard() { Passed(); }
    PlatformStartGuard(const PlatformStartGuard&) = delete;
    PlatformStartGuard& operator=(const PlatformStartGuard&) = delete;

    // The platform has started: puts back the message handler there was
    // before and hands it every message held back, in order. Only the
    // first call does anything.
    void Passed();

private:
    bool m_active = false;
};

// The line said when the platform cannot start: the displays named by
// DISPLAY and WAYLAND_DISPLAY, the Qt platform when QT_QPA_PLATFORM chooses
// one, and korr2ld-cli as the way without a display.
std::string DisplayFailureLine();
