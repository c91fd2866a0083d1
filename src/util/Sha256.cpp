#include "util/Sha256.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

// The hash itself is Nettle's. libnettle is on every Debian system already
// (the TLS library that apt uses depends on it), so the package gains no
// dependency, and its interface is the three plain calls used here, with
// no library state to set up. OpenSSL's libcrypto would serve as well, but
// is a larger library to load for one digest.
#include <nettle/sha2.h>

namespace {

constexpr std::size_t kFileChunk = 64 * 1024;

std::string Hex(const unsigned char* bytes, std::size_t size) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string text;
    text.reserve(2 * size);
    for (std::size_t i = 0; i < size; ++i) {
        text += kHex[bytes[i] >> 4];
        text += kHex[bytes[i] & 0x0F];
    }
    return text;
}

}  // namespace

Result<std::string> Sha256OfFile(const std::string& path) {
    // O_NONBLOCK keeps the open of a FIFO without a writer from hanging; the
    // file is refused below unless it is a regular one, where it has no effect.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return Status::FromErrno(errno);
    }
    struct stat st;
    const bool isStat = fstat(fd, &st) == 0;
    if (!isStat || !S_ISREG(st.st_mode)) {
        const Status refused =
            isStat ? Status::Error("not a regular file") : Status::FromErrno(errno);
        ::close(fd);
        return refused;
    }
    sha256_ctx hash;
    sha256_init(&hash);
    std::vector<unsigned char> chunk(kFileChunk);
    for (;;) {
        const ssize_t got = ::read(fd, chunk.data(), chunk.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            const Status failed = Status::FromErrno(errno);
            ::close(fd);
            return failed;
        }
        if (got == 0) {
            break;
        }
        sha256_update(&hash, static_cast<std::size_t>(got), chunk.data());
    }
    ::close(fd);
    unsigned char digest[SHA256_DIGEST_SIZE];
    sha256_digest(&hash, sizeof digest, digest);
    return Hex(digest, sizeof digest);
}
