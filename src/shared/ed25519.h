// Ed25519 signatures (RFC 8032 section 5.1): key pairs from a 32-byte secret seed, signing, and
// verification in one call or streamed over a message that arrives in pieces, such as a download.
#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "shared/sha512.h"

namespace vur::ed25519 {

using Seed = std::array<unsigned char, 32>;       // the private key
using PublicKey = std::array<unsigned char, 32>;  // the encoded point A
using Signature = std::array<unsigned char, 64>;  // R, then S

PublicKey PublicKeyOf(const Seed& seed);
Signature Sign(const Seed& seed, const std::string& message);
bool Verify(const PublicKey& key, const std::string& message, const Signature& signature);

// Whether the key decodes as RFC 8032 5.1.3 says; against a key that does not, no signature verifies.
bool IsPoint(const PublicKey& key);
// Whether the key's point has order 1, 2, 4 or 8 ([8]A is the identity). Against such a key [k]A takes at
// most eight values whatever the message, so anyone can make signatures that verify. An encoding that only a
// lenient decoder takes (y of p or more, x = 0 with the sign bit set) counts as the point it would give.
bool HasSmallOrder(const PublicKey& key);

// Verification of a message handed over piece by piece: the hash of R, A and the message is the only part
// that needs the message, so it runs as the pieces come.
class Verifier {
public:
    Verifier(const PublicKey& key, const Signature& signature);
    void Update(const void* bytes, std::size_t length);
    // Whether the signature is valid for everything handed over; once only.
    bool Finish();

private:
    PublicKey key_;
    Signature signature_;
    Sha512 hash_;
};

} // namespace vur::ed25519
