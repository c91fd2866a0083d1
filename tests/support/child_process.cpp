#include "support/child_process.h"

#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <thread>
#include <utility>

extern char** environ;

namespace k2ltest {

namespace {

bool WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    return true;
}

std::string ReadAllFromStart(int fd) {
    std::string text;
    if (fd < 0) {
        return text;
    }
    char buffer[4096];
    off_t offset = 0;
    ssize_t got;
    while ((got = ::pread(fd, buffer, sizeof buffer, offset)) > 0) {
        text.append(buffer, static_cast<std::size_t>(got));
        offset += got;
    }
    return text;
}

// NAME of the entry NAME=VALUE.
std::string NameOf(const std::string& entry) {
    return entry.substr(0, entry.find('='));
}

// This process's environment without COMMAND's unset names, with its set
// entries in place of any of the same name.
std::vector<std::string> ChildEnvironment(const Command& command) {
    std::vector<std::string> replaced = command.unset;
    for (const std::string& entry : command.set) {
        replaced.push_back(NameOf(entry));
    }
    std::vector<std::string> environment;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        if (std::find(replaced.begin(), replaced.end(), NameOf(*entry)) == replaced.end()) {
            environment.emplace_back(*entry);
        }
    }
    environment.insert(environment.end(), command.set.begin(), command.set.end());
    return environment;
}

}  // namespace

ChildProcess ChildProcess::Start(const Command& command) {
    ChildProcess child;
    const int in = memfd_create("k2l-child-in", MFD_CLOEXEC);
    child.m_out = memfd_create("k2l-child-out", MFD_CLOEXEC);
    child.m_err = memfd_create("k2l-child-err", MFD_CLOEXEC);
    if (in < 0 || child.m_out < 0 || child.m_err < 0 || !WriteAll(in, command.input) ||
        ::lseek(in, 0, SEEK_SET) != 0) {
        if (in >= 0) {
            ::close(in);
        }
        return child;
    }

    // Everything the child needs is made before the fork: between fork and
    // exec a child of a threaded process may only make system calls.
    std::vector<std::string> environment = ChildEnvironment(command);
    std::vector<char*> argv{const_cast<char*>(command.program.c_str())};
    for (const std::string& arg : command.args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (std::string& entry : environment) {
        envp.push_back(entry.data());
    }
    envp.push_back(nullptr);

    child.m_pid = fork();
    if (child.m_pid == 0) {
        std::signal(SIGXFSZ, SIG_DFL);
        if (dup2(in, STDIN_FILENO) < 0 || dup2(child.m_out, STDOUT_FILENO) < 0 ||
            dup2(child.m_err, STDERR_FILENO) < 0 ||
            (!command.directory.empty() && chdir(command.directory.c_str()) != 0)) {
            _exit(127);
        }
        execvpe(command.program.c_str(), argv.data(), envp.data());
        _exit(127);
    }
    ::close(in);
    return child;
}

ChildProcess ChildProcess::Fork(const std::function<int(std::string& report)>& body) {
    ChildProcess child;
    child.m_out = memfd_create("k2l-child-report", MFD_CLOEXEC);
    if (child.m_out < 0) {
        return child;
    }
    child.m_pid = fork();
    if (child.m_pid == 0) {
        std::string report;
        const int status = body(report);
        WriteAll(child.m_out, report);
        _exit(status);
    }
    return child;
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : m_pid(std::exchange(other.m_pid, -1)),
      m_ended(other.m_ended),
      m_status(other.m_status),
      m_out(std::exchange(other.m_out, -1)),
      m_err(std::exchange(other.m_err, -1)) {}

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept {
    if (this != &other) {
        Release();
        m_pid = std::exchange(other.m_pid, -1);
        m_ended = other.m_ended;
        m_status = other.m_status;
        m_out = std::exchange(other.m_out, -1);
        m_err = std::exchange(other.m_err, -1);
    }
    return *this;
}

ChildProcess::~ChildProcess() {
    Release();
}

void ChildProcess::Release() {
    if (Started() && !m_ended) {
        Kill();
        waitpid(m_pid, &m_status, 0);
    }
    for (int* fd : {&m_out, &m_err}) {
        if (*fd >= 0) {
            ::close(*fd);
            *fd = -1;
        }
    }
    m_pid = -1;
    m_ended = false;
}

bool ChildProcess::Running() {
    if (Started() && !m_ended && waitpid(m_pid, &m_status, WNOHANG) == m_pid) {
        m_ended = true;
    }
    return Started() && !m_ended;
}

void ChildProcess::Kill(int signal) const {
    if (Started() && !m_ended) {
        ::kill(m_pid, signal);
    }
}

ChildResult ChildProcess::Wait() {
    ChildResult result;
    if (!Started()) {
        result.err = "the child process could not be started";
        return result;
    }
    if (!m_ended) {
        if (waitpid(m_pid, &m_status, 0) != m_pid) {
            result.err = "the child process could not be waited for";
            return result;
        }
        m_ended = true;
    }
    if (WIFEXITED(m_status)) {
        result.exitCode = WEXITSTATUS(m_status);
    } else if (WIFSIGNALED(m_status)) {
        result.signal = WTERMSIG(m_status);
    }
    result.out = ReadAllFromStart(m_out);
    result.err = ReadAllFromStart(m_err);
    return result;
}

ChildResult ChildProcess::Wait(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    bool timedOut = false;
    while (Running()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            Kill();
            timedOut = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    ChildResult result = Wait();
    result.timedOut = timedOut;
    return result;
}

ChildResult RunProgram(const Command& command) {
    return ChildProcess::Start(command).Wait();
}

ChildResult RunInChild(const std::function<int(std::string& report)>& body) {
    return ChildProcess::Fork(body).Wait();
}

}  // namespace k2ltest
