#include "tunepresets.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <optional>

namespace {

constexpr int kChannels = 16;

// When an event reaches the synthesizer: by its time, then, at one time, by its track and its
// place in the track, the order in which the player sends them.
struct Moment {
    std::uint64_t tick = std::numeric_limits<std::uint64_t>::max();
    std::size_t track = 0;
    std::size_t index = 0;
    auto operator<=>(const Moment&) const = default;
};
constexpr Moment kNever;

// Reads one track's bytes, event by event, keeping the running status.
class TrackReader {
public:
    explicit TrackReader(std::string_view bytes) : m_bytes(bytes) {}

    struct Event {
        std::uint64_t tick;
        unsigned status; // 0 for a meta or system exclusive event
        unsigned first;
        unsigned second;
    };
    // The next event, or nothing at the end of the track or at damage.
    std::optional<Event> next()
    {
        const auto delta = number();
        if (!delta || m_at >= m_bytes.size())
            return std::nullopt;
        m_tick += *delta;
        unsigned status = byte(m_at);
        if (status == 0xFF || status == 0xF0 || status == 0xF7) {
            m_at += status == 0xFF ? 2 : 1; // a meta event carries its type first
            const auto length = number();
            if (!length || *length > m_bytes.size() - std::min(m_at, m_bytes.size()))
                return std::nullopt;
            m_at += *length;
            return Event{m_tick, 0, 0, 0};
        }
        if (status & 0x80) {
            m_running = status;
            ++m_at;
        } else if (!m_running) {
            return std::nullopt;
        }
        status = m_running;
        const bool oneByte = (status & 0xE0) == 0xC0; // program change, channel pressure
        const std::size_t size = oneByte ? 1 : 2;
        if (m_at + size > m_bytes.size())
            return std::nullopt;
        Event event{m_tick, status, byte(m_at), oneByte ? 0 : byte(m_at + 1)};
        m_at += size;
        return event;
    }

private:
    unsigned byte(std::size_t at) const { return static_cast<unsigned char>(m_bytes[at]); }
    // A variable-length quantity: at most four bytes of seven bits each.
    std::optional<std::uint64_t> number()
    {
        std::uint64_t value = 0;
        for (int i = 0; i < 4 && m_at < m_bytes.size(); ++i) {
            const unsigned b = byte(m_at++);
            value = (value << 7) | (b & 0x7F);
            if (!(b & 0x80))
                return value;
        }
        return std::nullopt;
    }

    std::string_view m_bytes;
    std::size_t m_at = 0;
    std::uint64_t m_tick = 0;
    unsigned m_running = 0;
};

std::uint32_t bigEndian(std::string_view bytes, std::size_t at, int count)
{
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

} // namespace

TunePresets tunePresets(std::string_view smf)
{
    TunePresets presets;
    std::array<Moment, kChannels> firstNote;
    std::array<Moment, kChannels> firstProgram;
    if (!smf.starts_with("MThd"))
        return presets;
    std::size_t at = 0; // the header chunk is passed over like any chunk but a track
    std::size_t tracks = 0;
    while (at + 8 <= smf.size()) {
        const std::string_view id = smf.substr(at, 4);
        const std::size_t size =
            std::min<std::size_t>(bigEndian(smf, at + 4, 4), smf.size() - at - 8);
        if (id == "MTrk") {
            TrackReader track(smf.substr(at + 8, size));
            std::array<int, kChannels> bank{};
            std::size_t index = 0;
            while (const auto event = track.next()) {
                const int channel = static_cast<int>(event->status & 0x0F);
                const Moment now{event->tick, tracks, index++};
                switch (event->status & 0xF0) {
                case 0x90:
                    if (event->second > 0)
                        firstNote[channel] = std::min(firstNote[channel], now);
                    break;
                case 0xB0:
                    if (event->first == 0) // bank select
                        bank[channel] = static_cast<int>(event->second);
                    break;
                case 0xC0:
                    firstProgram[channel] = std::min(firstProgram[channel], now);
                    presets.chosen.emplace_back(channel == kDrumChannel ? kDrumBank : bank[channel],
                                                static_cast<int>(event->first));
                    break;
                }
            }
            ++tracks;
        }
        at += 8 + size;
    }
    for (int channel = 0; channel < kChannels; ++channel)
        if (firstNote[channel] != kNever && firstNote[channel] < firstProgram[channel])
            presets.withDefault.push_back(channel);
    std::sort(presets.chosen.begin(), presets.chosen.end());
    presets.chosen.erase(std::unique(presets.chosen.begin(), presets.chosen.end()),
                         presets.chosen.end());
    return presets;
}
