#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// One row of the Top 10: a name, kept as the bytes typed, and the IQ reached.
struct Trezultat {
    std::string name;
    std::int32_t score = 0;

    bool operator==(const Trezultat&) const = default;
};

inline constexpr int kTopTenRows = 10;
using HighscoreRows = std::array<Trezultat, kTopTenRows>;

inline constexpr const char* kHighscoreFileName = "m_highscore.txt";
// The name of every row of a newly created table.
extern const char* const placeholderName;

// The ten best results, row 1 (topTen[0]) the best, and the file that keeps them. Several copies
// of the game may share the file: every save takes the file's lock, re-reads it and applies its
// change to what is on disk, so no copy overwrites another's results.
class TopTen {
public:
    // Changes the rows by the ranking rules; true when it changed anything.
    using Change = std::function<bool(HighscoreRows&)>;
    // Runs again and again while a save waits for a lock file another process holds.
    using LockWaiting = std::function<void(const std::string& lockPath)>;

    HighscoreRows topTen{};
    std::string highscorePath;

    // Sets the path to the file in the data directory and reads the ten rows from it. Only a
    // missing file is created, with ten placeholder rows of score 0 (while another process holds
    // its lock, the rows are only in memory and the first save creates it); a file that exists but
    // cannot be read (no access, a dangling link, not a regular file) raises its error and is
    // left as it is. A damaged line raises its error (106 for a score that does not convert);
    // the rows read before it stay, and the next save first keeps the old file as a .bak file.
    // Removes the temporary files of saves whose process was killed.
    void LoadHighscores(const std::string& dataDirectory);
    // Replaces the rows in the file with the ten in memory.
    void SaveHighscores();
    // Applies the change to the rows on disk (to the table in memory when the file is missing),
    // writes them when they changed, and takes them as the table in memory. A save that fails
    // keeps the change in memory and raises its error with a line naming the file that failed
    // (its folder when that is not a folder) and saying that `what` was not saved; the next
    // save tries it again. The file is replaced atomically: through a link, its target is
    // replaced. While another process holds the file's lock, the save waits up to five
    // seconds, running whileWaiting all the while.
    void saveChange(const Change& change, const std::string& what,
                    const LockWaiting& whileWaiting = {});
    // Takes the rows on disk, with the changes not yet saved, when the file can be read whole;
    // otherwise keeps the table in memory.
    void refresh();

private:
    std::string lockPath() const;
    void removeAbandonedSaves() const;
    // The rows a save starts from: the file's, none when it is missing. A file that cannot be
    // read whole is first copied to the .bak file. A failure leaves `failed` naming its file.
    std::optional<HighscoreRows> rowsOnDiskForSave(std::string& failed) const;
    // The lock file when it exists, so a failure to open it is blamed on it; else the table.
    std::string lockFileToBlame() const;
    // Takes the lock and writes the change. A failure leaves `failed` naming the file it failed
    // on (the lock file, the .bak file or the table).
    void writeChange(const Change& change, std::string& failed, const LockWaiting& whileWaiting);
    // The locked part of writeChange: applies the change and writes the rows.
    void writeLocked(const Change& change, std::string& failed);

    std::vector<Change> m_unsaved;
};

// Orders the rows by descending score with an exchange sort (not stable).
void SortHighscores(HighscoreRows& rows);
