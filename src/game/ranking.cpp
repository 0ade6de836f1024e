#include "ranking.h"

#include "mainwindowops.h"
#include "topten.h"

void Ranking::EnterHighscore(std::int32_t iq)
{
    auto& rows = m_table.topTen;
    int p = 1;
    while (p <= 10 && rows[p - 1].score >= iq)
        ++p;
    if (p > 10)
        return;

    m_playerName = m_ui.askPlayerName();

    for (Trezultat& row : rows) {
        if (row.name != m_playerName)
            continue;
        if (iq > row.score) {
            row.score = iq;
            m_table.SortHighscores();
            m_table.SaveHighscores();
        }
        return;
    }

    for (int k = 10; k > p; --k)
        rows[k - 1] = rows[k - 2];
    rows[p - 1] = {m_playerName, iq};
    m_table.SaveHighscores();
}
