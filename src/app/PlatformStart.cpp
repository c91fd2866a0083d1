#include "app/PlatformStart.h"

#include <QByteArray>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <vector>

namespace {

struct HeldMessage {
    QtMsgType type;
    QByteArray category;
    QString text;
};

// The guard's state: one guard at a time, and Qt's handler is global too.
std::mutex g_lock;
std::vector<HeldMessage> g_held;
QtMessageHandler g_previous = nullptr;

// The one fatal message by which Qt says that no platform plugin started.
bool IsPlatformFailure(QtMsgType type, const QString& text) {
    return type == QtFatalMsg && text.contains(QLatin1String("Qt platform plugin"));
}

// Hands MESSAGE to the handler there was before the guard, or writes it as
// Qt's own handler would.
void PassOn(const HeldMessage& message) {
    const QMessageLogContext context(nullptr, 0, nullptr, message.category.constData());
    if (g_previous != nullptr) {
        g_previous(message.type, context, message.text);
    } else {
        const QString line = qFormatLogMessage(message.type, context, message.text);
        std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    }
}

// Every message held back so far, in order; none is held afterwards.
void PassOnHeld() {
    std::vector<HeldMessage> held;
    {
        const std::lock_guard<std::mutex> hold(g_lock);
        held.swap(g_held);
    }
    for (const HeldMessage& message : held) {
        PassOn(message);
    }
}

void HoldBack(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (IsPlatformFailure(type, text)) {
        // Inside a fatal message only the most basic calls are safe: write
        // the line and end without running anything else.
        const std::string line = DisplayFailureLine();
        std::fwrite(line.data(), 1, line.size(), stderr);
        std::fflush(stderr);
        std::_Exit(1);
    }
    const HeldMessage message{type, QByteArray(context.category ? context.category : "default"),
                              text};
    if (type == QtFatalMsg) {
        // Any other fatal message ends the program when this returns: it
        // and what came before it go out now.
        PassOnHeld();
        PassOn(message);
        return;
    }
    const std::lock_guard<std::mutex> hold(g_lock);
    g_held.push_back(message);
}

// "VALUE (NAME)" when the variable NAME is set and not empty.
std::string Named(const char* name) {
    const QByteArray value = qgetenv(name);
    return value.isEmpty() ? std::string() : value.toStdString() + " (" + name + ")";
}

}  // namespace

PlatformStartGuard::PlatformStartGuard() : m_active(true) {
    g_previous = qInstallMessageHandler(HoldBack);
}

void PlatformStartGuard::Passed() {
    if (!m_active) {
        return;
    }
    m_active = false;
    qInstallMessageHandler(g_previous);
    PassOnHeld();
    g_previous = nullptr;
}

std::string DisplayFailureLine() {
    const std::string x11 = Named("DISPLAY");
    const std::string wayland = Named("WAYLAND_DISPLAY");
    std::string displays;
    if (x11.empty() && wayland.empty()) {
        displays = "a display (DISPLAY and WAYLAND_DISPLAY are not set)";
    } else {
        displays = "the display " + x11 + (x11.empty() || wayland.empty() ? "" : " or ") + wayland;
    }
    const std::string platform = Named("QT_QPA_PLATFORM");
    return "korr2ld: cannot open " + displays +
           (platform.empty() ? std::string() : " with the Qt platform " + platform) +
           "; korr2ld-cli converts without one.\n";
}
