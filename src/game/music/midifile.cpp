#include "midifile.h"

#include <cstdint>

namespace {

std::uint32_t littleEndian32(std::string_view bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

} // namespace

std::optional<std::string_view> standardMidiData(std::string_view file)
{
    if (file.starts_with("MThd"))
        return file;
    if (file.size() < 12 || !file.starts_with("RIFF") || file.substr(8, 4) != "RMID")
        return std::nullopt;
    const std::size_t riffEnd = std::min<std::size_t>(file.size(), 8 + littleEndian32(file, 4));
    std::size_t at = 12;
    while (at + 8 <= riffEnd) {
        const std::string_view id = file.substr(at, 4);
        const std::size_t size = littleEndian32(file, at + 4);
        if (size > riffEnd - at - 8)
            return std::nullopt;
        if (id == "data") {
            const std::string_view data = file.substr(at + 8, size);
            return data.starts_with("MThd") ? std::optional(data) : std::nullopt;
        }
        at += 8 + size + (size & 1); // chunks are padded to an even size
    }
    return std::nullopt;
}
