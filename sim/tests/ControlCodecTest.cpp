#include <gtest/gtest.h>

#include <png.h>

#include "sim/control/Base64.h"
#include "sim/control/HexBytes.h"
#include "sim/control/PngEncoder.h"

namespace {

std::vector<std::uint8_t> Bytes(std::string_view s) {
    return {s.begin(), s.end()};
}

TEST(Base64Test, EncodesTheStandardVectorsAndDecodesThemBack) {
    const std::pair<const char*, const char*> vectors[] = {
        {"", ""},
        {"f", "Zg=="},
        {"fo", "Zm8="},
        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="},
        {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"},
    };
    for (const auto& [plain, coded] : vectors) {
        SCOPED_TRACE(plain);
        EXPECT_EQ(Base64::Encode(Bytes(plain)), coded);
        EXPECT_EQ(Base64::Decode(coded), Bytes(plain));
    }
    std::vector<std::uint8_t> all(256);
    for (int i = 0; i < 256; ++i)
        all[std::size_t(i)] = std::uint8_t(255 - i);
    EXPECT_EQ(Base64::Decode(Base64::Encode(all)), all);
}

// "A===" and the white space are what the library's decoder would take on its own; "Zh=="
// leaves a bit set past its one byte, which only "Zg==" encodes.
TEST(Base64Test, RefusesMalformedText) {
    for (const char* bad : {"Zg=", "Zm9v!A==", "Z===", "A===", "Zg==Zm9v", "Zm=v", "Zm9v\n",
                            "Zm9v\n\n\n\n", "Zh=="}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(Base64::Decode(bad));
    }
}

TEST(PngEncoderTest, PixelsComeBackFromTheFileAsTheyWere) {
    // Host pixels are 0x00RRGGBB; the top byte is ignored.
    const std::vector<std::uint32_t> pixels = {0x00FF0000, 0x0000FF00, 0x000000FF,
                                               0xAB123456, 0x00FFFFFF, 0x00000000};
    std::string error;
    const auto png = PngEncoder::Encode(pixels, 3, 2, error);
    ASSERT_FALSE(png.empty()) << error;

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_memory(&image, png.data(), png.size()));
    EXPECT_EQ(image.width, 3u);
    EXPECT_EQ(image.height, 2u);
    image.format = PNG_FORMAT_RGB;
    std::vector<std::uint8_t> rgb(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr));
    const std::vector<std::uint8_t> expected = {0xFF, 0,    0,    0,    0xFF, 0,    0, 0, 0xFF,
                                                0x12, 0x34, 0x56, 0xFF, 0xFF, 0xFF, 0, 0, 0};
    EXPECT_EQ(rgb, expected);
}

TEST(PngEncoderTest, RefusesAPictureWhoseSizeDoesNotMatch) {
    std::string error;
    EXPECT_TRUE(PngEncoder::Encode(std::vector<std::uint32_t>(5), 3, 2, error).empty());
    EXPECT_EQ(error, "picture size does not match its pixels");
}

// A raw request's bytes from the command line: two digits a byte, high digit first, white space
// only between whole bytes; anything else is refused with the place of the fault.
TEST(HexBytesTest, ReadsBytesAndRefusesWhatIsNoWholeByte) {
    struct Case {
        const char* text;
        std::vector<std::uint8_t> bytes; // empty: refused
        const char* error;
    };
    const Case cases[] = {
        {"00", {0x00}, ""},
        {"5100750069", {0x51, 0x00, 0x75, 0x00, 0x69}, ""},
        {"aBcDeF09", {0xAB, 0xCD, 0xEF, 0x09}, ""},
        {"ff 00\tD8\n3d\r\n", {0xFF, 0x00, 0xD8, 0x3D}, ""},
        {"  01  ", {0x01}, ""},
        {"", {}, "no hex digits"},
        {" \n ", {}, "no hex digits"},
        {"5", {}, "an odd number of hex digits: the last byte has one"},
        {"51007", {}, "an odd number of hex digits: the last byte has one"},
        {"5 100", {}, "a byte of one hex digit before the white space at position 2"},
        {"51g0", {}, "'g' at position 3 is not a hex digit"},
        {"0x51", {}, "'x' at position 2 is not a hex digit"},
        {"51-00", {}, "'-' at position 3 is not a hex digit"},
        {"51\x01", {}, "byte 0x01 at position 3 is not a hex digit"},
        {"\xC3\xA9", {}, "byte 0xC3 at position 1 is not a hex digit"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::string error;
        const auto bytes = HexBytes::Parse(c.text, error);
        if (c.bytes.empty()) {
            EXPECT_FALSE(bytes);
        } else {
            ASSERT_TRUE(bytes) << error;
            EXPECT_EQ(*bytes, c.bytes);
        }
        EXPECT_EQ(error, c.error);
    }
}

} // namespace
