#pragma once

#include <cstddef>
#include <string>
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

// Whether the character shows no text of its own where it stands: a control character (the tab
// included), a format character (a soft hyphen, a zero-width space, a joiner, a direction mark,
// a byte order mark) or a line or paragraph separator.
bool isHiddenCharacter(char32_t c);

// The first hidden character of a UTF-8 text, 0 when it has none.
char32_t firstHiddenCharacter(std::string_view text);

// The text as it looks: without hidden characters or others that draw nothing, spaces of any
// width folded into one, none at either end. Bytes that are not UTF-8 are kept as they are.
std::string lookOf(std::string_view text);
