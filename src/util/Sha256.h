// SHA-256 (FIPS 180-4): the digest that identifies a conversion's input by
// its bytes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "framework/Status.h"

// An incremental hash: Update with the bytes in as many pieces as they come,
// then Final. The digest does not depend on how the bytes were split.
class Sha256 {
public:
    Sha256() { Reset(); }

    void Update(const void* data, std::size_t size) noexcept;
    void Update(std::string_view bytes) noexcept { Update(bytes.data(), bytes.size()); }

    // The digest of every byte given since construction or the last Final,
    // as 64 lower-case hex digits. The object then starts over, empty.
    std::string Final();

private:
    void Reset() noexcept;
    void Compress(const unsigned char* block) noexcept;

    std::array<std::uint32_t, 8> m_state{};
    std::array<unsigned char, 64> m_block{};
    std::size_t m_blockSize = 0;     // bytes waiting in m_block
    std::uint64_t m_totalBytes = 0;  // bytes given so far
};

// The digest of the file at PATH, read in 64 KiB pieces, so a file of any
// size takes little memory. Only a regular file is read (a FIFO or a device
// could block or never end). When the file cannot be opened or read, the
// failure's message is the reason: the system's text, or "not a regular
// file".
Result<std::string> Sha256OfFile(const std::string& path);
