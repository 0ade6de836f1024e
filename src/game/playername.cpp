#include "playername.h"

#include "game/files/textfile.h"

namespace {

// The length of the character at text[i] that is replaced by a space, 0 when it stays.
std::size_t breakingCharacterAt(const std::string& text, std::size_t i)
{
    const auto byte = [&](std::size_t k) {
        return k < text.size() ? static_cast<unsigned char>(text[k]) : 0u;
    };
    const unsigned first = byte(i);
    if (first == '\r' && byte(i + 1) == '\n')
        return 2; // one line break
    if (first < 0x20 || first == 0x7F)
        return 1;
    // U+0080..U+009F: the C1 controls, NEL among them.
    if (first == 0xC2 && byte(i + 1) >= 0x80 && byte(i + 1) <= 0x9F)
        return 2;
    if (first == 0xE2 && byte(i + 1) == 0x80 && byte(i + 2) >= 0xA8 && byte(i + 2) <= 0xAE)
        return 3; // U+2028, U+2029 separators; U+202A..U+202E embeddings and overrides
    if (first == 0xE2 && byte(i + 1) == 0x81 && byte(i + 2) >= 0xA6 && byte(i + 2) <= 0xA9)
        return 3; // U+2066..U+2069 isolates
    return 0;
}

bool isContinuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

} // namespace

std::string cleanPlayerName(const std::string& typed)
{
    std::string name;
    name.reserve(typed.size());
    for (std::size_t i = 0; i < typed.size();) {
        if (const std::size_t length = breakingCharacterAt(typed, i)) {
            name.push_back(' ');
            i += length;
        } else {
            name.push_back(typed[i++]);
        }
    }
    if (name.size() > TextFile::kMaxLineBytes) {
        std::size_t cut = TextFile::kMaxLineBytes;
        while (cut > 0 && isContinuationByte(name[cut]))
            --cut;
        name.resize(cut);
    }
    return name;
}
