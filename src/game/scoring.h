#pragma once

#include <array>
#include <cstdint>

// Points by difficulty group, index 0 for group 1: the award grows and the penalty shrinks as
// the questions get harder.
inline constexpr std::array<std::int32_t, 5> kCorrectAward = {4, 6, 8, 12, 15};
inline constexpr std::array<std::int32_t, 5> kWrongPenalty = {15, 12, 8, 6, 4};

// What each aid costs, by group.
inline constexpr std::array<std::int32_t, 5> kJokerCost = {16, 16, 11, 11, 7};
inline constexpr std::array<std::int32_t, 5> kExtraCost = {12, 10, 8, 5, 2};
inline constexpr std::array<std::int32_t, 5> kMiniCost = {10, 7, 5, 3, 0};

inline constexpr std::int32_t kStartingIq = 20;
inline constexpr int kQuestionsPerGroup = 4;
