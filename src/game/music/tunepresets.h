#pragma once

#include <string_view>
#include <utility>
#include <vector>

// General MIDI plays drums on channel 10 (9 counted from 0), from the SoundFont's bank 128.
inline constexpr int kDrumChannel = 9;
inline constexpr int kDrumBank = 128;

// What a tune asks of the SoundFont, found by reading its events without playing them, so that
// the player can load those instruments before the first note sounds.
struct TunePresets {
    // Every preset a program change selects, as bank (128, the drum kits, on MIDI channel 10)
    // and program: sorted, without repeats.
    std::vector<std::pair<int, int>> chosen;
    // Channels (0-based) that sound a note before their first program change, or without one,
    // and so play with the default preset: the piano, or the standard drum kit on channel 10.
    std::vector<int> withDefault;
};

// Reads a Standard MIDI File. A damaged track is read up to the damage; bytes that are not a
// Standard MIDI File give nothing.
TunePresets tunePresets(std::string_view smf);
