// Process.h on POSIX systems.
#include <sys/resource.h>
#include <unistd.h>

#include "framework/Process.h"

unsigned long ProcessId() {
    return static_cast<unsigned long>(getpid());
}

std::optional<std::uint64_t> FileSizeLimit() {
    rlimit limit;
    if (getrlimit(RLIMIT_FSIZE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(limit.rlim_cur);
}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

void PrepareStandardStreams() {}
