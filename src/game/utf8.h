#pragma once

#include <cstddef>
#include <string_view>

// What the decoder returns where the bytes are not well-formed UTF-8.
inline constexpr char32_t kNotUtf8 = 0xFFFFFFFF;

// The character that starts at text[i] (i < text.size()), with i moved past it; kNotUtf8, with i
// moved one byte on, where the bytes there are not well-formed UTF-8: a stray continuation byte, a
// sequence cut short, an overlong form, a surrogate or a code point beyond U+10FFFF.
char32_t nextCodePoint(std::string_view text, std::size_t& i);

// Whether the whole text is well-formed UTF-8.
bool isUtf8(std::string_view text);

// Whether the byte continues a character of more than one byte rather than starting one.
constexpr bool isUtf8Continuation(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}
