// Child processes for tests: a built program run with arguments, its
// output captured; or a piece of this test run in a forked copy of the
// process, for crashes, resource limits and concurrent writers. Either
// can be waited for, with or without a time limit, or killed.
#pragma once

// Forked processes: POSIX only (the Windows build runs no test that needs
// one).
#ifndef _WIN32

#include <sys/types.h>

#include <chrono>
#include <csignal>
#include <functional>
#include <string>
#include <vector>

namespace k2ltest {

// How a child process ended, and what it wrote.
struct ChildResult {
    int exitCode = -1;      // its exit status; -1 when it did not exit (or never ran)
    int signal = 0;         // the signal that ended it; 0 when it exited
    bool timedOut = false;  // it outlived the wait's time limit and was killed
    std::string out;        // a program's standard output; a forked body's report
    std::string err;        // a program's standard error
};

// A program to run. Every member has an initializer, so that a designated
// initializer names only what it sets.
struct Command {
    std::string program{};             // a path, or a name looked up in PATH
    std::vector<std::string> args{};   // without the program's own name
    std::string directory{};           // its current directory; empty: this process's
    std::vector<std::string> set{};    // NAME=VALUE entries in place of this process's
    std::vector<std::string> unset{};  // names of variables it does not get
    std::string input{};               // its standard input, whole
};

class ChildProcess {
public:
    ChildProcess() = default;  // nothing started

    // Starts COMMAND, with SIGXFSZ at its default action as a user's shell
    // gives it. Its output goes to files in memory rather than pipes, so a
    // child that writes much cannot block while nobody reads.
    static ChildProcess Start(const Command& command);

    // Runs BODY in a forked copy of this process, which ends with _exit and
    // BODY's value as its exit status, running no destructors. What BODY
    // puts in REPORT becomes the result's out; its standard streams are
    // this process's. A BODY that lowers RLIMIT_FSIZE leaves room for its
    // report.
    static ChildProcess Fork(const std::function<int(std::string& report)>& body);

    ChildProcess(ChildProcess&& other) noexcept;
    ChildProcess& operator=(ChildProcess&& other) noexcept;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    // A child still running is killed, so that no test leaves one behind.
    ~ChildProcess();

    bool Started() const { return m_pid > 0; }
    // True until the child has ended; collects it once it has, without
    // waiting.
    bool Running();
    void Kill(int signal = SIGKILL) const;

    // Waits for the end.
    ChildResult Wait();
    // Waits at most TIMEOUT; a child still running then is killed, and the
    // result says it timed out.
    ChildResult Wait(std::chrono::milliseconds timeout);

private:
    void Release();

    pid_t m_pid = -1;
    bool m_ended = false;
    int m_status = 0;
    int m_out = -1;  // files in memory that the child's output goes to
    int m_err = -1;
};

// Starts COMMAND and waits for its end.
ChildResult RunProgram(const Command& command);

// Runs BODY in a forked copy of this process (see ChildProcess::Fork) and
// waits for its end.
ChildResult RunInChild(const std::function<int(std::string& report)>& body);

}  // namespace k2ltest

#endif  // _WIN32
