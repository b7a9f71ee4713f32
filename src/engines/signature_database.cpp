// Scanning a file against the database; see signature_database.h.
#include "engines/signature_database.h"

#include "shared/file_reader.h"
#include "shared/sha512.h"

#include <cstring>

namespace vur::engines {

namespace {

// Large reads keep the number of system calls per megabyte small; the first read also holds the PE headers.
constexpr std::size_t kChunkBytes = 256 * 1024;

} // namespace

std::size_t SignatureDatabase::Add(const SignatureFile& file) {
    patterns_.insert(patterns_.end(), file.patterns.begin(), file.patterns.end());
    for (const HashSignature& h : file.hashes) {
        hashesBySize_.emplace(h.size, hashes_.size());
        hashes_.push_back(h);
    }
    matcher_.reset();
    return file.Loaded();
}

const SignatureMatcher& SignatureDatabase::Matcher() const {
    if (!matcher_) matcher_ = std::make_unique<SignatureMatcher>(patterns_);
    return *matcher_;
}

std::string SignatureDatabase::Scan(const std::string& path, std::uint32_t* readError) const {
    if (readError) *readError = 0;
    if (Count() == 0) return "";
    SharedFileReader file;
    if (!file.Open(path)) {
        if (readError) *readError = file.Error();
        return "";
    }
    const std::int64_t size = file.Size();
    const auto sized = size >= 0 ? hashesBySize_.equal_range(static_cast<std::uint64_t>(size))
                                 : std::make_pair(hashesBySize_.end(), hashesBySize_.end());
    const bool hashing = sized.first != sized.second;
    if (patterns_.empty() && !hashing) return "";

    const SignatureMatcher& matcher = Matcher();
    const std::size_t reach = matcher.Reach();
    // Room for a new chunk after the bytes kept around the positions still to be tested.
    // Not zero-filled (unlike a vector): only bytes read are ever looked at.
    const std::size_t capacity = kChunkBytes + 2 * reach;
    const std::unique_ptr<unsigned char[]> buffer(new unsigned char[capacity]);
    Sha512 sha;
    PeImage image;
    bool pe = false, headersRead = false, eof = false;
    std::uint64_t base = 0, tested = 0, total = 0;
    std::size_t have = 0;
    while (!eof) {
        while (have < capacity) {
            const long got = file.Read(buffer.get() + have, capacity - have);
            if (got < 0) {
                if (readError) *readError = file.Error();
                return "";
            }
            if (got == 0) {
                eof = true;
                break;
            }
            if (hashing) sha.Update(buffer.get() + have, static_cast<std::size_t>(got));
            have += static_cast<std::size_t>(got);
            total += static_cast<std::uint64_t>(got);
        }
        if (!headersRead) {
            pe = ParsePeHeaders(buffer.get(), have, size >= 0 ? static_cast<std::uint64_t>(size) : have, image);
            headersRead = true;
        }
        // Before the end, a position is tested only when every byte a match from it may need is here.
        const std::uint64_t end = base + have;
        const std::uint64_t to = eof ? end : end - reach;
        if (to > tested && !patterns_.empty()) {
            const int hit = matcher.Search(buffer.get(), base, have, tested, to, pe ? &image : nullptr);
            if (hit >= 0) return patterns_[static_cast<std::size_t>(hit)].name;
        }
        if (to > tested) tested = to;
        if (eof) break;
        const std::uint64_t keep = tested >= base + reach ? tested - reach : base;
        const std::size_t drop = static_cast<std::size_t>(keep - base);
        std::memmove(buffer.get(), buffer.get() + drop, have - drop);
        have -= drop;
        base = keep;
    }
    if (!hashing || total != static_cast<std::uint64_t>(size)) return "";
    unsigned char digest[Sha512::kDigestSize];
    sha.Final(digest);
    for (auto it = sized.first; it != sized.second; ++it) {
        const HashSignature& h = hashes_[it->second];
        if (std::memcmp(h.digest.data(), digest, sizeof digest) == 0) return h.name;
    }
    return "";
}

} // namespace vur::engines
