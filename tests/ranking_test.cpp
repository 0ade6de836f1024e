#include "game/files/ioerror.h"
#include "game/files/topten.h"
#include "game/ranking.h"
#include "support/scriptedwindow.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

namespace {

class RankingTest : public ::testing::Test {
protected:
    RankingTest()
    {
        table.LoadHighscores(dir.path());
        saved = readBytes(table.highscorePath);
    }

    void setRows(std::vector<Trezultat> rows)
    {
        rows.resize(10, Trezultat{"", 0});
        std::copy(rows.begin(), rows.end(), table.topTen.begin());
        table.SaveHighscores();
        saved = readBytes(table.highscorePath);
    }
    void play(const std::string& name, int iq)
    {
        window.names.push_back(name);
        ranking.EnterHighscore(iq);
    }
    bool fileChanged()
    {
        const std::string now = readBytes(table.highscorePath);
        const bool changed = now != saved;
        saved = now;
        return changed;
    }
    std::vector<std::string> order(int rows) const
    {
        std::vector<std::string> names;
        for (int k = 0; k < rows; ++k)
            names.push_back(table.topTen[static_cast<std::size_t>(k)].name + " " +
                            std::to_string(table.topTen[static_cast<std::size_t>(k)].score));
        return names;
    }

    TempDir dir;
    TopTen table;
    ScriptedWindow window;
    Ranking ranking{table, window};
    std::string saved;
};

} // namespace

TEST_F(RankingTest, scoreThatBeatsNoRowAsksNothing)
{
    ranking.EnterHighscore(0);
    ranking.EnterHighscore(-4);
    EXPECT_TRUE(window.iqAtNameEntry.empty());
    EXPECT_FALSE(fileChanged());
}

TEST_F(RankingTest, newNamesAreInsertedAndKnownNamesOnlyRise)
{
    play("Ana", 30);
    EXPECT_EQ(order(2), (std::vector<std::string>{"Ana 30", std::string(placeholderName) + " 0"}));
    EXPECT_EQ(table.topTen[9].name, placeholderName);
    EXPECT_TRUE(fileChanged());

    play("Ana", 25); // asked, but Ana already holds more
    EXPECT_EQ(window.iqAtNameEntry.size(), 2u);
    EXPECT_EQ(order(1), std::vector<std::string>{"Ana 30"});
    EXPECT_FALSE(fileChanged());

    play("Ana", 40);
    EXPECT_EQ(order(2), (std::vector<std::string>{"Ana 40", std::string(placeholderName) + " 0"}));
    EXPECT_TRUE(fileChanged());

    play("Bob", 30);
    EXPECT_EQ(order(3),
              (std::vector<std::string>{"Ana 40", "Bob 30", std::string(placeholderName) + " 0"}));
    play("ana", 10); // another player
    EXPECT_EQ(order(3), (std::vector<std::string>{"Ana 40", "Bob 30", "ana 10"}));
}

TEST_F(RankingTest, tiedNewScoreGoesBelowEqualRows)
{
    setRows({{"A", 50}, {"B", 40}, {"C", 40}, {"D", 30}});
    play("E", 40);
    EXPECT_EQ(order(5), (std::vector<std::string>{"A 50", "B 40", "C 40", "E 40", "D 30"}));
}

TEST_F(RankingTest, raisedRowIsSortedByTheUnstableExchangeSort)
{
    setRows({{"A", 50}, {"B", 40}, {"C", 40}, {"D", 30}});
    play("D", 45);
    EXPECT_EQ(order(4), (std::vector<std::string>{"A 50", "D 45", "C 40", "B 40"}));
    EXPECT_TRUE(fileChanged());
}

TEST_F(RankingTest, knownNameBelowTheQualifyingRowIsRaisedNotAdded)
{
    setRows({{"A", 50}, {"B", 40}, {"C", 30}, {"D", 20}});
    play("D", 45);
    EXPECT_EQ(order(5), (std::vector<std::string>{"A 50", "D 45", "B 40", "C 30", " 0"}));
}

TEST_F(RankingTest, firstOfSeveralEqualNamesDecides)
{
    play(placeholderName, 5);
    EXPECT_EQ(table.topTen[0], (Trezultat{placeholderName, 5}));
    EXPECT_EQ(table.topTen[1], (Trezultat{placeholderName, 0}));
}

TEST_F(RankingTest, negativeScoresQualifyOnlyAboveALowerRow)
{
    setRows({{"A", 5},
             {"B", -10},
             {"C", -20},
             {"D", -20},
             {"E", -20},
             {"F", -20},
             {"G", -20},
             {"H", -20},
             {"I", -20},
             {"J", -30}});
    play("K", -25);
    EXPECT_EQ(table.topTen[9], (Trezultat{"K", -25}));
    window.names.clear();
    ranking.EnterHighscore(-30);
    EXPECT_EQ(window.iqAtNameEntry.size(), 1u);
}

TEST_F(RankingTest, failedSaveKeepsTheChangeInMemory)
{
    table.highscorePath = dir.file("gone/m_highscore.txt");
    EXPECT_THROW(play("Ana", 30), IoError);
    EXPECT_EQ(table.topTen[0], (Trezultat{"Ana", 30}));
}

TEST_F(RankingTest, namesStayOneRowOfTheTableAndLoadBack)
{
    play("Line1\nLine2\xE2\x80\xA8x\xE2\x80\xAEy\tz", 30);
    EXPECT_EQ(table.topTen[0].name, "Line1 Line2 x y z");
    const std::string longName = std::string(1023, 'a') + "\xC4\x8D"; // ends in a two-byte letter
    play(longName, 40);
    EXPECT_EQ(table.topTen[0].name, std::string(1023, 'a'));
    TopTen again;
    again.LoadHighscores(dir.path());
    EXPECT_EQ(again.topTen, table.topTen);
}
