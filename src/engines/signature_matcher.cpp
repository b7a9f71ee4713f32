// The multi-pattern search; see signature_matcher.h.
#include "signature_matcher.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace vur::engines {

namespace {

std::uint32_t SlotOf(std::uint32_t key, std::uint32_t mask) { return (key * 0x9E3779B1u >> 7) & mask; }

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
    : patterns_(patterns), pairs_(65536 / 64) {
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
        pairs_[(key & 0xFFFF) >> 6] |= 1ull << (key & 63);
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

int SignatureMatcher::Search(const unsigned char* data, std::uint64_t base, std::size_t size, std::uint64_t from,
                             std::uint64_t to, const PeImage* image) const {
    if (ids_.empty() || size < kAnchorBytes) return -1;
    const std::uint64_t last = base + size - kAnchorBytes + 1;
    if (to > last) to = last;
    const std::uint64_t* pairs = pairs_.data();
    for (std::uint64_t at = from; at < to; ++at) {
        const unsigned char* q = data + (at - base);
        const unsigned pair = q[0] | static_cast<unsigned>(q[1]) << 8;
        if (!((pairs[pair >> 6] >> (pair & 63)) & 1)) continue;
        const std::uint32_t key = Load32(q);
        for (std::uint32_t s = SlotOf(key, slotMask_); slots_[s].count; s = (s + 1) & slotMask_) {
            if (slots_[s].key != key) continue;
            for (std::uint32_t i = 0; i < slots_[s].count; ++i) {
                const std::uint32_t id = ids_[slots_[s].begin + i];
                const PatternSignature& signature = patterns_[id];
                Placement placement;
                if (Placed(signature, image, placement) &&
                    MatchAt(signature.pattern, data, base, size, at, placement))
                    return static_cast<int>(id);
            }
            break;
        }
    }
    return -1;
}

int SignatureMatcher::FindInBuffer(const unsigned char* data, std::size_t size) const {
    PeImage image;
    const bool pe = ParsePeHeaders(data, size, size, image);
    return Search(data, 0, size, 0, size, pe ? &image : nullptr);
}

} // namespace vur::engines
