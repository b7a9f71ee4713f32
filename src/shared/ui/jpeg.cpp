// A baseline JPEG decoder (ITU T.81, sequential DCT with Huffman coding, 8-bit samples, JFIF colours): what
// the suite's pictures are. The general decoder library brought about 150 KB into every program with a
// window, for processes (progressive, arithmetic, 12-bit) and outputs (colour quantisation, scaling) no
// picture of the suite uses. Every check fails with one EJpegError; nothing is read outside the data given.
#include "shared/ui/jpeg.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace vur {

namespace {

[[noreturn]] void Fail(const std::string& reason) { throw EJpegError("JPEG: " + reason); }

std::string Hex(unsigned value) {
    const char* digits = "0123456789abcdef";
    std::string text = "0x";
    text += digits[(value >> 4) & 15];
    text += digits[value & 15];
    return text;
}

// Position k of the zig-zag sequence is coefficient kNatural[k] of the row-major 8x8 block.
constexpr unsigned char kNatural[64] = {0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,
                                        12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6,  7,  14, 21, 28,
                                        35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
                                        58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

// A Huffman table in the canonical form of T.81 Annex C/F.2.2.3: per code length the largest code and where
// its values begin.
struct HuffmanTable {
    bool defined = false;
    int maxCode[18] = {};
    int valueOffset[17] = {};
    unsigned char values[256] = {};
};

struct Component {
    int id = 0, h = 1, v = 1, quant = 0;
    int dcTable = 0, acTable = 0, predictor = 0;
    bool scanned = false;
    int stride = 0;                  // samples per plane row: the blocks across all MCUs times 8
    std::vector<std::uint8_t> plane; // the component's samples over whole MCUs
};

// DC sums of damaged data stay in a range whose products with any quantiser fit an int.
int Limit(int value) { return value < -32767 ? -32767 : value > 32767 ? 32767 : value; }

class Decoder {
  public:
    Decoder(const std::uint8_t* data, std::size_t size) : data_(data), end_(data + size), at_(data) {}

    RgbImage Run() {
        if (end_ - at_ < 2 || at_[0] != 0xFF || at_[1] != 0xD8) {
            const unsigned first = at_ < end_ ? at_[0] : 0, second = end_ - at_ > 1 ? at_[1] : 0;
            Fail("Not a JPEG file: starts with " + Hex(first) + " " + Hex(second));
        }
        at_ += 2;
        bool scanned = false;
        for (;;) {
            const int marker = NextMarker();
            if (marker == 0xD9) break; // end of image
            if (marker == 0xC4) Huffman();
            else if (marker == 0xDB) Quantization();
            else if (marker == 0xDD) RestartInterval();
            else if (marker == 0xC0 || marker == 0xC1) Frame();
            else if (marker >= 0xC2 && marker <= 0xCF && marker != 0xC8 && marker != 0xCC)
                Fail("Unsupported JPEG process: SOF type " + Hex(static_cast<unsigned>(marker)));
            else if (marker == 0xDA) {
                Scan();
                scanned = true;
            } else if (marker == 0xD8) Fail("Invalid JPEG file structure: two SOI markers");
            else Skip();
        }
        if (!scanned) Fail("JPEG datastream contains no image");
        for (const Component& c : components_)
            if (!c.scanned) Fail("Invalid JPEG file structure: a component has no scan");
        return Colours();
    }

  private:
    [[noreturn]] static void Premature() { Fail("Premature end of JPEG file"); }

    unsigned Byte() {
        if (at_ >= end_) Premature();
        return *at_++;
    }
    unsigned Word() {
        const unsigned high = Byte();
        return high << 8 | Byte();
    }

    // Markers may be preceded by any number of fill bytes 0xFF; other bytes between segments are damage.
    int NextMarker() {
        if (Byte() != 0xFF) Fail("Corrupt JPEG data: extraneous bytes before marker");
        unsigned marker;
        do marker = Byte();
        while (marker == 0xFF);
        if (marker == 0) Fail("Corrupt JPEG data: extraneous bytes before marker");
        return static_cast<int>(marker);
    }

    // The length of the segment that starts here; afterwards segmentEnd_ bounds its reads.
    void Segment() {
        const unsigned length = Word();
        if (length < 2) Fail("Bogus marker length");
        if (static_cast<std::size_t>(end_ - at_) < length - 2) Premature();
        segmentEnd_ = at_ + (length - 2);
    }
    unsigned SegmentByte() {
        if (at_ >= segmentEnd_) Fail("Bogus marker length");
        return *at_++;
    }
    void EndSegment() {
        if (at_ != segmentEnd_) Fail("Bogus marker length");
    }
    void Skip() {
        Segment();
        at_ = segmentEnd_;
    }

    void Quantization() {
        Segment();
        while (at_ < segmentEnd_) {
            const unsigned spec = SegmentByte();
            if ((spec & 15) > 3) Fail("Bogus DQT index " + std::to_string(spec & 15));
            int* table = quant_[spec & 15];
            for (int k = 0; k < 64; ++k) {
                unsigned value = SegmentByte();
                if (spec >> 4) value = value << 8 | SegmentByte();
                table[kNatural[k]] = static_cast<int>(value);
            }
            quantDefined_[spec & 15] = true;
        }
    }

    void Huffman() {
        Segment();
        while (at_ < segmentEnd_) {
            const unsigned spec = SegmentByte();
            if ((spec & 15) > 3 || (spec >> 4) > 1) Fail("Bogus DHT index " + std::to_string(spec));
            HuffmanTable& table = huffman_[spec >> 4][spec & 15];
            int counts[17] = {}, total = 0;
            for (int length = 1; length <= 16; ++length) total += counts[length] = static_cast<int>(SegmentByte());
            if (total > 256) Fail("Bogus Huffman table definition");
            for (int i = 0; i < total; ++i) table.values[i] = static_cast<unsigned char>(SegmentByte());
            int code = 0, index = 0;
            for (int length = 1; length <= 16; ++length) {
                table.valueOffset[length] = index - code;
                code += counts[length];
                index += counts[length];
                table.maxCode[length] = counts[length] ? code - 1 : -1;
                if (code > (1 << length)) Fail("Bogus Huffman table definition");
                code <<= 1;
            }
            table.maxCode[17] = 0x7FFFFFFF; // ends the search of a damaged stream
            table.defined = true;
        }
    }

    void RestartInterval() {
        Segment();
        restartInterval_ = static_cast<int>(SegmentByte() << 8);
        restartInterval_ |= static_cast<int>(SegmentByte());
        EndSegment();
    }

    void Frame() {
        if (!components_.empty()) Fail("Invalid JPEG file structure: two SOF markers");
        Segment();
        const unsigned precision = SegmentByte();
        if (precision != 8) Fail("Unsupported JPEG data precision " + std::to_string(precision));
        height_ = static_cast<int>(SegmentByte() << 8);
        height_ |= static_cast<int>(SegmentByte());
        width_ = static_cast<int>(SegmentByte() << 8);
        width_ |= static_cast<int>(SegmentByte());
        const unsigned count = SegmentByte();
        if (width_ == 0 || height_ == 0) Fail("Empty JPEG image (DNL not supported)");
        if (width_ > kMaxJpegSide || height_ > kMaxJpegSide)
            Fail("Picture of " + std::to_string(width_) + "x" + std::to_string(height_) + " pixels is too large");
        if (count != 1 && count != 3) Fail("Unsupported number of components: " + std::to_string(count));
        components_.resize(count);
        for (Component& c : components_) {
            c.id = static_cast<int>(SegmentByte());
            const unsigned sampling = SegmentByte();
            c.h = static_cast<int>(sampling >> 4);
            c.v = static_cast<int>(sampling & 15);
            c.quant = static_cast<int>(SegmentByte());
            if (c.h < 1 || c.h > 4 || c.v < 1 || c.v > 4) Fail("Bogus sampling factors");
            if (c.quant > 3) Fail("Bogus DQT index " + std::to_string(c.quant));
            hMax_ = std::max(hMax_, c.h);
            vMax_ = std::max(vMax_, c.v);
        }
        EndSegment();
        mcusAcross_ = (width_ + 8 * hMax_ - 1) / (8 * hMax_);
        mcusDown_ = (height_ + 8 * vMax_ - 1) / (8 * vMax_);
        for (Component& c : components_) {
            if (hMax_ % c.h || vMax_ % c.v) Fail("Unsupported sampling factors");
            c.stride = mcusAcross_ * c.h * 8;
            c.plane.assign(static_cast<std::size_t>(c.stride) * mcusDown_ * c.v * 8, 0);
        }
    }

    void Scan() {
        if (components_.empty()) Fail("Invalid JPEG file structure: SOS before SOF");
        Segment();
        const unsigned count = SegmentByte();
        if (count < 1 || count > 4) Fail("Bogus SOS length");
        std::vector<Component*> members;
        for (unsigned i = 0; i < count; ++i) {
            const int id = static_cast<int>(SegmentByte());
            const unsigned tables = SegmentByte();
            Component* found = nullptr;
            for (Component& c : components_)
                if (c.id == id) found = &c;
            if (!found) Fail("Invalid component ID " + std::to_string(id) + " in SOS");
            found->dcTable = static_cast<int>(tables >> 4);
            found->acTable = static_cast<int>(tables & 15);
            if (found->dcTable > 3 || found->acTable > 3) Fail("Bogus Huffman table index");
            if (!huffman_[0][found->dcTable].defined) Fail("Huffman table " + Hex(found->dcTable) + " was not defined");
            if (!huffman_[1][found->acTable].defined) Fail("Huffman table " + Hex(found->acTable) + " was not defined");
            if (!quantDefined_[found->quant]) Fail("Quantization table " + Hex(found->quant) + " was not defined");
            found->predictor = 0;
            found->scanned = true;
            members.push_back(found);
        }
        const unsigned start = SegmentByte(), stop = SegmentByte(), approximation = SegmentByte();
        EndSegment();
        if (start != 0 || stop != 63 || approximation != 0) Fail("Invalid progressive parameters in a sequential scan");
        Entropy(members);
    }

    // Bit reader over the entropy-coded segment: 0xFF 0x00 is a data byte 0xFF; a marker ends the data.
    int Bit() {
        if (bitsLeft_ == 0) {
            if (at_ >= end_) Premature();
            unsigned byte = *at_;
            if (byte == 0xFF) {
                if (end_ - at_ < 2) Premature();
                if (at_[1] != 0) Premature(); // a marker where data must go on: the data were cut short
                ++at_;
            }
            ++at_;
            bits_ = byte;
            bitsLeft_ = 8;
        }
        --bitsLeft_;
        return static_cast<int>((bits_ >> bitsLeft_) & 1);
    }
    int Bits(int count) {
        int value = 0;
        for (int i = 0; i < count; ++i) value = value << 1 | Bit();
        return value;
    }
    // T.81 F.2.2.1: a value of `size` bits whose top bit 0 means a negative number.
    int Extend(int size) {
        if (size == 0) return 0;
        if (size > 15) Fail("Corrupt JPEG data: bad Huffman code");
        const int value = Bits(size);
        return value < (1 << (size - 1)) ? value - (1 << size) + 1 : value;
    }
    int Decode(const HuffmanTable& table) {
        int code = Bit(), length = 1;
        while (code > table.maxCode[length]) {
            code = code << 1 | Bit();
            if (++length > 16) Fail("Corrupt JPEG data: bad Huffman code");
        }
        return table.values[(table.valueOffset[length] + code) & 255];
    }

    void Restart() {
        bitsLeft_ = 0;
        if (end_ - at_ < 2 || at_[0] != 0xFF || at_[1] < 0xD0 || at_[1] > 0xD7) Fail("Corrupt JPEG data: missing restart marker");
        at_ += 2;
        for (Component& c : components_) c.predictor = 0;
    }

    void Entropy(const std::vector<Component*>& members) {
        // A scan of one component covers its own blocks only, row by row (T.81 A.2.2); else whole MCUs.
        const bool single = members.size() == 1;
        int across = mcusAcross_, down = mcusDown_;
        if (single) {
            const Component& c = *members[0];
            across = ((width_ * c.h + hMax_ - 1) / hMax_ + 7) / 8;
            down = ((height_ * c.v + vMax_ - 1) / vMax_ + 7) / 8;
        }
        bitsLeft_ = 0;
        int untilRestart = restartInterval_;
        for (int y = 0; y < down; ++y)
            for (int x = 0; x < across; ++x) {
                if (restartInterval_ && untilRestart-- == 0) {
                    Restart();
                    untilRestart = restartInterval_ - 1;
                }
                if (single) {
                    Block(*members[0], x, y);
                    continue;
                }
                for (Component* c : members)
                    for (int by = 0; by < c->v; ++by)
                        for (int bx = 0; bx < c->h; ++bx) Block(*c, x * c->h + bx, y * c->v + by);
            }
        bitsLeft_ = 0;
    }

    // Decodes one 8x8 block into the component's plane at block column bx, block row by.
    void Block(Component& c, int bx, int by) {
        int coefficients[64] = {};
        const int* quant = quant_[c.quant];
        c.predictor = Limit(c.predictor + Extend(Decode(huffman_[0][c.dcTable])));
        coefficients[0] = c.predictor * quant[0];
        for (int k = 1; k < 64;) {
            const int symbol = Decode(huffman_[1][c.acTable]);
            const int run = symbol >> 4, size = symbol & 15;
            if (size == 0) {
                if (run != 15) break; // end of block
                k += 16;
                continue;
            }
            k += run;
            if (k > 63) Fail("Corrupt JPEG data: bad coefficient position");
            coefficients[kNatural[k]] = Extend(size) * quant[kNatural[k]];
            ++k;
        }
        Inverse(coefficients, c.plane.data() + static_cast<std::size_t>(by) * 8 * c.stride + bx * 8, c.stride);
    }

    // The two-dimensional inverse DCT of T.81 A.3.3 as two passes of the one-dimensional one.
    static void Inverse(const int* in, std::uint8_t* out, int stride) {
        static const Cosines cosines;
        double rows[64];
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                double sum = 0;
                for (int u = 0; u < 8; ++u) sum += cosines.c[x][u] * in[y * 8 + u];
                rows[y * 8 + x] = sum;
            }
        for (int x = 0; x < 8; ++x)
            for (int y = 0; y < 8; ++y) {
                double sum = 128.5;
                for (int v = 0; v < 8; ++v) sum += cosines.c[y][v] * rows[v * 8 + x];
                out[y * stride + x] = Clamp(static_cast<int>(std::floor(sum)));
            }
    }
    struct Cosines {
        double c[8][8];
        Cosines() {
            for (int x = 0; x < 8; ++x)
                for (int u = 0; u < 8; ++u)
                    c[x][u] = (u == 0 ? std::sqrt(0.125) : 0.5) * std::cos((2 * x + 1) * u * 3.14159265358979323846 / 16);
        }
    };
    static std::uint8_t Clamp(int value) { return static_cast<std::uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value); }

    // JFIF: one component is grey, three are Y, Cb and Cr; a subsampled component is repeated over its pixels.
    RgbImage Colours() const {
        RgbImage image;
        image.width = width_;
        image.height = height_;
        image.pixels.resize(static_cast<std::size_t>(width_) * height_ * 3);
        std::uint8_t* to = image.pixels.data();
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x, to += 3) {
                int sample[3];
                for (std::size_t i = 0; i < components_.size(); ++i) {
                    const Component& c = components_[i];
                    const int sx = x * c.h / hMax_, sy = y * c.v / vMax_;
                    sample[i] = c.plane[static_cast<std::size_t>(sy) * c.stride + sx];
                }
                if (components_.size() == 1) {
                    to[0] = to[1] = to[2] = static_cast<std::uint8_t>(sample[0]);
                    continue;
                }
                const double luma = sample[0], cb = sample[1] - 128.0, cr = sample[2] - 128.0;
                to[0] = Clamp(static_cast<int>(std::floor(luma + 1.402 * cr + 0.5)));
                to[1] = Clamp(static_cast<int>(std::floor(luma - 0.344136 * cb - 0.714136 * cr + 0.5)));
                to[2] = Clamp(static_cast<int>(std::floor(luma + 1.772 * cb + 0.5)));
            }
        return image;
    }

    const std::uint8_t* data_;
    const std::uint8_t* end_;
    const std::uint8_t* at_;
    const std::uint8_t* segmentEnd_ = nullptr;
    int quant_[4][64] = {};
    bool quantDefined_[4] = {};
    HuffmanTable huffman_[2][4];
    int restartInterval_ = 0;
    int width_ = 0, height_ = 0, hMax_ = 1, vMax_ = 1, mcusAcross_ = 0, mcusDown_ = 0;
    std::vector<Component> components_;
    unsigned bits_ = 0;
    int bitsLeft_ = 0;
};

} // namespace

RgbImage DecodeJpeg(const std::uint8_t* data, std::size_t size) {
    if (data == nullptr || size == 0) throw EJpegError("JPEG: Empty picture data");
    return Decoder(data, size).Run();
}

} // namespace vur
