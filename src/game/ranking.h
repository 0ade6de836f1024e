#pragma once

#include "game/files/topten.h"
#include "game/highscoreentry.h"

#include <string>

class MainWindowOps;

// Enters a player's result into the rows: a name already there (the first equal row, compared
// byte for byte) is raised to iq when iq is higher and the rows are sorted; a new name is
// inserted above the first row scoring below iq and row 10 drops out. False when nothing changed.
bool enterResult(HighscoreRows& rows, const std::string& name, std::int32_t iq);

// Offers the Top 10 at the end of every game: a result that beats a row asks for the player's
// name, then enters or raises that player's row and saves the table.
class Ranking : public HighscoreEntry {
public:
    Ranking(TopTen& table, MainWindowOps& ui) : m_table(table), m_ui(ui) {}

    // Does nothing when no row scores below iq. Otherwise asks for a name: a name already in the
    // table (the first equal row, compared byte for byte) is raised to iq when iq is higher, else
    // nothing changes; a new name is inserted above the first lower row and row 10 drops out.
    // The name is cleaned of characters that would break its row (see cleanPlayerName). Every
    // change is saved into the rows on disk, so results other copies of the game saved stay; a
    // failed save keeps the change in memory and raises its error.
    void EnterHighscore(std::int32_t iq) override;

    // The text last taken from the name-entry window.
    const std::string& playerName() const { return m_playerName; }

private:
    TopTen& m_table;
    MainWindowOps& m_ui;
    std::string m_playerName;
};
