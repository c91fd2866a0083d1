// The built korr2ld-cli, run beside the dialogs to compare what both say,
// on either system (tests/ui/qt/probes_cli.cpp on Linux, tests/ui/win32/
// probes_cli.cpp on Windows).
#pragma once

#include <string>
#include <vector>

struct CliResult {
    int exitCode = -1;  // -1: it did not run
    std::string err;    // its standard error
};

// Runs korr2ld-cli with ARGS in this process's environment, and waits.
CliResult RunCli(const std::vector<std::string>& args);
