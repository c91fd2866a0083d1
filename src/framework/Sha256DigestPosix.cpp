// Sha256Digest.h with Nettle. libnettle is on every Debian system already
// (the TLS library that apt uses depends on it), so the package gains no
// dependency, and its interface is the three plain calls used here, with
// no library state to set up. OpenSSL's libcrypto would serve as well, but
// is a larger library to load for one digest.
#include <nettle/sha2.h>

#include "framework/Sha256Digest.h"

static_assert(SHA256_DIGEST_SIZE == Sha256Digest::kSize);

struct Sha256Digest::State {
    sha256_ctx context;
};

Sha256Digest::Sha256Digest() : m_state(std::make_unique<State>()) {
    sha256_init(&m_state->context);
}

Sha256Digest::~Sha256Digest() = default;

void Sha256Digest::Update(const void* data, std::size_t size) {
    sha256_update(&m_state->context, size, static_cast<const std::uint8_t*>(data));
}

std::array<std::uint8_t, Sha256Digest::kSize> Sha256Digest::Finish() {
    std::array<std::uint8_t, kSize> digest{};
    sha256_digest(&m_state->context, digest.size(), digest.data());
    return digest;
}
