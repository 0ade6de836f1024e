#include "topten.h"

#include "errors.h"
#include "identity.h"
#include "textfile.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <unistd.h>
#include <utility>

const char* const placeholderName = kGameWebAddress;

namespace {

void writeTable(const std::string& path, const std::array<Trezultat, 10>& rows)
{
    TextFile file(path);
    file.openReplacing();
    for (const Trezultat& row : rows) {
        file.writeLine(row.name);
        file.writeLine(std::to_string(row.score));
    }
    file.close();
}

// Removes what saves of programs that were killed mid-way left behind: temporary files named
// after the Top 10 file and a process that no longer runs.
void removeAbandonedSaves(const std::string& folder)
{
    DIR* entries = ::opendir(folder.c_str());
    if (!entries)
        return;
    const std::string prefix = std::string(kHighscoreFileName) + ".";
    while (const dirent* entry = ::readdir(entries)) {
        const std::string name = entry->d_name;
        if (!name.starts_with(prefix) || !name.ends_with(".tmp"))
            continue;
        const std::string pid = name.substr(prefix.size(), name.size() - prefix.size() - 4);
        char* end = nullptr;
        const long number = std::strtol(pid.c_str(), &end, 10);
        if (pid.empty() || *end != '\0' || number <= 0)
            continue;
        if (::kill(static_cast<pid_t>(number), 0) != 0 && errno == ESRCH)
            ::unlink((folder + "/" + name).c_str());
    }
    ::closedir(entries);
}

} // namespace

void TopTen::LoadHighscores(const std::string& dataDirectory)
{
    highscorePath = dataDirectory + "/" + kHighscoreFileName;
    removeAbandonedSaves(dataDirectory);
    TextFile file(highscorePath);
    try {
        file.openRead();
    } catch (const IoError&) {
        std::array<Trezultat, 10> defaults;
        defaults.fill({placeholderName, 0});
        writeTable(highscorePath, defaults);
        file.openRead();
    }
    for (Trezultat& row : topTen) {
        row.name = file.readLine();
        row.score = file.readInteger();
        file.skipLine();
    }
    file.close();
}

void TopTen::SaveHighscores() const
{
    writeTable(highscorePath, topTen);
}

void TopTen::SortHighscores()
{
    for (int i = 1; i <= 9; ++i)
        for (int j = i + 1; j <= 10; ++j)
            if (topTen[i - 1].score < topTen[j - 1].score)
                SwapEntries(i, j);
}

void TopTen::SwapEntries(int a, int b)
{
    std::swap(topTen[a - 1], topTen[b - 1]);
}
