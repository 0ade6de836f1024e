#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A decoded picture: rows of 8-bit red, green and blue, top row first.
struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels; // width * height * 3 bytes
};

// Decodes JPEG data with libjpeg. Damaged or truncated data, or anything libjpeg warns about,
// gives false and a reason in error; libjpeg is never allowed to end the process.
bool decodeJpeg(const std::uint8_t* data, std::size_t size, RgbImage& image, std::string& error);
