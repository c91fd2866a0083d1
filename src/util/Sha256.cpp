#include "util/Sha256.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

namespace {

constexpr std::array<std::uint32_t, 64> kRoundConstants = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

constexpr std::array<std::uint32_t, 8> kInitialState = {
    0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a, 0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};

constexpr std::size_t kFileChunk = 64 * 1024;

std::uint32_t RotateRight(std::uint32_t value, int bits) {
    return (value >> bits) | (value << (32 - bits));
}

}  // namespace

void Sha256::Reset() noexcept {
    m_state = kInitialState;
    m_blockSize = 0;
    m_totalBytes = 0;
}

void Sha256::Compress(const unsigned char* block) noexcept {
    std::array<std::uint32_t, 64> w;
    for (std::size_t i = 0; i < 16; ++i) {
        w[i] = (std::uint32_t{block[4 * i]} << 24) | (std::uint32_t{block[4 * i + 1]} << 16) |
               (std::uint32_t{block[4 * i + 2]} << 8) | std::uint32_t{block[4 * i + 3]};
    }
    for (std::size_t i = 16; i < 64; ++i) {
        const std::uint32_t s0 =
            RotateRight(w[i - 15], 7) ^ RotateRight(w[i - 15], 18) ^ (w[i - 15] >> 3);
        const std::uint32_t s1 =
            RotateRight(w[i - 2], 17) ^ RotateRight(w[i - 2], 19) ^ (w[i - 2] >> 10);
        w[i] = w[i - 16] + s0 + w[i - 7] + s1;
    }
    std::uint32_t a = m_state[0], b = m_state[1], c = m_state[2], d = m_state[3];
    std::uint32_t e = m_state[4], f = m_state[5], g = m_state[6], h = m_state[7];
    for (std::size_t i = 0; i < 64; ++i) {
        const std::uint32_t s1 = RotateRight(e, 6) ^ RotateRight(e, 11) ^ RotateRight(e, 25);
        const std::uint32_t choice = (e & f) ^ (~e & g);
        const std::uint32_t t1 = h + s1 + choice + kRoundConstants[i] + w[i];
        const std::uint32_t s0 = RotateRight(a, 2) ^ RotateRight(a, 13) ^ RotateRight(a, 22);
        const std::uint32_t majority = (a & b) ^ (a & c) ^ (b & c);
        const std::uint32_t t2 = s0 + majority;
        h = g;
        g = f;
        f = e;
        e = d + t1;
        d = c;
        c = b;
        b = a;
        a = t1 + t2;
    }
    m_state[0] += a;
    m_state[1] += b;
    m_state[2] += c;
    m_state[3] += d;
    m_state[4] += e;
    m_state[5] += f;
    m_state[6] += g;
    m_state[7] += h;
}

void Sha256::Update(const void* data, std::size_t size) noexcept {
    const auto* bytes = static_cast<const unsigned char*>(data);
    m_totalBytes += size;
    while (size > 0) {
        if (m_blockSize == 0 && size >= m_block.size()) {
            Compress(bytes);
            bytes += m_block.size();
            size -= m_block.size();
            continue;
        }
        const std::size_t take = std::min(size, m_block.size() - m_blockSize);
        std::memcpy(m_block.data() + m_blockSize, bytes, take);
        m_blockSize += take;
        bytes += take;
        size -= take;
        if (m_blockSize == m_block.size()) {
            Compress(m_block.data());
            m_blockSize = 0;
        }
    }
}

std::string Sha256::Final() {
    // Padding: a one bit, zeros up to 56 bytes into a block, then the
    // message length in bits as a big-endian 64-bit number.
    const std::uint64_t totalBits = m_totalBytes * 8;
    const unsigned char one = 0x80;
    Update(&one, 1);
    const unsigned char zero = 0;
    while (m_blockSize != 56) {
        Update(&zero, 1);
    }
    unsigned char length[8];
    for (int i = 0; i < 8; ++i) {
        length[i] = static_cast<unsigned char>(totalBits >> (56 - 8 * i));
    }
    Update(length, sizeof length);

    static constexpr char kHex[] = "0123456789abcdef";
    std::string digest;
    digest.reserve(64);
    for (const std::uint32_t word : m_state) {
        for (int shift = 28; shift >= 0; shift -= 4) {
            digest += kHex[(word >> shift) & 0x0F];
        }
    }
    Reset();
    return digest;
}

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
    Sha256 hash;
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
        hash.Update(chunk.data(), static_cast<std::size_t>(got));
    }
    ::close(fd);
    return hash.Final();
}
