#include "playername.h"

#include "game/files/textfile.h"
#include "game/utf8.h"

namespace {

// The C0 and C1 controls (NEL among them), the U+2028 and U+2029 separators, the U+202A..U+202E
// embeddings and overrides and the U+2066..U+2069 isolates.
bool breaksTheRow(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || (c >= 0x2028 && c <= 0x202E) ||
           (c >= 0x2066 && c <= 0x2069);
}

} // namespace

std::string cleanPlayerName(const std::string& typed)
{
    std::string name;
    name.reserve(typed.size());
    for (std::size_t i = 0; i < typed.size();) {
        const std::size_t start = i;
        if (typed.compare(i, 2, "\r\n") == 0) {
            i += 2; // one line break
            name.push_back(' ');
        } else if (breaksTheRow(nextCodePoint(typed, i))) {
            name.push_back(' ');
        } else {
            name.append(typed, start, i - start);
        }
    }
    if (name.size() > TextFile::kMaxLineBytes) {
        std::size_t cut = TextFile::kMaxLineBytes;
        while (cut > 0 && isUtf8Continuation(name[cut]))
            --cut;
        name.resize(cut);
    }
    return name;
}
