// Content patterns of the signature files: hex bytes, "??" for any byte and bounded gaps "{n}" / "{n-m}".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vur::engines {

// A run of bytes between two gaps; `fixed` holds 1 where the byte must equal `bytes`, 0 for "??".
struct PatternSegment {
    std::string bytes;
    std::string fixed;
};

struct PatternGap {
    std::size_t min = 0, max = 0;
};

// Limits that keep one candidate's check small and bound how much of a file must stay in memory around it.
constexpr std::size_t kMaxGap = 1024;
constexpr std::size_t kMaxPatternSpan = 4096;
// The matcher finds a pattern by four bytes without wildcards; a pattern needs at least one such run.
constexpr std::size_t kAnchorBytes = 4;

struct HexPattern {
    std::vector<PatternSegment> segments; // segments[i] and segments[i + 1] are separated by gaps[i]
    std::vector<PatternGap> gaps;
    std::size_t anchorSegment = 0, anchorOffset = 0; // where in which segment the four anchor bytes lie

    std::uint32_t AnchorKey() const;
    // The most bytes a match may cover before the anchor's first byte and from it on.
    std::size_t MaxBefore() const;
    std::size_t MaxFrom() const;
};

// False for text that is not a pattern: odd or non-hex digits, a gap at either end or next to another, a gap
// wider than kMaxGap, a span above kMaxPatternSpan, no run of kAnchorBytes fixed bytes.
bool ParseHexPattern(const std::string& text, HexPattern& pattern);

// Where a match may lie, in absolute file offsets: its first byte at `start` exactly (when startExact), and
// the whole match inside [low, high).
struct Placement {
    bool startExact = false;
    std::uint64_t start = 0;
    std::uint64_t low = 0, high = UINT64_MAX;
};

// Whether the pattern matches with its anchor at absolute offset `anchorAt`, given the bytes of the absolute
// range [base, base + size). A match must lie inside that range.
bool MatchAt(const HexPattern& pattern, const unsigned char* data, std::uint64_t base, std::size_t size,
             std::uint64_t anchorAt, const Placement& placement);

} // namespace vur::engines
