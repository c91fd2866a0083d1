// Sha256Digest.h with Windows' CNG provider (bcrypt.dll, part of every
// Windows since Vista): nothing to ship beside the program.
#include <windows.h>
// windows.h first: bcrypt.h needs its types.
#include <bcrypt.h>

#include <algorithm>
#include <stdexcept>

#include "framework/Sha256Digest.h"

struct Sha256Digest::State {
    BCRYPT_HASH_HANDLE hash = nullptr;
};

namespace {

void Check(NTSTATUS status) {
    if (status < 0) {
        throw std::runtime_error("the system's SHA-256 provider failed");
    }
}

// The provider, opened once and kept for the life of the process.
BCRYPT_ALG_HANDLE Provider() {
    static const BCRYPT_ALG_HANDLE provider = [] {
        BCRYPT_ALG_HANDLE opened = nullptr;
        Check(BCryptOpenAlgorithmProvider(&opened, BCRYPT_SHA256_ALGORITHM, nullptr, 0));
        return opened;
    }();
    return provider;
}

}  // namespace

Sha256Digest::Sha256Digest() : m_state(std::make_unique<State>()) {
    Check(BCryptCreateHash(Provider(), &m_state->hash, nullptr, 0, nullptr, 0, 0));
}

Sha256Digest::~Sha256Digest() {
    if (m_state->hash != nullptr) {
        BCryptDestroyHash(m_state->hash);
    }
}

void Sha256Digest::Update(const void* data, std::size_t size) {
    auto* bytes = static_cast<PUCHAR>(const_cast<void*>(data));
    while (size > 0) {
        const ULONG part = static_cast<ULONG>(std::min<std::size_t>(size, 1u << 30));
        Check(BCryptHashData(m_state->hash, bytes, part, 0));
        bytes += part;
        size -= part;
    }
}

std::array<std::uint8_t, Sha256Digest::kSize> Sha256Digest::Finish() {
    std::array<std::uint8_t, kSize> digest{};
    Check(BCryptFinishHash(m_state->hash, digest.data(), static_cast<ULONG>(digest.size()), 0));
    return digest;
}
