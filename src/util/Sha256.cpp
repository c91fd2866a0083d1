#include "util/Sha256.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "framework/File.h"

// The hash itself is Nettle's. libnettle is on every Debian system already
// (the TLS library that apt uses depends on it), so the package gains no
// dependency, and its interface is the three plain calls used here, with
// no library state to set up. OpenSSL's libcrypto would serve as well, but
// is a larger library to load for one digest.
#include <nettle/sha2.h>

namespace {

constexpr std::size_t kFileChunk = 64 * 1024;

std::string HexDigest(sha256_ctx& hash) {
    static constexpr char kHex[] = "0123456789abcdef";
    unsigned char digest[SHA256_DIGEST_SIZE];
    sha256_digest(&hash, sizeof digest, digest);
    std::string text;
    text.reserve(2 * sizeof digest);
    for (const unsigned char byte : digest) {
        text += kHex[byte >> 4];
        text += kHex[byte & 0x0F];
    }
    return text;
}

}  // namespace

std::string Sha256OfBytes(std::string_view bytes) {
    sha256_ctx hash;
    sha256_init(&hash);
    sha256_update(&hash, bytes.size(), reinterpret_cast<const std::uint8_t*>(bytes.data()));
    return HexDigest(hash);
}

Result<std::string> Sha256OfFile(const std::string& path) {
    Result<FileDescriptor> file = OpenRegularFile(path, O_RDONLY);
    if (!file.ok()) {
        return file.status();
    }
    sha256_ctx hash;
    sha256_init(&hash);
    std::vector<unsigned char> chunk(kFileChunk);
    for (;;) {
        const ssize_t got = ::read(file.value().Get(), chunk.data(), chunk.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return Status::FromErrno(errno);
        }
        if (got == 0) {
            break;
        }
        sha256_update(&hash, static_cast<std::size_t>(got), chunk.data());
    }
    return HexDigest(hash);
}
