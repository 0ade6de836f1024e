#include "tunetable.h"

#include <array>

MenuTune tuneForMenuPosition(int position)
{
    // Resource of each menu position; empty for "&Bez muzike" and the separators.
    static constexpr std::array<const char*, 13> kResources = {
        "", "", "r_5", "r_1", "r_4", "r_3", "r_10", "r_6", "r_8", "", "r_9", "r_2", "r_7",
    };
    if (position == 0)
        return {MenuTune::Action::Stop, {}};
    if (position < 0 || position >= static_cast<int>(kResources.size()) ||
        *kResources[static_cast<std::size_t>(position)] == '\0')
        return {};
    return {MenuTune::Action::Play, kResources[static_cast<std::size_t>(position)]};
}
