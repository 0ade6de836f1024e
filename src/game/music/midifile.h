#pragma once

#include <optional>
#include <string>
#include <string_view>

// The Standard MIDI File inside a tune file: the file itself when it begins "MThd", or the
// "data" chunk of a RIFF "RMID" file. Empty when the bytes are neither, or a chunk size runs past
// the end.
std::optional<std::string_view> standardMidiData(std::string_view file);
