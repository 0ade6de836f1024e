#pragma once

// The game's web address: shown in the about box and the name of every row of a new Top 10.
inline constexpr const char* kGameWebAddress = "https://mudracq.example.org";
// Where the author can be reached, shown in the about box.
inline constexpr const char* kAuthorEmail = "trivkan@example.org";
