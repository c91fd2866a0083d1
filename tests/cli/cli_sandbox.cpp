#include "cli/cli_sandbox.h"

#include <unistd.h>

#include <cstdlib>
#include <sstream>

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

const std::string kCli = std::string(K2L_BIN_DIR) + "/korr2ld-cli";

RunResult RunToTheEnd(const k2ltest::Command& command) {
    k2ltest::ChildProcess run = k2ltest::ChildProcess::Start(command);
    if (!run.Started()) {
        ADD_FAILURE() << "could not run " << command.program;
    }
    return run.Wait();
}

}  // namespace

CliSandbox::CliSandbox() : ScratchDir("k2l-cli") {
    fs::create_directories(Dir() / "home");
    fs::create_directories(Dir() / "config");
    fs::create_directories(LumendaHome());
}

std::string CliSandbox::WriteExampleExport(const fs::path& relative) const {
    return Write(relative, ExampleExport());
}

RunResult CliSandbox::Cli(const std::vector<std::string>& args) const {
    return RunToTheEnd(CommandFor(kCli, args, std::string()));
}

RunResult CliSandbox::Program(const std::string& program, const std::vector<std::string>& args,
                              const std::string& stdinText) const {
    return RunToTheEnd(CommandFor(program, args, stdinText));
}

k2ltest::ChildProcess CliSandbox::Start(const std::vector<std::string>& args) const {
    return k2ltest::ChildProcess::Start(CommandFor(kCli, args, std::string()));
}

RunResult CliSandbox::Finish(k2ltest::ChildProcess& run, std::chrono::milliseconds timeout) {
    if (!run.Started()) {
        ADD_FAILURE() << "the run was not started";
        return RunResult();
    }
    RunResult result = run.Wait(timeout);
    if (result.timedOut) {
        ADD_FAILURE() << "a run did not end within " << timeout.count() << " ms; killed";
    }
    return result;
}

k2ltest::Command CliSandbox::CommandFor(const std::string& program,
                                        const std::vector<std::string>& args,
                                        const std::string& stdinText) const {
    return k2ltest::Command{
        .program = program,
        .args = args,
        .directory = Path(),
        .set = {"HOME=" + (Dir() / "home").string(),
                "XDG_CONFIG_HOME=" + (Dir() / "config").string(),
                "XDG_STATE_HOME=" + StateHome().string(), "XDG_CACHE_HOME=" + CacheHome().string(),
                "LUMENDA_HOME=" + LumendaHome().string()},
        .input = stdinText};
}

bool HaveProgram(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::stringstream directories(path != nullptr ? path : "");
    std::string directory;
    while (std::getline(directories, directory, ':')) {
        if (!directory.empty() && access((fs::path(directory) / program).c_str(), X_OK) == 0) {
            return true;
        }
    }
    return false;
}

std::string ExampleExport() {
    return k2ltest::ReadFile(fs::path(K2L_EXAMPLES_DIR) / "exports/plate7.txt");
}
