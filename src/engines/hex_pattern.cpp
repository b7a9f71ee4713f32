// Parsing content patterns and checking one candidate match around its anchor.
#include "engines/hex_pattern.h"

#include <algorithm>

#include "shared/hex_text.h"

namespace vur::engines {

namespace {

bool ParseNumber(const std::string& text, std::size_t& at, std::size_t& value) {
    const std::size_t begin = at;
    value = 0;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9' && at - begin < 6)
        value = value * 10 + static_cast<std::size_t>(text[at++] - '0');
    return at > begin;
}

// Bytes that fill much of every program file: an anchor made of them would make almost every position a
// candidate.
int Commonness(unsigned char byte) {
    switch (byte) {
    case 0x00: return 8;
    case 0xFF: return 4;
    case 0x20: case 0x90: case 0xCC: case 0x01: return 2;
    default: return 0;
    }
}

bool ChooseAnchor(HexPattern& pattern) {
    int best = -1;
    for (std::size_t s = 0; s < pattern.segments.size(); ++s) {
        const PatternSegment& segment = pattern.segments[s];
        std::size_t run = 0;
        for (std::size_t i = 0; i < segment.bytes.size(); ++i) {
            run = segment.fixed[i] ? run + 1 : 0;
            if (run < kAnchorBytes) continue;
            const std::size_t from = i + 1 - kAnchorBytes;
            int score = 0;
            for (std::size_t j = from; j <= i; ++j) score += Commonness(static_cast<unsigned char>(segment.bytes[j]));
            if (best < 0 || score < best) {
                best = score;
                pattern.anchorSegment = s;
                pattern.anchorOffset = from;
            }
        }
    }
    return best >= 0;
}

bool SegmentAt(const PatternSegment& segment, const unsigned char* data, std::uint64_t base, std::size_t size,
               std::uint64_t at) {
    if (at < base || at - base > size || size - (at - base) < segment.bytes.size()) return false;
    const unsigned char* p = data + (at - base);
    for (std::size_t i = 0; i < segment.bytes.size(); ++i)
        if (segment.fixed[i] && p[i] != static_cast<unsigned char>(segment.bytes[i])) return false;
    return true;
}

void SortUnique(std::vector<std::uint64_t>& positions) {
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
}

} // namespace

std::uint32_t HexPattern::AnchorKey() const {
    const std::string& b = segments[anchorSegment].bytes;
    std::uint32_t key = 0;
    for (std::size_t i = 0; i < kAnchorBytes; ++i)
        key |= static_cast<std::uint32_t>(static_cast<unsigned char>(b[anchorOffset + i])) << (8 * i);
    return key;
}

std::size_t HexPattern::MaxBefore() const {
    std::size_t n = anchorOffset;
    for (std::size_t s = 0; s < anchorSegment; ++s) n += segments[s].bytes.size() + gaps[s].max;
    return n;
}

std::size_t HexPattern::MaxFrom() const {
    std::size_t n = segments[anchorSegment].bytes.size() - anchorOffset;
    for (std::size_t s = anchorSegment + 1; s < segments.size(); ++s) n += gaps[s - 1].max + segments[s].bytes.size();
    return n;
}

bool ParseHexPattern(const std::string& text, HexPattern& pattern) {
    pattern = HexPattern();
    pattern.segments.emplace_back();
    std::size_t span = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        const char c = text[at];
        if (c == ' ' || c == '\t') {
            ++at;
        } else if (c == '{') {
            if (pattern.segments.back().bytes.empty()) return false; // at the start or after another gap
            PatternGap gap;
            ++at;
            if (!ParseNumber(text, at, gap.min)) return false;
            gap.max = gap.min;
            if (at < text.size() && text[at] == '-') {
                ++at;
                if (!ParseNumber(text, at, gap.max)) return false;
            }
            if (at >= text.size() || text[at] != '}' || gap.max < gap.min || gap.max > kMaxGap) return false;
            ++at;
            span += gap.max;
            pattern.gaps.push_back(gap);
            pattern.segments.emplace_back();
        } else if (c == '?') {
            if (at + 1 >= text.size() || text[at + 1] != '?') return false;
            at += 2;
            pattern.segments.back().bytes += '\0';
            pattern.segments.back().fixed += '\0';
            ++span;
        } else {
            if (at + 1 >= text.size()) return false;
            const int hi = HexDigitValue(c), lo = HexDigitValue(text[at + 1]);
            if (hi < 0 || lo < 0) return false;
            at += 2;
            pattern.segments.back().bytes += static_cast<char>(hi * 16 + lo);
            pattern.segments.back().fixed += '\1';
            ++span;
        }
        if (span > kMaxPatternSpan) return false;
    }
    if (pattern.segments.back().bytes.empty()) return false; // empty, or ends in a gap
    return ChooseAnchor(pattern);
}

bool MatchAt(const HexPattern& pattern, const unsigned char* data, std::uint64_t base, std::size_t size,
             std::uint64_t anchorAt, const Placement& placement) {
    if (anchorAt < pattern.anchorOffset) return false;
    const std::uint64_t first = anchorAt - pattern.anchorOffset;
    const std::size_t k = pattern.anchorSegment;
    if (!SegmentAt(pattern.segments[k], data, base, size, first)) return false;

    // The segments after the anchor's, each gap tried at every width: the possible ends of the match.
    std::vector<std::uint64_t> ends{first + pattern.segments[k].bytes.size()}, next;
    for (std::size_t s = k + 1; s < pattern.segments.size() && !ends.empty(); ++s) {
        next.clear();
        for (std::uint64_t end : ends)
            for (std::size_t g = pattern.gaps[s - 1].min; g <= pattern.gaps[s - 1].max; ++g)
                if (SegmentAt(pattern.segments[s], data, base, size, end + g))
                    next.push_back(end + g + pattern.segments[s].bytes.size());
        SortUnique(next);
        ends.swap(next);
    }
    if (ends.empty() || ends.front() > placement.high) return false;

    // The segments before it, backwards: the possible starts.
    std::vector<std::uint64_t> starts{first};
    for (std::size_t s = k; s-- > 0 && !starts.empty();) {
        next.clear();
        const std::uint64_t length = pattern.segments[s].bytes.size();
        for (std::uint64_t start : starts)
            for (std::size_t g = pattern.gaps[s].min; g <= pattern.gaps[s].max; ++g)
                if (start >= g + length && SegmentAt(pattern.segments[s], data, base, size, start - g - length))
                    next.push_back(start - g - length);
        SortUnique(next);
        starts.swap(next);
    }
    if (starts.empty() || starts.back() < placement.low) return false;
    return !placement.startExact || std::binary_search(starts.begin(), starts.end(), placement.start);
}

} // namespace vur::engines
