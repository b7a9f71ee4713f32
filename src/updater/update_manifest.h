// The signed manifest of an update: one signature over the five-line list "/updates.dat" and the name, size
// and SHA-512 of every file it lists. The list itself keeps its form, so every byte of it (display names,
// sizes, checksums, URLs) is covered as it is, and only one signature file is fetched per update.
//
// "/updates.dat.sig", the signature file:
//   the 64-byte Ed25519 signature, then the serial in decimal digits (no sign, no leading zero) and LF, then
//   one manifest line per listed file: SHA-512 as 128 lower-case hex digits, a blank, the size in decimal,
//   a blank, the file name exactly as line 2 of its entry gives it, LF.
// The signed message is
//   "VUR 3.5 manifest\n" + the list's length in decimal + "\n" + the list's bytes + everything of the
//   signature file after the signature (serial line and manifest lines).
// The length fixes where the list ends, so no byte can move between the list and the manifest; the kind text
// keeps a signature of an earlier form or of another purpose from passing.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "shared/ed25519.h"

namespace vur::updater {

constexpr char kListSignatureSuffix[] = ".sig";

using Sha512Hash = std::array<unsigned char, 64>;

struct ManifestEntry {
    std::string file; // as line 2 of its entry
    std::uint64_t size = 0;
    Sha512Hash hash{};
};

struct SignedManifest {
    std::uint64_t serial = 0;
    std::vector<ManifestEntry> entries;

    // The one entry for `file`. Names are compared as Windows compares them (letter case and "/" against
    // "\" do not matter), so null also when the manifest names the file twice, or names it only in another
    // spelling than the list does.
    const ManifestEntry* Find(const std::string& file) const;
};

// The serial as the signature file and the settings hold it: decimal digits only, no leading zero, at most
// 19 digits (so any value fits); false otherwise.
bool ParseSerial(const std::string& text, std::uint64_t& serial);

// The signature file's text after the signature: serial line and manifest lines.
std::string ManifestText(std::uint64_t serial, const std::vector<ManifestEntry>& entries);
std::string SignedMessage(const std::string& list, const std::string& manifestText);
std::string ListSignatureFile(const ed25519::Signature& signature, const std::string& manifestText);

// Whether `signatureFile` is a valid signature of `list` by `key`, with a manifest in its form; `manifest`
// is filled only then.
bool VerifyList(const ed25519::PublicKey& key, const std::string& list, const std::string& signatureFile,
                SignedManifest& manifest);

} // namespace vur::updater
