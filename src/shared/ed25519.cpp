// Ed25519 as RFC 8032 5.1.5 to 5.1.7 define it, with the cofactorless check [S]B - [k]A = R made by
// comparing encodings.
#include "shared/ed25519.h"

#include <cstring>

#include "shared/edwards25519.h"
#include "shared/field25519.h"
#include "shared/scalar25519.h"

namespace vur::ed25519 {

namespace {

// The secret scalar s (the first half of the seed's hash, clamped) and the prefix that makes r.
struct Expanded {
    unsigned char scalar[32];
    unsigned char prefix[32];
};

Expanded Expand(const Seed& seed) {
    Sha512 hash;
    hash.Update(seed.data(), seed.size());
    unsigned char digest[Sha512::kDigestSize];
    hash.Final(digest);
    Expanded e;
    std::memcpy(e.scalar, digest, 32);
    std::memcpy(e.prefix, digest + 32, 32);
    e.scalar[0] &= 0xF8;
    e.scalar[31] &= 0x7F;
    e.scalar[31] |= 0x40;
    return e;
}

void ReducedDigest(Sha512& hash, unsigned char out[32]) {
    unsigned char digest[Sha512::kDigestSize];
    hash.Final(digest);
    scalar25519::Reduce(out, digest, sizeof digest);
}

} // namespace

PublicKey PublicKeyOf(const Seed& seed) {
    const Expanded e = Expand(seed);
    PublicKey key;
    edwards25519::Encode(key.data(), edwards25519::BaseMultiple(e.scalar));
    return key;
}

Signature Sign(const Seed& seed, const std::string& message) {
    const Expanded e = Expand(seed);
    PublicKey key;
    edwards25519::Encode(key.data(), edwards25519::BaseMultiple(e.scalar));

    Sha512 hash;
    unsigned char r[32];
    hash.Update(e.prefix, sizeof e.prefix);
    hash.Update(message.data(), message.size());
    ReducedDigest(hash, r);
    Signature signature;
    edwards25519::Encode(signature.data(), edwards25519::BaseMultiple(r));

    unsigned char k[32];
    hash.Update(signature.data(), 32);
    hash.Update(key.data(), key.size());
    hash.Update(message.data(), message.size());
    ReducedDigest(hash, k);
    scalar25519::MulAdd(signature.data() + 32, k, e.scalar, r);
    return signature;
}

bool Verify(const PublicKey& key, const std::string& message, const Signature& signature) {
    Verifier verifier(key, signature);
    verifier.Update(message.data(), message.size());
    return verifier.Finish();
}

bool IsPoint(const PublicKey& key) {
    edwards25519::Point a;
    return edwards25519::Decode(a, key.data());
}

bool HasSmallOrder(const PublicKey& key) {
    unsigned char bytes[32];
    std::memcpy(bytes, key.data(), sizeof bytes);
    const unsigned char sign = bytes[31] & 0x80;
    bytes[31] &= 0x7F;
    field25519::ToBytes(bytes, field25519::FromBytes(bytes)); // y modulo p
    bytes[31] |= sign;
    edwards25519::Point a;
    if (!edwards25519::Decode(a, bytes)) {
        bytes[31] &= 0x7F; // only x = 0 fails for its sign alone
        if (!edwards25519::Decode(a, bytes)) return false;
    }
    const unsigned char zero[32] = {}, eight[32] = {8};
    unsigned char multiple[32];
    edwards25519::Encode(multiple, edwards25519::DoubleMultiple(zero, eight, a));
    const unsigned char identity[32] = {1};
    return std::memcmp(multiple, identity, sizeof multiple) == 0;
}

Verifier::Verifier(const PublicKey& key, const Signature& signature) : key_(key), signature_(signature) {
    hash_.Update(signature_.data(), 32);
    hash_.Update(key_.data(), key_.size());
}

void Verifier::Update(const void* bytes, std::size_t length) { hash_.Update(bytes, length); }

bool Verifier::Finish() {
    unsigned char k[32];
    ReducedDigest(hash_, k);
    const unsigned char* s = signature_.data() + 32;
    if (!scalar25519::IsCanonical(s)) return false;
    edwards25519::Point a;
    if (!edwards25519::Decode(a, key_.data())) return false;
    unsigned char check[32];
    edwards25519::Encode(check, edwards25519::DoubleMultiple(s, k, edwards25519::Negate(a)));
    return std::memcmp(check, signature_.data(), 32) == 0;
}

} // namespace vur::ed25519
