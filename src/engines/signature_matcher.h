// One pass over a file's bytes for all content patterns at once. Every pattern is found by its four anchor
// bytes, which hold three overlapping byte pairs: testing the pair at every third position against a table
// of all anchors' pairs sees each anchor once. The table gives for each pair the offsets at which it occurs in
// some anchor; a sampled pair makes candidates of the positions whose anchor would hold it at such an offset,
// when another pair of that anchor fits as well. A hash table from four bytes to patterns, then a check of
// the whole pattern and its placement, decide each.
#pragma once

#include "engines/pe_image.h"
#include "engines/signature_file.h"

#include <cstdint>
#include <vector>

namespace vur::engines {

class SignatureMatcher {
public:
    // The patterns stay owned by the caller and must outlive the matcher.
    explicit SignatureMatcher(const std::vector<PatternSignature>& patterns);

    // How far a match may reach before and after its anchor's first byte.
    std::size_t Reach() const { return reach_; }

    // Tests the anchor positions [from, to) of the bytes [base, base + size): the index of the first pattern
    // found (by position, then by order), or -1. `image` gives the sections, nullptr when it is no PE file.
    int Search(const unsigned char* data, std::uint64_t base, std::size_t size, std::uint64_t from,
               std::uint64_t to, const PeImage* image) const;

    // The whole of a file already in memory.
    int FindInBuffer(const unsigned char* data, std::size_t size) const;

private:
    struct Slot {
        std::uint32_t key = 0, begin = 0, count = 0;
    };

    bool Placed(const PatternSignature& signature, const PeImage* image, Placement& placement) const;

    const std::vector<PatternSignature>& patterns_;
    bool Candidate(const unsigned char* data, std::uint64_t base, std::size_t size, std::uint64_t at,
                   const PeImage* image, int& hit) const;

    std::vector<std::uint8_t> pairOffsets_; // per byte pair: bit k set when some anchor holds it at offset k
    std::vector<Slot> slots_;          // open addressing; count 0 marks a free slot
    std::vector<std::uint32_t> ids_;   // pattern indexes grouped by anchor key, in order
    std::uint32_t slotMask_ = 0;
    std::size_t reach_ = kAnchorBytes;
};

} // namespace vur::engines
