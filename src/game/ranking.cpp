#include "ranking.h"

#include "game/files/topten.h"
#include "game/mainwindowops.h"
#include "game/playername.h"

#include <memory>

namespace {

// The first row (1 to 10) whose score is below iq; one past the last row when there is none.
int qualifyingRow(const HighscoreRows& rows, std::int32_t iq)
{
    int p = 1;
    while (p <= kTopTenRows && rows[static_cast<std::size_t>(p - 1)].score >= iq)
        ++p;
    return p;
}

} // namespace

bool enterResult(HighscoreRows& rows, const std::string& name, std::int32_t iq)
{
    for (Trezultat& row : rows) {
        if (row.name != name)
            continue;
        if (iq <= row.score)
            return false;
        row.score = iq;
        SortHighscores(rows);
        return true;
    }
    const int p = qualifyingRow(rows, iq);
    if (p > kTopTenRows)
        return false;
    for (int k = kTopTenRows; k > p; --k)
        rows[static_cast<std::size_t>(k - 1)] = rows[static_cast<std::size_t>(k - 2)];
    rows[static_cast<std::size_t>(p - 1)] = {name, iq};
    return true;
}

void Ranking::EnterHighscore(std::int32_t iq)
{
    // Another copy of the game may have saved better results since this one last looked.
    m_table.refresh();
    if (qualifyingRow(m_table.topTen, iq) > kTopTenRows)
        return;

    m_playerName = cleanPlayerName(m_ui.askPlayerName());
    const std::string name = m_playerName;
    // The notice goes however the save ends.
    const std::unique_ptr<MainWindowOps, void (*)(MainWindowOps*)> notice(
        &m_ui, [](MainWindowOps* ui) { ui->showWaiting({}); });
    m_table.saveChange([name, iq](HighscoreRows& rows) { return enterResult(rows, name, iq); },
                       "the result of " + name + " (IQ " + std::to_string(iq) + ")",
                       [this](const std::string& lockPath) {
                           m_ui.showWaiting(
                               "Saving the result: waiting for another program to release " +
                               lockPath + ".");
                       });
}
