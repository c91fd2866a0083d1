#include "framework/Signals.h"

#include <csignal>

void IgnoreFileSizeSignal() {
#ifdef SIGXFSZ  // POSIX only: Windows has no file size limit to signal
    std::signal(SIGXFSZ, SIG_IGN);
#endif
}
