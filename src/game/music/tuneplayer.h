#pragma once

#include <string>

// The player of the background tunes, as the music menu drives it.
class TunePlayer {
public:
    virtual ~TunePlayer() = default;
    // Stops and closes what is open; nothing happens when nothing is.
    virtual void Close() = 0;
    virtual void setFileName(const std::string& path) = 0;
    // Opens the file set; raises an error with a readable reason when it cannot.
    virtual void Open() = 0;
    // Plays the open tune once from its start and returns at once.
    virtual void Play() = 0;
};
