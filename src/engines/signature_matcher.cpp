// The multi-pattern search; see signature_matcher.h.
#include "engines/signature_matcher.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace vur::engines {

namespace {

std::uint32_t SlotOf(std::uint32_t key, std::uint32_t mask) { return (key * 0x9E3779B1u >> 7) & mask; }

unsigned PairAt(const unsigned char* p) {
    std::uint16_t pair;
    std::memcpy(&pair, p, 2);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    pair = __builtin_bswap16(pair);
#endif
    return pair;
}

std::uint32_t Load32(const unsigned char* p) {
    std::uint32_t v;
    std::memcpy(&v, p, 4);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    v = __builtin_bswap32(v);
#endif
    return v;
}

} // namespace

SignatureMatcher::SignatureMatcher(const std::vector<PatternSignature>& patterns)
    : patterns_(patterns), pairOffsets_(65536) {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> keyed;
    for (std::size_t i = 0; i < patterns.size(); ++i) {
        const HexPattern& p = patterns[i].pattern;
        keyed.emplace_back(p.AnchorKey(), static_cast<std::uint32_t>(i));
        reach_ = std::max({reach_, p.MaxBefore(), p.MaxFrom()});
    }
    std::sort(keyed.begin(), keyed.end());
    std::uint32_t slots = 16;
    while (slots < 2 * keyed.size()) slots *= 2;
    slots_.resize(slots);
    slotMask_ = slots - 1;
    for (std::size_t i = 0; i < keyed.size();) {
        const std::uint32_t key = keyed[i].first;
        for (int offset = 0; offset < 3; ++offset) {
            const std::uint32_t pair = (key >> (8 * offset)) & 0xFFFF;
            pairOffsets_[pair] |= static_cast<std::uint8_t>(1u << offset);
        }
        std::uint32_t s = SlotOf(key, slotMask_);
        while (slots_[s].count) s = (s + 1) & slotMask_;
        slots_[s].key = key;
        slots_[s].begin = static_cast<std::uint32_t>(ids_.size());
        for (; i < keyed.size() && keyed[i].first == key; ++i) ids_.push_back(keyed[i].second);
        slots_[s].count = static_cast<std::uint32_t>(ids_.size()) - slots_[s].begin;
    }
}

bool SignatureMatcher::Placed(const PatternSignature& signature, const PeImage* image, Placement& placement) const {
    placement = Placement();
    switch (signature.where) {
    case PatternSignature::Where::Any:
        return true;
    case PatternSignature::Where::Offset:
        placement.startExact = true;
        placement.start = signature.offset;
        return true;
    case PatternSignature::Where::Section:
        if (!image) return false;
        for (const PeSection& s : image->sections) {
            if (s.name != signature.section) continue;
            placement.low = s.rawOffset;
            placement.high = static_cast<std::uint64_t>(s.rawOffset) + s.rawSize;
            return true;
        }
        return false;
    }
    return false;
}

bool SignatureMatcher::Candidate(const unsigned char* data, std::uint64_t base, std::size_t size, std::uint64_t at,
                                 const PeImage* image, int& hit) const {
    const std::uint32_t key = Load32(data + (at - base));
    for (std::uint32_t s = SlotOf(key, slotMask_); slots_[s].count; s = (s + 1) & slotMask_) {
        if (slots_[s].key != key) continue;
        for (std::uint32_t i = 0; i < slots_[s].count; ++i) {
            const std::uint32_t id = ids_[slots_[s].begin + i];
            const PatternSignature& signature = patterns_[id];
            Placement placement;
            if (Placed(signature, image, placement) && MatchAt(signature.pattern, data, base, size, at, placement)) {
                hit = static_cast<int>(id);
                return true;
            }
        }
        return false;
    }
    return false;
}

int SignatureMatcher::Search(const unsigned char* data, std::uint64_t base, std::size_t size, std::uint64_t from,
                             std::uint64_t to, const PeImage* image) const {
    if (ids_.empty() || size < kAnchorBytes) return -1;
    const std::uint64_t last = base + size - kAnchorBytes + 1; // the last anchor start, plus one
    if (to > last) to = last;
    if (from >= to) return -1;
    const std::uint8_t* offsets = pairOffsets_.data();
    // Sampled pairs start at from, from + 3, ...; an anchor starting at j holds the sampled pair at j, j + 1
    // or j + 2, and so is seen from exactly one of them. The last one sampled ends inside the last anchor.
    const unsigned char* p = data + (from - base);
    const unsigned char* end = data + (to - base) + 2;
    auto sample = [&](const unsigned char* q, unsigned mask, std::uint64_t at, int& hit) {
        for (std::uint64_t k = 3; k-- > 0;) { // the anchor starts k bytes before the sampled pair
            if (!((mask >> k) & 1) || at < from + k || at - k >= to) continue;
            const unsigned char* anchor = q - k;
            const std::uint64_t other = k == 2 ? 0 : 2;
            if (((offsets[PairAt(anchor + other)] >> other) & 1) && Candidate(data, base, size, at - k, image, hit))
                return true;
        }
        return false;
    };
    std::uint64_t at = from;
    int hit;
    // Four samples per test: almost every group of twelve bytes holds no anchor pair at all.
    for (; end - p > 12; p += 12, at += 12) {
        const unsigned m0 = offsets[PairAt(p)], m1 = offsets[PairAt(p + 3)], m2 = offsets[PairAt(p + 6)],
                       m3 = offsets[PairAt(p + 9)];
        if (!(m0 | m1 | m2 | m3)) continue;
        if ((m0 && sample(p, m0, at, hit)) || (m1 && sample(p + 3, m1, at + 3, hit)) ||
            (m2 && sample(p + 6, m2, at + 6, hit)) || (m3 && sample(p + 9, m3, at + 9, hit)))
            return hit;
    }
    for (; p < end; p += 3, at += 3) {
        const unsigned m = offsets[PairAt(p)];
        if (m && sample(p, m, at, hit)) return hit;
    }
    return -1;
}

int SignatureMatcher::FindInBuffer(const unsigned char* data, std::size_t size) const {
    PeImage image;
    const bool pe = ParsePeHeaders(data, size, size, image);
    return Search(data, 0, size, 0, size, pe ? &image : nullptr);
}

} // namespace vur::engines
