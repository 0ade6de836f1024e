#include "topten.h"

#include "errors.h"
#include "identity.h"
#include "textfile.h"

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

} // namespace

void TopTen::LoadHighscores(const std::string& dataDirectory)
{
    highscorePath = dataDirectory + "/" + kHighscoreFileName;
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
