#include "util/Sha256.h"

#include <vector>

#include "framework/File.h"
#include "framework/Sha256Digest.h"

namespace {

constexpr std::size_t kFileChunk = 64 * 1024;

std::string HexDigest(Sha256Digest& hash) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string text;
    text.reserve(2 * Sha256Digest::kSize);
    for (const std::uint8_t byte : hash.Finish()) {
        text += kHex[byte >> 4];
        text += kHex[byte & 0x0F];
    }
    return text;
}

}  // namespace

std::string Sha256OfBytes(std::string_view bytes) {
    Sha256Digest hash;
    hash.Update(bytes.data(), bytes.size());
    return HexDigest(hash);
}

Result<std::string> Sha256OfFile(const std::string& path) {
    Result<FileDescriptor> file = OpenRegularFile(path, kOpenRead);
    if (!file.ok()) {
        return file.status();
    }
    Sha256Digest hash;
    std::vector<unsigned char> chunk(kFileChunk);
    for (;;) {
        const Result<std::size_t> got = ReadSome(file.value().Get(), chunk.data(), chunk.size());
        if (!got.ok()) {
            return got.status();
        }
        if (got.value() == 0) {
            break;
        }
        hash.Update(chunk.data(), got.value());
    }
    return HexDigest(hash);
}
