// DecodeJpeg on the suite's own pictures and on damaged data.
#include "shared/ui/jpeg.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

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
        EXPECT_GT(text.size(), 6u) << "libjpeg's reason follows";
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
