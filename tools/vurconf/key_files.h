// Key files of `vurconf keygen`: one line of 64 lower-case hex digits and a line feed. The public key file
// holds the encoded point A (RFC 8032), the private key file the 32-byte seed; the build setting
// VUR_UPDATE_PUBLIC_KEY names a public key file.
#pragma once

#include <string>

#include "shared/ed25519.h"

namespace vurconf {

// Writes both files; refuses (vur::EVurError) to overwrite an existing private key file.
void WriteKeyPair(const std::string& privatePath, const std::string& publicPath, const vur::ed25519::Seed& seed);

// Raises vur::EVurError for a file that cannot be read or is not 64 hex digits (a final line end and
// blanks around them are allowed).
vur::ed25519::Seed ReadPrivateKey(const std::string& path);
vur::ed25519::PublicKey ReadPublicKey(const std::string& path);

// Raises vur::EVurError naming what is wrong with a public key that no update should be signed for: one that
// is not a point (nothing would verify) or one of small order (anything could be made to verify).
void CheckUpdateKey(const std::string& path, const vur::ed25519::PublicKey& key);

} // namespace vurconf
