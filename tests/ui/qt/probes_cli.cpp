// korr2ld-cli on Linux: the tests' child processes.
#include "tests/ui/probes_cli.h"

#include "support/child_process.h"

CliResult RunCli(const std::vector<std::string>& args) {
    const k2ltest::ChildResult child =
        k2ltest::ChildProcess::Start({.program = K2L_BIN_DIR "/korr2ld-cli", .args = args}).Wait();
    return {child.exitCode, child.err};
}
