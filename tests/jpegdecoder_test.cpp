#include "platform/jpegdecoder.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

namespace {

std::string shippedPicture()
{
    return readBytes(MUDRACQ_SOURCE_DIR "/resources/about.jpg");
}

bool decode(const std::string& bytes, RgbImage& image, std::string& error)
{
    return decodeJpeg(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), image,
                      error);
}

// Where the entropy-coded data begins: just after the start-of-scan segment.
std::size_t scanStart(const std::string& bytes)
{
    const std::size_t sos = bytes.find("\xFF\xDA");
    const auto length = (static_cast<unsigned char>(bytes[sos + 2]) << 8) |
                        static_cast<unsigned char>(bytes[sos + 3]);
    return sos + 2 + static_cast<std::size_t>(length);
}

} // namespace

TEST(JpegDecoder, shippedPictureIs198By230InColour)
{
    RgbImage image;
    std::string error;
    ASSERT_TRUE(decode(shippedPicture(), image, error)) << error;
    EXPECT_EQ(image.width, 198);
    EXPECT_EQ(image.height, 230);
    ASSERT_EQ(image.pixels.size(), 198u * 230u * 3u);
    // A picture, not a flat fill: the colours vary.
    std::uint8_t lowest = 255;
    std::uint8_t highest = 0;
    for (std::uint8_t value : image.pixels) {
        lowest = std::min(lowest, value);
        highest = std::max(highest, value);
    }
    EXPECT_GT(highest - lowest, 150);
}

TEST(JpegDecoder, truncatedPicturesFailCleanly)
{
    const std::string whole = shippedPicture();
    for (std::size_t keep : {std::size_t{1}, std::size_t{2}, std::size_t{20}, std::size_t{300},
                             scanStart(whole), whole.size() / 2, whole.size() - 2}) {
        RgbImage image;
        std::string error;
        EXPECT_FALSE(decode(whole.substr(0, keep), image, error)) << "kept " << keep;
        EXPECT_FALSE(error.empty());
        EXPECT_TRUE(image.pixels.empty());
    }
}

TEST(JpegDecoder, corruptPicturesFailCleanly)
{
    const std::string whole = shippedPicture();
    std::string badMarker = whole;
    badMarker.replace(scanStart(whole) + 2000, 2, "\xFF\xD8");
    std::string zeroWidth = whole;
    const std::size_t sof = zeroWidth.find("\xFF\xC0");
    zeroWidth[sof + 7] = 0;
    zeroWidth[sof + 8] = 0;
    std::string noise(4096, '\0');
    for (std::size_t i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<char>((i * 7919u + 13u) & 0xFF);
    for (const std::string& bytes : {badMarker, zeroWidth, noise, std::string()}) {
        RgbImage image;
        std::string error;
        EXPECT_FALSE(decode(bytes, image, error));
        EXPECT_TRUE(image.pixels.empty());
    }
}
