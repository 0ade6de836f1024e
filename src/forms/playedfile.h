#pragma once

#include <optional>
#include <string>

// A player's question file as it read when it was opened: the game plays this text, whatever
// becomes of the file afterwards.
struct PlayedFile {
    std::string path; // byte for byte as the file was named
    std::string questions;
};

// The question file at path, read whole, when it can be played. When it cannot, the error box
// shows why (its first problem with its line, or why it could not be read) and nothing is
// returned. Every question file the player brings is checked here, however it was opened.
std::optional<PlayedFile> openPlayedFile(const std::string& path);
