#pragma once

#include <array>
#include <cstdint>
#include <string>

// One row of the Top 10: a name, kept as the bytes typed, and the IQ reached.
struct Trezultat {
    std::string name;
    std::int32_t score = 0;

    bool operator==(const Trezultat&) const = default;
};

inline constexpr const char* kHighscoreFileName = "m_highscore.txt";
// The name of every row of a newly created table.
extern const char* const placeholderName;

// The ten best results, row 1 (topTen[0]) the best, and the file that keeps them.
class TopTen {
public:
    std::array<Trezultat, 10> topTen{};
    std::string highscorePath;

    // Sets the path to the file in the data directory and reads the ten rows from it. A file
    // that cannot be opened is first created with ten placeholder rows of score 0. A damaged
    // score raises IoError 106; the rows read before it stay. Temporary files of saves whose
    // process was killed are removed.
    void LoadHighscores(const std::string& dataDirectory);
    // Replaces the file with the ten rows. The new content goes to a temporary file that is
    // flushed to disk and then renamed over the old one, so a save that fails part-way leaves the
    // previous file as it was.
    void SaveHighscores() const;

    // Orders the rows by descending score with an exchange sort (not stable).
    void SortHighscores();
    // Exchanges rows a and b (1 to 10) whole.
    void SwapEntries(int a, int b);
};
