// DecodeJpeg on the suite's own pictures and on damaged data.
#include "shared/ui/jpeg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace {

std::vector<std::uint8_t> ReadPicture(const std::string& name) {
    std::ifstream file(std::string(VUR_PICTURES_DIR) + "/" + name, std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_FALSE(bytes.empty()) << name;
    return bytes;
}

vur::RgbImage Decode(const std::vector<std::uint8_t>& bytes) { return vur::DecodeJpeg(bytes.data(), bytes.size()); }

// The message of the EJpegError that decoding `bytes` raises; fails the test when it decodes.
std::string ErrorOf(const std::vector<std::uint8_t>& bytes) {
    try {
        Decode(bytes);
    } catch (const vur::EJpegError& e) {
        return e.what();
    }
    ADD_FAILURE() << "damaged data decoded without an error";
    return "";
}

const std::uint8_t* Pixel(const vur::RgbImage& image, int x, int y) {
    return image.pixels.data() + (static_cast<size_t>(y) * image.width + x) * 3;
}

TEST(JpegPictures, ShippedPicturesHaveTheirSizes) {
    struct Expected {
        const char* name;
        int width, height;
    };
    for (Expected e : {Expected{"logo.jpg", 150, 65}, Expected{"scanner.jpg", 50, 50}, Expected{"config.jpg", 50, 50},
                       Expected{"quarantine.jpg", 50, 50}, Expected{"help.jpg", 50, 50},
                       Expected{"update.jpg", 50, 50}}) {
        vur::RgbImage image = Decode(ReadPicture(e.name));
        EXPECT_EQ(image.width, e.width) << e.name;
        EXPECT_EQ(image.height, e.height) << e.name;
        EXPECT_EQ(image.pixels.size(), static_cast<size_t>(e.width) * e.height * 3) << e.name;
    }
    vur::RgbImage strip = Decode(ReadPicture("strip.jpg"));
    EXPECT_EQ(strip.height, 16);
    EXPECT_GT(strip.width, 0);
}

TEST(JpegPictures, PixelsComeTopRowFirstInRedGreenBlueOrder) {
    vur::RgbImage strip = Decode(ReadPicture("strip.jpg"));
    // The strip runs from the light hover green at the top to a dark green at the bottom.
    const std::uint8_t* top = Pixel(strip, 0, 0);
    const std::uint8_t* bottom = Pixel(strip, 0, strip.height - 1);
    EXPECT_GT(top[1], bottom[1] + 60);
    EXPECT_GT(bottom[1], bottom[0] + 20);
    EXPECT_GT(bottom[1], bottom[2] + 20);
    vur::RgbImage logo = Decode(ReadPicture("logo.jpg"));
    const std::uint8_t* corner = Pixel(logo, logo.width - 1, 0);
    EXPECT_GT(corner[0] + corner[1] + corner[2], 3 * 245) << "the logo stands on white";
}

// libjpeg's pixels of `bytes`, decoded with the accurate integer transform and without smoothing the
// subsampled components, which the suite's decoder repeats over their pixels.
vur::RgbImage ReferenceDecode(const std::vector<std::uint8_t>& bytes) {
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    info.dct_method = JDCT_ISLOW;
    info.do_fancy_upsampling = FALSE;
    jpeg_start_decompress(&info);
    vur::RgbImage image;
    image.width = static_cast<int>(info.output_width);
    image.height = static_cast<int>(info.output_height);
    image.pixels.resize(static_cast<size_t>(image.width) * image.height * 3);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.pixels.data() + static_cast<size_t>(info.output_scanline) * image.width * 3;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return image;
}

// A picture of smooth colour gradients with a few hard edges, encoded by libjpeg in the layout given.
std::vector<std::uint8_t> Encode(int width, int height, int components, int hLuma, int vLuma, int restartRows,
                                 bool optimize) {
    std::vector<std::uint8_t> pixels(static_cast<size_t>(width) * height * components);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = pixels.data() + (static_cast<size_t>(y) * width + x) * components;
            const bool box = x > width / 3 && x < width / 2 && y > height / 4 && y < height / 2;
            p[0] = static_cast<std::uint8_t>(box ? 20 : 40 + 180 * x / width);
            if (components == 3) {
                p[1] = static_cast<std::uint8_t>(box ? 230 : 30 + 200 * y / height);
                p[2] = static_cast<std::uint8_t>(box ? 40 : 200 - 150 * (x + y) / (width + height));
            }
        }
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = components;
    info.in_color_space = components == 3 ? JCS_RGB : JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 85, TRUE);
    info.comp_info[0].h_samp_factor = hLuma;
    info.comp_info[0].v_samp_factor = vLuma;
    info.restart_in_rows = restartRows;
    info.optimize_coding = optimize ? TRUE : FALSE;
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = pixels.data() + static_cast<size_t>(info.next_scanline) * width * components;
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<std::uint8_t> bytes(out, out + size);
    std::free(out);
    return bytes;
}

// The largest difference of one colour value between the two pictures, which must have the same size.
int LargestDifference(const vur::RgbImage& a, const vur::RgbImage& b) {
    EXPECT_EQ(a.width, b.width);
    EXPECT_EQ(a.height, b.height);
    if (a.pixels.size() != b.pixels.size()) return 256;
    int largest = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i) largest = std::max(largest, std::abs(a.pixels[i] - b.pixels[i]));
    return largest;
}

TEST(JpegPictures, ShippedPicturesDecodeAsLibjpegDecodesThem) {
    for (const char* name : {"logo.jpg", "strip.jpg", "scanner.jpg", "config.jpg", "quarantine.jpg", "help.jpg",
                             "update.jpg"}) {
        const std::vector<std::uint8_t> bytes = ReadPicture(name);
        EXPECT_LE(LargestDifference(Decode(bytes), ReferenceDecode(bytes)), 2) << name;
    }
}

// Layouts beyond the suite's own pictures: subsampled colour (4:2:0, 4:2:2), grey, restart markers, optimised
// Huffman tables and sizes that are no multiple of a block or of an MCU.
TEST(JpegPictures, OtherBaselineLayoutsDecodeAsLibjpegDecodesThem) {
    struct Layout {
        int width, height, components, h, v, restartRows;
        bool optimize;
    };
    for (Layout l : {Layout{37, 23, 3, 2, 2, 0, false}, Layout{64, 48, 3, 2, 1, 1, true}, Layout{19, 70, 1, 1, 1, 2, false},
                     Layout{8, 8, 3, 1, 1, 0, true}, Layout{101, 3, 3, 2, 2, 1, false}}) {
        const std::vector<std::uint8_t> bytes = Encode(l.width, l.height, l.components, l.h, l.v, l.restartRows, l.optimize);
        EXPECT_LE(LargestDifference(Decode(bytes), ReferenceDecode(bytes)), 2)
            << l.width << "x" << l.height << " components " << l.components << " sampling " << l.h << "x" << l.v;
    }
}

TEST(JpegDamage, ProgressivePicturesAreRefusedByName) {
    std::vector<std::uint8_t> logo = ReadPicture("logo.jpg");
    for (size_t i = 2; i + 1 < logo.size(); ++i)
        if (logo[i] == 0xFF && logo[i + 1] == 0xC0) {
            logo[i + 1] = 0xC2;
            break;
        }
    EXPECT_EQ(ErrorOf(logo), "JPEG: Unsupported JPEG process: SOF type 0xc2");
}

TEST(JpegDamage, DataThatIsNoJpegIsRefused) {
    EXPECT_EQ(ErrorOf({}), "JPEG: Empty picture data");
    std::string text = ErrorOf({'G', 'I', 'F', '8', '9', 'a', 0, 0});
    EXPECT_EQ(text.rfind("JPEG: Not a JPEG file", 0), 0u) << text;
    EXPECT_THROW(vur::DecodeJpeg(nullptr, 10), vur::EJpegError);
}

TEST(JpegDamage, TruncatedPictureIsAnErrorNotGreyNoise) {
    std::vector<std::uint8_t> logo = ReadPicture("logo.jpg");
    for (size_t keep : {size_t{2}, size_t{20}, logo.size() / 2, logo.size() - 2}) {
        std::vector<std::uint8_t> cut(logo.begin(), logo.begin() + static_cast<long>(keep));
        std::string text = ErrorOf(cut);
        EXPECT_EQ(text.rfind("JPEG: ", 0), 0u) << keep << ": " << text;
        EXPECT_GT(text.size(), 6u) << "the reason follows";
    }
}

TEST(JpegDamage, HugeDimensionsAreRefusedBeforeAllocation) {
    std::vector<std::uint8_t> logo = ReadPicture("logo.jpg");
    // The frame header (FFC0 .. FFC2): length, precision, then height and width as big-endian 16-bit numbers.
    size_t sof = 0;
    for (size_t i = 2; i + 9 < logo.size(); ++i)
        if (logo[i] == 0xFF && logo[i + 1] >= 0xC0 && logo[i + 1] <= 0xC2) {
            sof = i;
            break;
        }
    ASSERT_NE(sof, 0u);
    logo[sof + 5] = 0x17; // height 6000
    logo[sof + 6] = 0x70;
    logo[sof + 7] = 0x13; // width 5000
    logo[sof + 8] = 0x88;
    EXPECT_EQ(ErrorOf(logo), "JPEG: Picture of 5000x6000 pixels is too large");
}

// Every single damaged byte either decodes to the full picture or fails with an EJpegError, never anything
// else; AddressSanitizer watches the memory on the way.
TEST(JpegDamage, FlippedBytesNeverCrash) {
    const std::vector<std::uint8_t> original = ReadPicture("config.jpg");
    int errors = 0;
    for (size_t at = 0; at < original.size(); at += 7) {
        std::vector<std::uint8_t> damaged = original;
        damaged[at] ^= 0x5A;
        try {
            vur::RgbImage image = Decode(damaged);
            EXPECT_EQ(image.pixels.size(), static_cast<size_t>(image.width) * image.height * 3) << at;
        } catch (const vur::EJpegError& e) {
            EXPECT_EQ(std::string(e.what()).rfind("JPEG: ", 0), 0u) << at;
            ++errors;
        }
    }
    EXPECT_GT(errors, 0) << "damage to the headers must be noticed";
}

} // namespace
