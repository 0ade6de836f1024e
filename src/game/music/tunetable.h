#pragma once

#include <string>

// What a position of the music menu does.
struct MenuTune {
    enum class Action { Stop, Play, Nothing };
    Action action = Action::Nothing;
    std::string resource; // the tune resource, for Play
};

// The action of the music menu's item at a 0-based position: 0 stops the music, the tune
// positions play their resource, separators and any other position do nothing.
MenuTune tuneForMenuPosition(int position);
