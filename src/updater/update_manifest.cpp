// The signed manifest: its text, the message signed, and the strict reading of both.
#include "updater/update_manifest.h"

#include <cstring>

#include "shared/hex_text.h"
#include "shared/text_case.h"

namespace vur::updater {

namespace {

constexpr char kKind[] = "VUR 3.5 manifest\n";

std::string WindowsName(const std::string& file) {
    std::string name = LowerCp1252(file);
    for (char& c : name)
        if (c == '/') c = '\\';
    return name;
}

// The manifest writes its digits in lower case only, and is read as strictly as it is written.
int LowerHexValue(char c) { return c >= 'A' && c <= 'F' ? -1 : HexDigitValue(c); }

// One manifest line without its LF: 128 lower-case hex digits, blank, size, blank, a name without control
// characters.
bool ParseEntry(const std::string& line, ManifestEntry& entry) {
    constexpr std::size_t kHexLength = 2 * sizeof(Sha512Hash);
    if (line.size() < kHexLength + 4 || line[kHexLength] != ' ') return false;
    for (std::size_t i = 0; i < sizeof(Sha512Hash); ++i) {
        const int high = LowerHexValue(line[2 * i]), low = LowerHexValue(line[2 * i + 1]);
        if (high < 0 || low < 0) return false;
        entry.hash[i] = static_cast<unsigned char>(high << 4 | low);
    }
    const std::size_t sizeEnd = line.find(' ', kHexLength + 1);
    if (sizeEnd == std::string::npos || !ParseSerial(line.substr(kHexLength + 1, sizeEnd - kHexLength - 1), entry.size))
        return false;
    entry.file = line.substr(sizeEnd + 1);
    if (entry.file.empty()) return false;
    for (unsigned char c : entry.file)
        if (c < 0x20) return false;
    return true;
}

} // namespace

const ManifestEntry* SignedManifest::Find(const std::string& file) const {
    const std::string wanted = WindowsName(file);
    const ManifestEntry* found = nullptr;
    for (const ManifestEntry& entry : entries) {
        if (WindowsName(entry.file) != wanted) continue;
        if (found) return nullptr;
        found = &entry;
    }
    return found && found->file == file ? found : nullptr;
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

std::string ManifestText(std::uint64_t serial, const std::vector<ManifestEntry>& entries) {
    std::string text = std::to_string(serial) + "\n";
    for (const ManifestEntry& entry : entries) {
        text += LowerHex(entry.hash.data(), entry.hash.size()) + ' ' + std::to_string(entry.size) + ' ' + entry.file;
        text += '\n';
    }
    return text;
}

std::string SignedMessage(const std::string& list, const std::string& manifestText) {
    return kKind + std::to_string(list.size()) + "\n" + list + manifestText;
}

std::string ListSignatureFile(const ed25519::Signature& signature, const std::string& manifestText) {
    return std::string(reinterpret_cast<const char*>(signature.data()), signature.size()) + manifestText;
}

bool VerifyList(const ed25519::PublicKey& key, const std::string& list, const std::string& signatureFile,
                SignedManifest& manifest) {
    ed25519::Signature signature;
    if (signatureFile.size() <= signature.size()) return false;
    std::memcpy(signature.data(), signatureFile.data(), signature.size());
    const std::string text = signatureFile.substr(signature.size());
    if (!ed25519::Verify(key, SignedMessage(list, text), signature)) return false;

    // Signed, and still read strictly: a publisher's tool of another version must not be half understood.
    SignedManifest read;
    std::size_t lineEnd = text.find('\n');
    if (lineEnd == std::string::npos || !ParseSerial(text.substr(0, lineEnd), read.serial)) return false;
    for (std::size_t start = lineEnd + 1; start < text.size(); start = lineEnd + 1) {
        lineEnd = text.find('\n', start);
        ManifestEntry entry;
        if (lineEnd == std::string::npos || !ParseEntry(text.substr(start, lineEnd - start), entry)) return false;
        read.entries.push_back(std::move(entry));
    }
    manifest = std::move(read);
    return true;
}

} // namespace vur::updater
