#include "topten.h"

#include "game/errors.h"
#include "game/files/descriptor.h"
#include "game/files/filelock.h"
#include "game/files/ioerror.h"
#include "game/files/replacementfile.h"
#include "game/files/textfile.h"
#include "game/identity.h"

#include <climits>
#include <cstdlib>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

const char* const placeholderName = kGameWebAddress;

namespace {

enum class Found { Whole, Missing, Damaged };

// Why a table could not be read whole: the error, its input/output code when it has one, and
// the line it stopped at.
struct Damage {
    std::string message;
    std::optional<int> ioCode;
    int line = 0;
};

struct TableOnDisk {
    Found found = Found::Missing;
    HighscoreRows rows{};
    Damage damage; // when found is Damaged
};

HighscoreRows defaultRows()
{
    HighscoreRows rows;
    rows.fill({placeholderName, 0});
    return rows;
}

bool isLink(const std::string& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

// Reads the table. Only a file that does not exist counts as missing: a dangling link, a file
// that may not be read or is not a regular file raises its error.
TableOnDisk readTable(const std::string& path)
{
    TableOnDisk table;
    TextFile file(path);
    try {
        file.openRead();
    } catch (const IoError& error) {
        if (error.code() == 2 && !isLink(path))
            return table;
        throw;
    }
    table.found = Found::Whole;
    try {
        for (Trezultat& row : table.rows) {
            row.name = file.readLine();
            row.score = file.readInteger();
            file.skipLine();
        }
    } catch (const GameError& error) {
        const auto* ioError = dynamic_cast<const IoError*>(&error);
        table.found = Found::Damaged;
        table.damage = {error.what(), ioError ? std::optional(ioError->code()) : std::nullopt,
                        file.lineNumber()};
    }
    file.close();
    return table;
}

// Where the rows are written: the file itself, or the target of a link in its place.
std::string writeTarget(const std::string& path)
{
    if (!isLink(path))
        return path;
    char target[PATH_MAX];
    if (!::realpath(path.c_str(), target))
        raiseFromErrno();
    return target;
}

void writeRows(const std::string& path, const HighscoreRows& rows)
{
    TextFile file(writeTarget(path));
    file.openReplacing();
    for (const Trezultat& row : rows) {
        file.writeLine(row.name);
        file.writeLine(std::to_string(row.score));
    }
    file.close();
}

// Copies the file, byte for byte, to a new file of the backup's name.
void keepBackup(const std::string& path, const std::string& backupPath)
{
    const Descriptor source = openRegularFile(path);
    ReplacementFile backup(backupPath);
    readToEnd(source, [&backup](const std::string& piece) { backup.write(piece); });
    backup.commit();
}

// How a box names the file that failed: by its path, or by its folder when that is not one.
std::string placeOf(const std::string& file)
{
    const std::string folder = folderOf(file);
    struct stat info {};
    if (::stat(folder.c_str(), &info) == 0 && !S_ISDIR(info.st_mode))
        return folder + " is not a folder";
    return file;
}

} // namespace

std::string TopTen::lockPath() const
{
    // Beside the file the rows go to, so copies reaching it through different links take turns.
    return writeTarget(highscorePath) + ".lock";
}

void TopTen::removeAbandonedSaves() const
{
    try {
        // Every leftover in the data folder is the game's own (of this file, its .bak, temp.mid);
        // beside a link's target, only this file's.
        ReplacementFile::removeLeftovers(folderOf(highscorePath), {});
        const std::string target = writeTarget(highscorePath);
        if (target != highscorePath)
            ReplacementFile::removeLeftovers(folderOf(target),
                                             target.substr(target.rfind('/') + 1));
    } catch (const GameError&) {
        // A dangling link is reported when the file is read.
    }
}

void TopTen::LoadHighscores(const std::string& dataDirectory)
{
    highscorePath = dataDirectory + "/" + kHighscoreFileName;
    removeAbandonedSaves();
    TableOnDisk table;
    try {
        table = readTable(highscorePath);
    } catch (const GameError&) {
        rethrowWithDetail(placeOf(highscorePath) +
                          ": the Top 10 was not loaded; the file is left as it is.");
    }
    if (table.found == Found::Missing) {
        topTen = defaultRows();
        std::string failed = lockFileToBlame();
        try {
            // The start never waits: while another program holds the lock, the first save
            // creates the file.
            if (const std::optional<FileLock> lock = FileLock::takeIfFree(lockPath()))
                writeLocked([](HighscoreRows&) { return false; }, failed);
        } catch (const GameError&) {
            topTen = {};
            rethrowWithDetail(placeOf(failed) + ": the Top 10 could not be created.");
        }
        return;
    }
    topTen = table.rows;
    if (table.found == Found::Damaged) {
        const Damage& damage = table.damage;
        std::string detail = highscorePath + ", line " + std::to_string(damage.line) +
                             ": the rows from there on were not loaded. The next saved result "
                             "first keeps the old file as " +
                             kHighscoreFileName + ".bak.";
        if (damage.ioCode)
            throw IoError(*damage.ioCode, std::move(detail));
        throw GameError(damage.message, std::move(detail));
    }
}

std::optional<HighscoreRows> TopTen::rowsOnDiskForSave(std::string& failed) const
{
    const TableOnDisk table = readTable(highscorePath);
    if (table.found == Found::Missing)
        return std::nullopt;
    if (table.found == Found::Damaged) {
        failed = highscorePath + ".bak";
        keepBackup(highscorePath, failed);
        failed = highscorePath;
    }
    return table.rows;
}

std::string TopTen::lockFileToBlame() const
{
    // A lock file that cannot be made (the folder missing or read-only) fails the table's save.
    const std::string lockFile = lockPath();
    struct stat info {};
    return ::lstat(lockFile.c_str(), &info) == 0 ? lockFile : highscorePath;
}

void TopTen::writeChange(const Change& change, std::string& failed, const LockWaiting& whileWaiting)
{
    failed = lockFileToBlame();
    const std::string lockFile = lockPath();
    FileLock lock(lockFile,
                  whileWaiting ? [&] { whileWaiting(lockFile); } : FileLock::WhileWaiting());
    writeLocked(change, failed);
}

void TopTen::writeLocked(const Change& change, std::string& failed)
{
    failed = highscorePath;
    const std::optional<HighscoreRows> onDisk = rowsOnDiskForSave(failed);
    HighscoreRows rows = onDisk.value_or(topTen);
    // The table in memory already holds the changes not yet saved, all but this one.
    bool changed = !onDisk;
    if (onDisk)
        for (const Change& unsaved : m_unsaved)
            changed = unsaved(rows) || changed;
    else
        change(rows);
    if (changed)
        writeRows(highscorePath, rows);
    topTen = rows;
    m_unsaved.clear();
}

void TopTen::saveChange(const Change& change, const std::string& what,
                        const LockWaiting& whileWaiting)
{
    m_unsaved.push_back(change);
    std::string failed;
    try {
        writeChange(change, failed, whileWaiting);
    } catch (const GameError&) {
        change(topTen);
        rethrowWithDetail(placeOf(failed) + ": " + what + " was not saved.");
    }
}

void TopTen::SaveHighscores()
{
    saveChange([rows = topTen](HighscoreRows& onDisk) { return onDisk = rows, true; },
               "the Top 10");
}

void TopTen::refresh()
{
    if (highscorePath.empty())
        return;
    try {
        TableOnDisk table = readTable(highscorePath);
        if (table.found != Found::Whole)
            return;
        for (const Change& unsaved : m_unsaved)
            unsaved(table.rows);
        topTen = table.rows;
    } catch (const GameError&) {
        // What cannot be read now was reported when it was loaded or saved.
    }
}

void SortHighscores(HighscoreRows& rows)
{
    for (std::size_t i = 0; i + 1 < rows.size(); ++i)
        for (std::size_t j = i + 1; j < rows.size(); ++j)
            if (rows[i].score < rows[j].score)
                std::swap(rows[i], rows[j]);
}
