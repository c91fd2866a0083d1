#include <signal.h>
#include <unistd.h>

#include "framework/InterruptFiles.h"
#include "framework/Signals.h"

namespace {

constexpr int kInterrupts[] = {SIGINT, SIGTERM, SIGHUP};

void Unlink(const char* path) {
    ::unlink(path);
}

// Async-signal-safe: unlink, sigaction and raise only.
void OnInterrupt(int signal) {
    RemoveHeldFiles(Unlink);
    // End as the signal ends a process that does not catch it.
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    ::sigaction(signal, &fallback, nullptr);
    ::raise(signal);
}

}  // namespace

void RemoveFilesOnInterrupt() {
    for (const int signal : kInterrupts) {
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) != 0 || current.sa_handler == SIG_IGN) {
            continue;  // ignored by whoever started us (nohup): stays so
        }
        struct sigaction handler {};
        handler.sa_handler = OnInterrupt;
        sigemptyset(&handler.sa_mask);
        for (const int other : kInterrupts) {
            sigaddset(&handler.sa_mask, other);  // one clean-up at a time
        }
        ::sigaction(signal, &handler, nullptr);
    }
}
