// Standard output of korr2ld-cli, checked to its end.
//
// What a command prints is only of use when all of it arrived: on a full
// disk, into a pipe whose reader has gone (EPIPE, when SIGPIPE is ignored)
// or into a file whose close fails, the command must not report success.
// std::cout writes through a buffer of this class's own straight to
// descriptor 1 that keeps the first write error, so that the reason can be
// told even when the failing write happened long before the end.
#pragma once

#include <iosfwd>
#include <memory>
#include <streambuf>

class CStandardOutput {
public:
    // Gives std::cout the checked buffer. Construct once at the start of
    // main, after std::ios::sync_with_stdio(false) and before anything is
    // written to std::cout.
    CStandardOutput();
    // Writes what is still buffered (when Finish did not run) and gives
    // std::cout its previous buffer back.
    ~CStandardOutput();

    CStandardOutput(const CStandardOutput&) = delete;
    CStandardOutput& operator=(const CStandardOutput&) = delete;

    // Flushes std::cout and C's stdout and closes descriptor 1. Returns
    // EXIT_CODE when everything written reached its destination. Otherwise
    // writes "korr2ld-cli: cannot write standard output: <reason>" on ERR
    // and returns kExitFailure, or EXIT_CODE when that already says the
    // command failed (1 or 2). A descriptor 1 that was closed from the start
    // is no failure as long as nothing was written to it. Call once, as the
    // last thing main does.
    int Finish(int exitCode, std::ostream& err);

private:
    class Buffer;
    std::unique_ptr<Buffer> m_buffer;
    std::streambuf* m_previous = nullptr;
};
