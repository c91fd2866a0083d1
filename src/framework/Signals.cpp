#include "framework/Signals.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstring>

namespace {

// A slot's state: free, being written by Hold, or armed (the handler
// removes its file).
enum SlotState : int { kFree = 0, kWriting = 1, kArmed = 2 };
static_assert(std::atomic<int>::is_always_lock_free, "the handler reads the states");

// Static storage: the handler may use nothing that needs allocating.
std::atomic<int> g_state[kInterruptCleanupFiles];
char g_path[kInterruptCleanupFiles][kInterruptCleanupPathBytes];

constexpr int kInterrupts[] = {SIGINT, SIGTERM, SIGHUP};

// Async-signal-safe: unlink, sigaction and raise only.
void OnInterrupt(int signal) {
    for (int i = 0; i < kInterruptCleanupFiles; ++i) {
        if (g_state[i].load(std::memory_order_acquire) == kArmed) {
            ::unlink(g_path[i]);
        }
    }
    // End as the signal ends a process that does not catch it.
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    ::sigaction(signal, &fallback, nullptr);
    ::raise(signal);
}

}  // namespace

void IgnoreFileSizeSignal() {
    std::signal(SIGXFSZ, SIG_IGN);
}

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

bool InterruptCleanup::Hold(const std::string& path) {
    Drop();
    if (path.empty() || path.size() >= kInterruptCleanupPathBytes ||
        path.find('\0') != std::string::npos) {
        return false;
    }
    for (int i = 0; i < kInterruptCleanupFiles; ++i) {
        int expected = kFree;
        if (g_state[i].compare_exchange_strong(expected, kWriting, std::memory_order_acquire)) {
            std::memcpy(g_path[i], path.c_str(), path.size() + 1);
            g_state[i].store(kArmed, std::memory_order_release);
            m_nSlot = i;
            return true;
        }
    }
    return false;
}

void InterruptCleanup::Drop() {
    if (m_nSlot >= 0) {
        g_state[m_nSlot].store(kFree, std::memory_order_release);
        m_nSlot = -1;
    }
}
