// CliSandbox: a temporary directory in which tests run korr2ld-cli as a
// subprocess, with HOME, XDG_CONFIG_HOME, XDG_STATE_HOME and LUMENDA_HOME
// pointing into the sandbox so that no run touches the real user's files.
// The directory and everything in it are removed at destruction.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

struct RunResult {
    int exitCode = -1;  // the exit status, or -1 when the process did not exit normally
    std::string out;
    std::string err;
};

// A run started by CliSandbox::Start and not yet collected by Finish.
struct StartedRun {
    int pid = -1;
    std::string stem;    // its standard streams go to STEM.in, .out and .err
    bool ended = false;  // reaped by Running
    int status = 0;      // the wait status once ended
};

class CliSandbox {
public:
    CliSandbox();
    ~CliSandbox();

    CliSandbox(const CliSandbox&) = delete;
    CliSandbox& operator=(const CliSandbox&) = delete;

    // The sandbox itself (symbolic links resolved), the current directory of
    // every run unless told otherwise.
    const std::filesystem::path& Dir() const { return m_dir; }
    // Where the data system's settings file lives for the runs.
    std::filesystem::path LumendaHome() const { return m_dir / "lumenda"; }
    // XDG_STATE_HOME of the runs, where the conversion log goes.
    std::filesystem::path StateHome() const { return m_dir / "state"; }

    // Runs korr2ld-cli from K2L_BIN_DIR with ARGS.
    RunResult Cli(const std::vector<std::string>& args) const;
    RunResult CliIn(const std::filesystem::path& cwd, const std::vector<std::string>& args) const;

    // Starts korr2ld-cli with ARGS in Dir() without waiting for it.
    StartedRun Start(const std::vector<std::string>& args) const;
    // False once RUN has ended (it is then reaped, and Finish does not wait).
    static bool Running(StartedRun& run);
    // Waits at most TIMEOUT for RUN to end; a run still going then is killed
    // and the test fails.
    static RunResult Finish(StartedRun& run, std::chrono::milliseconds timeout);

    // Runs PROGRAM (looked up in PATH) with ARGS and STDIN_TEXT on its input.
    RunResult Program(const std::string& program, const std::vector<std::string>& args,
                      const std::string& stdinText = std::string()) const;

    // Writes CONTENT to the file RELATIVE below the sandbox, creating
    // directories, and returns its path.
    std::filesystem::path Write(const std::filesystem::path& relative,
                                const std::string& content) const;

private:
    StartedRun Launch(const std::string& program, const std::vector<std::string>& args,
                      const std::filesystem::path& cwd, const std::string& stdinText) const;
    RunResult Spawn(const std::string& program, const std::vector<std::string>& args,
                    const std::filesystem::path& cwd, const std::string& stdinText) const;

    std::filesystem::path m_dir;
};

// The whole content of PATH ("" when it cannot be read).
std::string ReadFileBytes(const std::filesystem::path& path);

// True when PROGRAM is found in PATH.
bool HaveProgram(const std::string& program);
