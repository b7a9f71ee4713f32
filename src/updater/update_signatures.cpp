// The signed messages and signature files of update lists and listed files.
#include "updater/update_signatures.h"

#include <cstring>

namespace vur::updater {

namespace {

constexpr char kListKind[] = "VUR 3.5 updates.dat\n";
constexpr char kFileKind[] = "VUR 3.5 file\n";

} // namespace

std::string ListMessage(std::uint64_t serial, const std::string& list) {
    return kListKind + std::to_string(serial) + "\n" + list;
}

std::string FileMessagePrefix(const std::string& listedName) { return kFileKind + listedName + "\n"; }

std::string ListSignatureFile(const ed25519::Signature& signature, std::uint64_t serial) {
    return std::string(reinterpret_cast<const char*>(signature.data()), signature.size()) + std::to_string(serial);
}

bool ParseSerial(const std::string& text, std::uint64_t& serial) {
    if (text.empty() || text.size() > 19 || (text[0] == '0' && text.size() > 1)) return false;
    std::uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    serial = value;
    return true;
}

bool VerifyList(const ed25519::PublicKey& key, const std::string& list, const std::string& signatureFile,
                std::uint64_t& serial) {
    ed25519::Signature signature;
    if (signatureFile.size() <= signature.size()) return false;
    std::uint64_t claimed = 0;
    if (!ParseSerial(signatureFile.substr(signature.size()), claimed)) return false;
    std::memcpy(signature.data(), signatureFile.data(), signature.size());
    if (!ed25519::Verify(key, ListMessage(claimed, list), signature)) return false;
    serial = claimed;
    return true;
}

bool ParseFileSignature(const std::string& signatureFile, ed25519::Signature& signature) {
    if (signatureFile.size() != signature.size()) return false;
    std::memcpy(signature.data(), signatureFile.data(), signature.size());
    return true;
}

FileVerifier::FileVerifier(const ed25519::PublicKey& key, const ed25519::Signature& signature,
                           const std::string& listedName)
    : verifier_(key, signature) {
    const std::string prefix = FileMessagePrefix(listedName);
    verifier_.Update(prefix.data(), prefix.size());
}

} // namespace vur::updater
