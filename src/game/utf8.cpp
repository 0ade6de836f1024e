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

namespace {

struct Range {
    char32_t first, last;
};

// Format characters (general category Cf) and the line and paragraph separators.
constexpr Range kFormatOrSeparator[] = {
    {0x00AD, 0x00AD},   {0x0600, 0x0605},   {0x061C, 0x061C},   {0x06DD, 0x06DD},
    {0x070F, 0x070F},   {0x0890, 0x0891},   {0x08E2, 0x08E2},   {0x180E, 0x180E},
    {0x200B, 0x200F},   {0x2028, 0x202E},   {0x2060, 0x2064},   {0x2066, 0x206F},
    {0xFEFF, 0xFEFF},   {0xFFF9, 0xFFFB},   {0x110BD, 0x110BD}, {0x110CD, 0x110CD},
    {0x13430, 0x1343F}, {0x1BCA0, 0x1BCA3}, {0x1D173, 0x1D17A}, {0xE0001, 0xE0001},
    {0xE0020, 0xE007F},
};

// Characters that draw nothing though they are neither: the combining grapheme joiner, the
// Hangul fillers, the variation selectors.
constexpr Range kBlank[] = {
    {0x034F, 0x034F}, {0x115F, 0x1160}, {0x180B, 0x180D}, {0x180F, 0x180F},
    {0x3164, 0x3164}, {0xFE00, 0xFE0F}, {0xFFA0, 0xFFA0}, {0xE0100, 0xE01EF},
};

template <std::size_t N> bool inRanges(const Range (&ranges)[N], char32_t c)
{
    for (const Range& range : ranges)
        if (c >= range.first && c <= range.last)
            return true;
    return false;
}

bool isSpace(char32_t c)
{
    return c == ' ' || c == '\t' || c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) ||
           c == 0x202F || c == 0x205F || c == 0x3000;
}

} // namespace

bool isHiddenCharacter(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || inRanges(kFormatOrSeparator, c);
}

char32_t firstHiddenCharacter(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();)
        if (const char32_t c = nextCodePoint(text, i); c != kNotUtf8 && isHiddenCharacter(c))
            return c;
    return 0;
}

std::string lookOf(std::string_view text)
{
    std::string look;
    bool space = false; // a space is pending, shown only before something visible
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t start = i;
        const char32_t c = nextCodePoint(text, i);
        if (c != kNotUtf8 && isSpace(c)) {
            space = !look.empty();
            continue;
        }
        if (c != kNotUtf8 && (isHiddenCharacter(c) || inRanges(kBlank, c)))
            continue;
        if (space)
            look += ' ';
        space = false;
        look.append(text.substr(start, i - start));
    }
    return look;
}
