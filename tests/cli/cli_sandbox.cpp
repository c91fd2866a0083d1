#include "cli/cli_sandbox.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>

extern char** environ;

namespace fs = std::filesystem;

namespace {

constexpr const char* kSandboxVariables[] = {"HOME", "XDG_CONFIG_HOME", "XDG_STATE_HOME",
                                             "LUMENDA_HOME"};

bool IsSandboxVariable(const char* entry) {
    for (const char* name : kSandboxVariables) {
        const std::size_t length = std::strlen(name);
        if (std::strncmp(entry, name, length) == 0 && entry[length] == '=') {
            return true;
        }
    }
    return false;
}

}  // namespace

CliSandbox::CliSandbox() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern =
        std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/k2l-cli-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (mkdtemp(buffer.data()) == nullptr) {
        ADD_FAILURE() << "mkdtemp failed for " << pattern;
        return;
    }
    m_dir = fs::canonical(buffer.data());
    fs::create_directories(m_dir / "home");
    fs::create_directories(m_dir / "config");
    fs::create_directories(LumendaHome());
}

CliSandbox::~CliSandbox() {
    if (!m_dir.empty()) {
        std::error_code ignored;
        fs::remove_all(m_dir, ignored);
    }
}

RunResult CliSandbox::Cli(const std::vector<std::string>& args) const {
    return CliIn(m_dir, args);
}

RunResult CliSandbox::CliIn(const fs::path& cwd, const std::vector<std::string>& args) const {
    return Spawn(std::string(K2L_BIN_DIR) + "/korr2ld-cli", args, cwd, std::string());
}

RunResult CliSandbox::Program(const std::string& program, const std::vector<std::string>& args,
                              const std::string& stdinText) const {
    return Spawn(program, args, m_dir, stdinText);
}

fs::path CliSandbox::Write(const fs::path& relative, const std::string& content) const {
    const fs::path path = m_dir / relative;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
    return path;
}

StartedRun CliSandbox::Start(const std::vector<std::string>& args) const {
    return Launch(std::string(K2L_BIN_DIR) + "/korr2ld-cli", args, m_dir, std::string());
}

bool CliSandbox::Running(StartedRun& run) {
    if (!run.ended && run.pid > 0 && waitpid(run.pid, &run.status, WNOHANG) == run.pid) {
        run.ended = true;
    }
    return !run.ended && run.pid > 0;
}

RunResult CliSandbox::Finish(StartedRun& run, std::chrono::milliseconds timeout) {
    RunResult result;
    if (run.pid <= 0) {
        ADD_FAILURE() << "the run was not started";
        return result;
    }
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (Running(run)) {
        if (std::chrono::steady_clock::now() >= deadline) {
            ADD_FAILURE() << "a run did not end within " << timeout.count() << " ms; killed";
            kill(run.pid, SIGKILL);
            waitpid(run.pid, &run.status, 0);
            run.ended = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    result.exitCode = WIFEXITED(run.status) ? WEXITSTATUS(run.status) : -1;
    result.out = ReadFileBytes(run.stem + ".out");
    result.err = ReadFileBytes(run.stem + ".err");
    for (const char* suffix : {".in", ".out", ".err"}) {
        std::remove((run.stem + suffix).c_str());
    }
    return result;
}

// Output goes to files rather than pipes, so a child that writes much to
// both streams cannot block on a full pipe while the parent waits.
StartedRun CliSandbox::Launch(const std::string& program, const std::vector<std::string>& args,
                              const fs::path& cwd, const std::string& stdinText) const {
    static int runs = 0;
    const std::string stem = (m_dir / ("run" + std::to_string(++runs))).string();
    const std::string inPath = stem + ".in", outPath = stem + ".out", errPath = stem + ".err";
    std::ofstream(inPath, std::ios::binary) << stdinText;

    std::vector<std::string> environment;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        if (!IsSandboxVariable(*entry)) {
            environment.emplace_back(*entry);
        }
    }
    environment.push_back("HOME=" + (m_dir / "home").string());
    environment.push_back("XDG_CONFIG_HOME=" + (m_dir / "config").string());
    environment.push_back("XDG_STATE_HOME=" + StateHome().string());
    environment.push_back("LUMENDA_HOME=" + LumendaHome().string());

    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (std::string& entry : environment) {
        envp.push_back(entry.data());
    }
    envp.push_back(nullptr);

    const pid_t pid = fork();
    if (pid == 0) {
        // The runs meet SIGXFSZ as a user's shell gives it, whatever the test
        // runner ignores.
        std::signal(SIGXFSZ, SIG_DFL);
        const int in = open(inPath.c_str(), O_RDONLY);
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (in < 0 || out < 0 || err < 0 || dup2(in, 0) < 0 || dup2(out, 1) < 0 ||
            dup2(err, 2) < 0 || chdir(cwd.c_str()) != 0) {
            _exit(127);
        }
        if (program.find('/') != std::string::npos) {
            execve(program.c_str(), argv.data(), envp.data());
        } else {
            environ = envp.data();
            execvp(program.c_str(), argv.data());
        }
        _exit(127);
    }
    StartedRun run;
    run.pid = pid;
    run.stem = stem;
    return run;
}

RunResult CliSandbox::Spawn(const std::string& program, const std::vector<std::string>& args,
                            const fs::path& cwd, const std::string& stdinText) const {
    StartedRun run = Launch(program, args, cwd, stdinText);
    if (run.pid < 0) {
        ADD_FAILURE() << "could not run " << program;
        return RunResult();
    }
    if (waitpid(run.pid, &run.status, 0) != run.pid) {
        ADD_FAILURE() << "could not wait for " << program;
        return RunResult();
    }
    run.ended = true;
    return Finish(run, std::chrono::milliseconds(0));
}

std::string ReadFileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
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
