#pragma once

#include "game.h"

#include <string>

class MainWindowOps;
class TopTen;

// Offers the Top 10 at the end of every game: a result that beats a row asks for the player's
// name, then enters or raises that player's row and saves the table.
class Ranking : public HighscoreEntry {
public:
    Ranking(TopTen& table, MainWindowOps& ui) : m_table(table), m_ui(ui) {}

    // Does nothing when no row scores below iq. Otherwise asks for a name: a name already in the
    // table (the first equal row, compared byte for byte) is raised to iq when iq is higher, else
    // nothing changes; a new name is inserted above the first lower row and row 10 drops out.
    // Every change is saved; a failed save keeps the change in memory and raises its error.
    void EnterHighscore(std::int32_t iq) override;

    // The text last taken from the name-entry window.
    const std::string& playerName() const { return m_playerName; }

private:
    TopTen& m_table;
    MainWindowOps& m_ui;
    std::string m_playerName;
};
