// What the publisher signs and the updater checks: the signed messages and the signature files beside the
// list and every listed file. Each message begins with a text of its own kind, so no signature of one kind
// can pass for the other:
//   list "/updates.dat":  "VUR 3.5 updates.dat\n" + serial (decimal) + "\n" + the list's bytes;
//   listed file:         "VUR 3.5 file\n" + its name as line 2 of its entry gives it + "\n" + its bytes.
// A name holds no line break (the updater refuses control characters), so the name's end is unambiguous
// and a file signed under one name fails under any other.
// Signature files: "/updates.dat.sig" is the 64-byte Ed25519 signature followed by the serial in decimal
// digits (no sign, no leading zero, no line end); a file's URL + ".sig" is its 64-byte signature alone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "shared/ed25519.h"

namespace vur::updater {

constexpr char kListSignatureSuffix[] = ".sig";

std::string ListMessage(std::uint64_t serial, const std::string& list);
std::string FileMessagePrefix(const std::string& listedName);

std::string ListSignatureFile(const ed25519::Signature& signature, std::uint64_t serial);

// The serial as the signature file and the settings hold it: decimal digits only, no leading zero, at most
// 19 digits (so any value fits); false otherwise.
bool ParseSerial(const std::string& text, std::uint64_t& serial);

// Whether `signatureFile` is a valid signature of `list` by `key`; `serial` is then the list's serial.
bool VerifyList(const ed25519::PublicKey& key, const std::string& list, const std::string& signatureFile,
                std::uint64_t& serial);

// A file's signature file as a signature; false when it is not exactly 64 bytes.
bool ParseFileSignature(const std::string& signatureFile, ed25519::Signature& signature);

// The check of one listed file's signature, fed with the file's bytes as they come.
class FileVerifier {
public:
    FileVerifier(const ed25519::PublicKey& key, const ed25519::Signature& signature, const std::string& listedName);
    void Update(const void* bytes, std::size_t length) { verifier_.Update(bytes, length); }
    bool Valid() { return verifier_.Finish(); }

private:
    ed25519::Verifier verifier_;
};

} // namespace vur::updater
