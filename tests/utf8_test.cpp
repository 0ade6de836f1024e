#include "game/utf8.h"

#include <gtest/gtest.h>
#include <iconv.h>
#include <optional>
#include <string>

namespace {

// The code points glibc's iconv reads from the bytes, or nothing when it refuses them.
std::optional<std::u32string> iconvDecoded(std::string bytes)
{
    const iconv_t cd = iconv_open("UTF-32LE", "UTF-8");
    std::u32string out(bytes.size(), U'\0');
    char* in = bytes.data();
    std::size_t inLeft = bytes.size();
    char* outAt = reinterpret_cast<char*>(out.data());
    std::size_t outLeft = out.size() * sizeof(char32_t);
    const std::size_t result = iconv(cd, &in, &inLeft, &outAt, &outLeft);
    iconv_close(cd);
    if (result == static_cast<std::size_t>(-1) || inLeft != 0)
        return std::nullopt;
    out.resize(out.size() - outLeft / sizeof(char32_t));
    return out;
}

// The code points nextCodePoint reads, kNotUtf8 for each byte it refuses.
std::u32string decoded(const std::string& bytes)
{
    std::u32string out;
    for (std::size_t i = 0; i < bytes.size();)
        out.push_back(nextCodePoint(bytes, i));
    return out;
}

} // namespace

TEST(Utf8, readsAndRefusesWhatIconvDoes)
{
    const std::string cases[] = {
        "", "A\x7F", "\xC2\x80\xDF\xBF", "\xE0\xA0\x80\xEF\xBF\xBF", "\xED\x9F\xBF\xEE\x80\x80",
        "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF", "a\xC4\x8D\xE2\x80\xA8\xF0\x9F\x98\x80z",
        // Overlong forms.
        "\xC0\xAF", "\xC1\xBF", "\xE0\x80\xA0", "\xE0\x9F\xBF", "\xF0\x8F\xBF\xBF",
        // Surrogates, and beyond U+10FFFF.
        "\xED\xA0\x80", "\xED\xBF\xBF", "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\xFF",
        // Stray continuation bytes, sequences cut short or broken by another character.
        "\x80", "x\xBF", "\xC2", "\xE2\x82", "\xF0\x9F\x98", "\xE2\x82z", "\xF0\x9F\x98\xC4\x8D"};
    for (const std::string& bytes : cases) {
        const auto expected = iconvDecoded(bytes);
        EXPECT_EQ(isUtf8(bytes), expected.has_value()) << testing::PrintToString(bytes);
        if (expected)
            EXPECT_EQ(decoded(bytes), *expected) << testing::PrintToString(bytes);
        else
            EXPECT_NE(decoded(bytes).find(kNotUtf8), std::u32string::npos);
    }
    // A refused byte is passed one at a time: what follows it is read on its own.
    EXPECT_EQ(decoded("\xF0\x9F\x98\xC4\x8D"),
              (std::u32string{kNotUtf8, kNotUtf8, kNotUtf8, 0x10D}));
}
