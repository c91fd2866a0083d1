#include "framework/Signals.h"

#include <atomic>
#include <csignal>
#include <cstring>

#include "framework/InterruptFiles.h"

namespace {

// A slot's state: free, being written by Hold, or armed (the handler
// removes its file).
enum SlotState : int { kFree = 0, kWriting = 1, kArmed = 2 };
static_assert(std::atomic<int>::is_always_lock_free, "the handler reads the states");

// Static storage: the handler may use nothing that needs allocating.
std::atomic<int> g_state[kInterruptCleanupFiles];
char g_path[kInterruptCleanupFiles][kInterruptCleanupPathBytes];

}  // namespace

void RemoveHeldFiles(void (*remove)(const char* path)) {
    for (int i = 0; i < kInterruptCleanupFiles; ++i) {
        if (g_state[i].load(std::memory_order_acquire) == kArmed) {
            remove(g_path[i]);
        }
    }
}

void IgnoreFileSizeSignal() {
#ifdef SIGXFSZ  // POSIX only: Windows has no file size limit to signal
    std::signal(SIGXFSZ, SIG_IGN);
#endif
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
