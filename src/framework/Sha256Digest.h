// SHA-256 as the system gives it: Nettle on Linux (Sha256DigestPosix.cpp),
// the CNG (BCrypt) provider on Windows (Sha256DigestWin32.cpp).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

class Sha256Digest {
public:
    static constexpr std::size_t kSize = 32;

    Sha256Digest();
    ~Sha256Digest();
    Sha256Digest(const Sha256Digest&) = delete;
    Sha256Digest& operator=(const Sha256Digest&) = delete;

    // Adds SIZE bytes at DATA.
    void Update(const void* data, std::size_t size);
    // The digest of everything added; the object is used up.
    std::array<std::uint8_t, kSize> Finish();

private:
    struct State;
    std::unique_ptr<State> m_state;
};
