#include "cli/StandardOutput.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "cli/ExitCode.h"
#include "framework/File.h"
#include "framework/SystemError.h"

// Writes to a descriptor in blocks; after the first failed write it drops
// everything, so that the stream using it goes bad.
class CStandardOutput::Buffer : public std::streambuf {
public:
    explicit Buffer(FileHandle file) : m_file(file) {
        setp(m_data.data(), m_data.data() + m_data.size());
    }

    // The errno of the first failed write; 0 when none failed.
    int Error() const { return m_error; }
    // TRUE once any byte was handed to the descriptor, or failed to be.
    bool Written() const { return m_written; }

protected:
    int_type overflow(int_type c) override {
        if (!Drain()) {
            return traits_type::eof();
        }
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }

    int sync() override { return Drain() ? 0 : -1; }

private:
    bool Drain() {
        const char* next = pbase();
        const char* const end = pptr();
        m_written = m_written || next != end;
        if (m_error == 0 && next != end) {
            const Status written =
                WriteAll(m_file, std::string_view(next, static_cast<std::size_t>(end - next)));
            m_error = written.ok() ? 0 : (written.ErrorNumber() != 0 ? written.ErrorNumber() : EIO);
        }
        setp(m_data.data(), m_data.data() + m_data.size());
        return m_error == 0;
    }

    FileHandle m_file;
    int m_error = 0;
    bool m_written = false;
    std::array<char, 65536> m_data{};
};

CStandardOutput::CStandardOutput() : m_buffer(std::make_unique<Buffer>(StandardOutputFile())) {
    m_previous = std::cout.rdbuf(m_buffer.get());
}

CStandardOutput::~CStandardOutput() {
    std::cout.flush();
    std::cout.rdbuf(m_previous);
}

int CStandardOutput::Finish(int exitCode, std::ostream& err) {
    std::cout.flush();
    int error = m_buffer->Error();
    if (error == 0 && std::cout.bad()) {
        error = EIO;  // not from a write: nothing better to say
    }
    if (std::fflush(stdout) != 0 && error == 0) {
        error = errno;
    }
    if (std::ferror(stdout) != 0 && error == 0) {
        error = EIO;  // failed earlier; its errno is gone
    }
    // close() reports what a file system defers to it (a full NFS quota).
    // Linux releases the descriptor even when close fails: never retried.
    if (const Status closed = CloseStandardOutput();
        !closed.ok() && error == 0 && (closed.ErrorNumber() != EBADF || m_buffer->Written())) {
        error = closed.ErrorNumber() != 0 ? closed.ErrorNumber() : EIO;
    }
    if (error == 0) {
        return exitCode;
    }
    err << "korr2ld-cli: cannot write standard output: " << SystemErrorText(error) << '\n';
    return exitCode == kExitOk ? kExitFailure : exitCode;
}
