// Writing the update list of a program folder.
#include "update_list_writer.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "folder_files.h"
#include "shared/crc.h"
#include "shared/errors.h"
#include "shared/file_reader.h"
#include "shared/sha512.h"
#include "shared/text_case.h"
#include "updater/update_names.h"
#include "updater/update_manifest.h"

namespace vurconf {

namespace {

// What belongs to one installation and not to the suite's files.
bool LeftOut(const std::string& relative) {
    const std::string name = vur::LowerCp1252(relative);
    const std::string quarantine = vur::LowerCp1252("quarant\xE4ne\\");
    const auto endsWith = [&](const std::string& tail) {
        return name.size() >= tail.size() && name.compare(name.size() - tail.size(), tail.size(), tail) == 0;
    };
    return name == "updates.dat" || name == "vur.conf" || name.compare(0, quarantine.size(), quarantine) == 0 ||
           vur::updater::IsTemporaryName(name) || endsWith("update.old") ||
           endsWith(vur::updater::kListSignatureSuffix);
}

// Every byte outside the unreserved characters as %XX; the slashes between folders stay.
std::string UrlPath(const std::string& relative) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string path;
    for (char c : relative) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '\\') path += '/';
        else if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') || c == '-' || c == '.' ||
                 c == '_' || c == '~')
            path += c;
        else {
            path += '%';
            path += kHex[b >> 4];
            path += kHex[b & 15];
        }
    }
    return path;
}

// C stdio: the C++ file streams would bind calls that Windows 95 and NT 4 do not have.
void WriteBytes(const std::string& path, const std::string& bytes) {
    std::FILE* stream = std::fopen(path.c_str(), "wb");
    const bool written = stream && std::fwrite(bytes.data(), 1, bytes.size(), stream) == bytes.size();
    if (stream && std::fclose(stream) != 0) throw vur::EVurError("cannot write " + path);
    if (!written) throw vur::EVurError("cannot write " + path);
}

} // namespace

void WriteUpdateList(const std::string& dist, const std::string& baseUrl, const vur::ed25519::Seed& seed,
                     std::uint64_t serial, TextOut& out) {
    std::vector<FolderFile> files = FilesBelow(dist);
    files.erase(std::remove_if(files.begin(), files.end(), [](const FolderFile& f) { return LeftOut(f.relative); }),
                files.end());
    std::sort(files.begin(), files.end(),
              [](const FolderFile& a, const FolderFile& b) { return a.relative < b.relative; });

    std::string base = baseUrl;
    while (!base.empty() && base.back() == '/') base.pop_back();
    std::string list;
    std::vector<vur::updater::ManifestEntry> manifest;
    for (const FolderFile& file : files) {
        if (!vur::updater::UpdateNameRefusalReason(file.relative).empty())
            throw vur::EVurError("the updater would refuse the name of " + file.path);
        if (file.size > static_cast<std::uint64_t>(INT32_MAX))
            throw vur::EVurError("too large for the update list: " + file.path);
        std::string bytes;
        if (!vur::ReadWholeFile(file.path, bytes)) throw vur::EVurError("cannot read " + file.path);
        const auto checksum = static_cast<std::int32_t>(vur::FileCRC32(file.path));
        vur::updater::ManifestEntry signed_;
        signed_.file = file.relative;
        signed_.size = bytes.size();
        vur::Sha512 sha;
        sha.Update(bytes.data(), bytes.size());
        sha.Final(signed_.hash.data());
        manifest.push_back(std::move(signed_));
        list += file.relative + "\r\n" + file.relative + "\r\n" + std::to_string(file.size) + "\r\n" +
                std::to_string(checksum) + "\r\n" + base + "/" + UrlPath(file.relative) + "\r\n";
    }
    std::string target = dist;
    // Joined as the folder was written: with a backslash for a Windows path.
    if (target.back() != '/' && target.back() != '\\') target += target.find('\\') != std::string::npos ? '\\' : '/';
    target += "updates.dat";
    WriteBytes(target, list);
    const std::string manifestText = vur::updater::ManifestText(serial, manifest);
    const auto signature = vur::ed25519::Sign(seed, vur::updater::SignedMessage(list, manifestText));
    WriteBytes(target + vur::updater::kListSignatureSuffix, vur::updater::ListSignatureFile(signature, manifestText));
    out << files.size() << " entries written to " << target << ", signed with serial " << serial << '\n';
}

} // namespace vurconf
