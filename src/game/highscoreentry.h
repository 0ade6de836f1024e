#pragma once

#include <cstdint>

// Called when a game ends, with the final IQ standing in the IQ label.
class HighscoreEntry {
public:
    virtual ~HighscoreEntry() = default;
    virtual void EnterHighscore(std::int32_t iq) = 0;
};
