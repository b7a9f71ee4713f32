// Building the test PE files; see pe_builder.h.
#include "pe_builder.h"

#include <cstdint>

namespace vurtest {

namespace {

constexpr std::uint32_t kFileAlign = 0x200, kTextRva = 0x1000, kDataRva = 0x2000, kHeaders = 0x400;

void Put16(std::string& s, std::size_t at, std::uint32_t v) {
    if (s.size() < at + 2) s.resize(at + 2);
    s[at] = static_cast<char>(v);
    s[at + 1] = static_cast<char>(v >> 8);
}
void Put32(std::string& s, std::size_t at, std::uint32_t v) {
    Put16(s, at, v & 0xFFFF);
    Put16(s, at + 2, v >> 16);
}
void Put64(std::string& s, std::size_t at, std::uint64_t v) {
    Put32(s, at, static_cast<std::uint32_t>(v));
    Put32(s, at + 4, static_cast<std::uint32_t>(v >> 32));
}
std::size_t Align(std::size_t n, std::size_t a) { return (n + a - 1) / a * a; }

// Appends a zero-terminated string, aligned to two bytes, and returns its RVA.
std::uint32_t AddName(std::string& rdata, const std::string& text) {
    if (rdata.size() % 2) rdata += '\0';
    const auto rva = static_cast<std::uint32_t>(kDataRva + rdata.size());
    rdata += text;
    rdata += '\0';
    return rva;
}

struct Tables {
    std::string rdata;
    std::uint32_t importRva = 0, importSize = 0, exportRva = 0, exportSize = 0;
};

void AddImports(const PeSpec& spec, Tables& t) {
    if (spec.imports.empty()) return;
    const std::size_t entry = spec.is64 ? 8 : 4;
    const std::size_t descriptors = t.rdata.size();
    t.rdata.resize(descriptors + 20 * (spec.imports.size() + 1));
    t.importRva = static_cast<std::uint32_t>(kDataRva + descriptors);
    t.importSize = static_cast<std::uint32_t>(20 * (spec.imports.size() + 1));
    for (std::size_t l = 0; l < spec.imports.size(); ++l) {
        const auto& functions = spec.imports[l].second;
        std::vector<std::uint32_t> hints;
        for (const std::string& f : functions) {
            if (t.rdata.size() % 2) t.rdata += '\0';
            hints.push_back(static_cast<std::uint32_t>(kDataRva + t.rdata.size()));
            t.rdata += std::string("\x01\x00", 2) + f + '\0';
        }
        const std::uint32_t name = AddName(t.rdata, spec.imports[l].first);
        t.rdata.resize(Align(t.rdata.size(), 8));
        std::uint32_t arrays[2];
        for (std::uint32_t& array : arrays) {
            array = static_cast<std::uint32_t>(kDataRva + t.rdata.size());
            const std::size_t at = t.rdata.size();
            t.rdata.resize(at + entry * (hints.size() + 1));
            for (std::size_t i = 0; i < hints.size(); ++i) {
                if (spec.is64) Put64(t.rdata, at + i * entry, hints[i]);
                else Put32(t.rdata, at + i * entry, hints[i]);
            }
        }
        const std::size_t d = descriptors + 20 * l;
        Put32(t.rdata, d, arrays[0]);
        Put32(t.rdata, d + 12, name);
        Put32(t.rdata, d + 16, arrays[1]);
    }
}

void AddExports(const PeSpec& spec, Tables& t) {
    if (spec.exports.empty()) return;
    t.rdata.resize(Align(t.rdata.size(), 4));
    const std::size_t dir = t.rdata.size();
    const std::size_t n = spec.exports.size();
    t.rdata.resize(dir + 40 + 4 * n + 4 * n + 2 * n);
    const std::size_t functions = dir + 40, names = functions + 4 * n, ordinals = names + 4 * n;
    Put32(t.rdata, dir + 12, AddName(t.rdata, spec.exportedLibrary));
    Put32(t.rdata, dir + 16, 1);
    Put32(t.rdata, dir + 20, static_cast<std::uint32_t>(n));
    Put32(t.rdata, dir + 24, static_cast<std::uint32_t>(n));
    Put32(t.rdata, dir + 28, static_cast<std::uint32_t>(kDataRva + functions));
    Put32(t.rdata, dir + 32, static_cast<std::uint32_t>(kDataRva + names));
    Put32(t.rdata, dir + 36, static_cast<std::uint32_t>(kDataRva + ordinals));
    for (std::size_t i = 0; i < n; ++i) {
        Put32(t.rdata, functions + 4 * i, kTextRva);
        Put32(t.rdata, names + 4 * i, AddName(t.rdata, spec.exports[i]));
        Put16(t.rdata, ordinals + 2 * i, static_cast<std::uint32_t>(i));
    }
    t.exportRva = static_cast<std::uint32_t>(kDataRva + dir);
    t.exportSize = static_cast<std::uint32_t>(t.rdata.size() - dir);
}

} // namespace

std::string Wide(const std::string& ascii) {
    std::string wide;
    for (char c : ascii) wide += std::string(1, c) + '\0';
    return wide;
}

std::string BuildPe(const PeSpec& spec) {
    Tables t;
    AddImports(spec, t);
    AddExports(spec, t);
    t.rdata += spec.data;
    const std::string code = spec.code.empty() ? std::string("\xC3", 1) : spec.code;

    std::string file(kHeaders, '\0');
    file[0] = 'M';
    file[1] = 'Z';
    Put32(file, 0x3C, kPeHeaderAt);
    Put32(file, kPeHeaderAt, 0x00004550);
    const std::uint32_t optionalSize = spec.is64 ? 240 : 224;
    Put16(file, kPeHeaderAt + 4, spec.is64 ? 0x8664 : 0x14C);
    Put16(file, kPeHeaderAt + 6, 2);
    Put16(file, kPeHeaderAt + 20, optionalSize);
    const std::size_t optional = kPeHeaderAt + 24;
    Put16(file, optional, spec.is64 ? 0x20B : 0x10B);
    Put32(file, optional + 32, 0x1000);
    Put32(file, optional + 36, kFileAlign);
    Put32(file, optional + 56, static_cast<std::uint32_t>(kDataRva + Align(t.rdata.size(), 0x1000)));
    Put32(file, optional + 60, kHeaders);
    const std::size_t count = optional + (spec.is64 ? 108 : 92);
    Put32(file, count, 16);
    Put32(file, count + 4, t.exportRva);
    Put32(file, count + 8, t.exportSize);
    Put32(file, count + 12, t.importRva);
    Put32(file, count + 16, t.importSize);

    const std::size_t table = optional + optionalSize;
    const std::size_t textRaw = kHeaders, textSize = Align(code.size(), kFileAlign);
    const std::size_t dataRaw = textRaw + textSize, dataSize = Align(t.rdata.size(), kFileAlign);
    const struct {
        const char* name;
        std::size_t rva, size, raw, rawSize;
    } sections[2] = {{".text", kTextRva, code.size(), textRaw, textSize},
                     {".rdata", kDataRva, t.rdata.size(), dataRaw, dataSize}};
    for (int i = 0; i < 2; ++i) {
        const std::size_t at = table + 40 * i;
        file.replace(at, std::string(sections[i].name).size(), sections[i].name);
        Put32(file, at + 8, static_cast<std::uint32_t>(sections[i].size));
        Put32(file, at + 12, static_cast<std::uint32_t>(sections[i].rva));
        Put32(file, at + 16, static_cast<std::uint32_t>(sections[i].rawSize));
        Put32(file, at + 20, static_cast<std::uint32_t>(sections[i].raw));
    }
    file.resize(kHeaders);
    file += code;
    file.resize(dataRaw);
    file += t.rdata;
    file.resize(dataRaw + dataSize);
    return file;
}

} // namespace vurtest
