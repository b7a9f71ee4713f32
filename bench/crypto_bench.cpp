// crypto_bench: what the updater's signature check costs: microseconds for one Ed25519 verification and the
// SHA-512 throughput over a download-sized buffer (the rest of a verification is one hash of the file).
// Prints "verify_us N sha512_mb_s N".
#include <chrono>
#include <cstdio>
#include <string>

#include "shared/ed25519.h"

namespace {

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main() {
    namespace ed = vur::ed25519;
    ed::Seed seed;
    for (std::size_t i = 0; i < seed.size(); ++i) seed[i] = static_cast<unsigned char>(i * 7 + 1);
    const ed::PublicKey key = ed::PublicKeyOf(seed);
    const std::string message(64, 'm');
    const ed::Signature signature = ed::Sign(seed, message);

    const int verifications = 300;
    int valid = 0;
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < verifications; ++i) valid += ed::Verify(key, message, signature);
    const double verifyUs = 1e6 * SecondsSince(start) / verifications;

    const std::string buffer(4 << 20, 'x');
    const int rounds = 16;
    vur::Sha512 hash;
    unsigned char digest[vur::Sha512::kDigestSize];
    start = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i) hash.Update(buffer.data(), buffer.size());
    hash.Final(digest);
    const double mbPerSecond = rounds * buffer.size() / 1e6 / SecondsSince(start);

    if (valid != verifications) {
        std::fprintf(stderr, "a verification failed\n");
        return 1;
    }
    std::printf("verify_us %.1f sha512_mb_s %.0f (digest %02x)\n", verifyUs, mbPerSecond, digest[0]);
    return 0;
}
