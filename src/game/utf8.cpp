#include "utf8.h"

char32_t nextCodePoint(std::string_view text, std::size_t& i)
{
    const auto byteAt = [&](std::size_t k) {
        return k < text.size() ? static_cast<unsigned char>(text[k]) : 0u;
    };
    const unsigned lead = byteAt(i);
    if (lead < 0x80) {
        ++i;
        return lead;
    }
    std::size_t length = 0;
    unsigned low = 0x80, high = 0xBF; // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0; // no overlong forms
        if (lead == 0xED)
            high = 0x9F; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        if (lead == 0xF4)
            high = 0x8F; // nothing beyond U+10FFFF
    }
    if (length == 0 || byteAt(i + 1) < low || byteAt(i + 1) > high) {
        ++i;
        return kNotUtf8;
    }
    char32_t c = lead & (0x7Fu >> length);
    for (std::size_t k = 1; k < length; ++k) {
        const unsigned next = byteAt(i + k);
        if ((next & 0xC0) != 0x80) {
            ++i;
            return kNotUtf8;
        }
        c = (c << 6) | (next & 0x3Fu);
    }
    i += length;
    return c;
}

bool isUtf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();)
        if (nextCodePoint(text, i) == kNotUtf8)
            return false;
    return true;
}
