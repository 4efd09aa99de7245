#include <gtest/gtest.h>

#include <png.h>

#include "sim/control/Base64.h"
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

} // namespace
