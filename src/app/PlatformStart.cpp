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

std::mutex g_lock;
std::vector<HeldMessage> g_held;

// The one fatal message by which Qt says that no platform plugin started.
bool IsPlatformFailure(QtMsgType type, const QString& text) {
    return type == QtFatalMsg && text.contains(QLatin1String("Qt platform plugin"));
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
    const std::lock_guard<std::mutex> hold(g_lock);
    g_held.push_back(
        HeldMessage{type, QByteArray(context.category ? context.category : "default"), text});
}

// "VALUE (NAME)" when the variable NAME is set and not empty.
std::string Named(const char* name) {
    const QByteArray value = qgetenv(name);
    return value.isEmpty() ? std::string() : value.toStdString() + " (" + name + ")";
}

}  // namespace

PlatformStartGuard::PlatformStartGuard()
    : m_previous(qInstallMessageHandler(HoldBack)), m_active(true) {}

void PlatformStartGuard::Passed() {
    if (!m_active) {
        return;
    }
    m_active = false;
    qInstallMessageHandler(m_previous);
    std::vector<HeldMessage> held;
    {
        const std::lock_guard<std::mutex> hold(g_lock);
        held.swap(g_held);
    }
    for (const HeldMessage& message : held) {
        const QMessageLogContext context(nullptr, 0, nullptr, message.category.constData());
        if (m_previous != nullptr) {
            m_previous(message.type, context, message.text);
        } else {
            const QString line = qFormatLogMessage(message.type, context, message.text);
            std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
        }
    }
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
