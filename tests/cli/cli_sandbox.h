// CliSandbox: a scratch directory in which tests run korr2ld-cli as a
// subprocess, with HOME, XDG_CONFIG_HOME, XDG_STATE_HOME, XDG_CACHE_HOME and
// LUMENDA_HOME pointing into it so that no run touches the real user's
// files.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/scratch_dir.h"

// What a run of korr2ld-cli (or another program in the sandbox) did.
using RunResult = k2ltest::ChildResult;

class CliSandbox : public k2ltest::ScratchDir {
public:
    CliSandbox();

    // The sandbox itself, the current directory of every run.
    std::filesystem::path Dir() const { return Path(); }
    // Where the data system's settings file lives for the runs.
    std::filesystem::path LumendaHome() const { return Dir() / "lumenda"; }
    // XDG_STATE_HOME of the runs, where the conversion log goes.
    std::filesystem::path StateHome() const { return Dir() / "state"; }
    // XDG_CACHE_HOME of the runs, where the clash check keeps what it read.
    std::filesystem::path CacheHome() const { return Dir() / "cache"; }

    // Writes the example export (ExampleExport) as RELATIVE in the sandbox;
    // returns its path.
    std::string WriteExampleExport(const std::filesystem::path& relative = "plate7.txt") const;

    // Runs korr2ld-cli from K2L_BIN_DIR with ARGS.
    RunResult Cli(const std::vector<std::string>& args) const;

    // Starts korr2ld-cli with ARGS without waiting for it.
    k2ltest::ChildProcess Start(const std::vector<std::string>& args) const;
    // Waits at most TIMEOUT for RUN to end; a run still going then is killed
    // and the test fails.
    static RunResult Finish(k2ltest::ChildProcess& run, std::chrono::milliseconds timeout);

    // Runs PROGRAM (looked up in PATH) with ARGS and STDIN_TEXT on its input.
    RunResult Program(const std::string& program, const std::vector<std::string>& args,
                      const std::string& stdinText = std::string()) const;

private:
    k2ltest::Command CommandFor(const std::string& program, const std::vector<std::string>& args,
                                const std::string& stdinText) const;
};

// The bytes of examples/exports/plate7.txt, the export most runs convert
// (nine records).
std::string ExampleExport();

// True when TEXT (a run's output, say) holds PART.
inline bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// True when PROGRAM is found in PATH.
bool HaveProgram(const std::string& program);
