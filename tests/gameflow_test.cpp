#include "game/errors.h"
#include "game/files/topten.h"
#include "game/ranking.h"
#include "support/gamefixture.h"
#include "support/tempdir.h"

#include <map>
#include <set>

using Flow = GameFixture;

TEST_F(Flow, newGameShowsFirstQuestionWithFourAnswersNoneSelected)
{
    game.NewGame();
    EXPECT_EQ(window.questionNumberCaption, "Pitanje 1");
    EXPECT_EQ(window.iqCaption, "IQ: 20");
    EXPECT_EQ(window.questionLines.size(), 1u);
    EXPECT_EQ(window.answers.size(), 4u);
    EXPECT_EQ(window.selected, -1);
    EXPECT_TRUE(window.visible(Aid::Joker) && window.visible(Aid::Extra) &&
                window.visible(Aid::Mini));
}

TEST_F(Flow, workedExampleDrawsQuestion36ThenQuestion33)
{
    clock.set(45296789);
    game.NewGame();
    EXPECT_EQ(window.questionLines, std::vector<std::string>{"G1 Q36"});
    EXPECT_EQ(window.answers, (std::vector<std::string>{"G1 Q36 wrong 2", "G1 Q36 right",
                                                        "G1 Q36 wrong 1", "G1 Q36 wrong 3"}));
    EXPECT_EQ(game.state().correctIndex, 1);
    EXPECT_EQ(random.randomSeed, 2998748646u);
    answerRight();
    EXPECT_EQ(window.questionLines, std::vector<std::string>{"G1 Q33"});
}

TEST_F(Flow, labelShowsIqBeforeAwardWhileCorrectBoxIsOpen)
{
    game.NewGame();
    answerRight();
    EXPECT_EQ(window.iqAtMessages.front(), "IQ: 20");
    EXPECT_EQ(window.iqCaption, "IQ: 24");
}

TEST_F(Flow, wrongFirstAnswerEndsAtFiveAndNamesTheCorrectAnswer)
{
    game.NewGame();
    const std::string right = rightAnswer();
    answerWrong();
    ASSERT_EQ(window.messages.size(), 2u);
    EXPECT_EQ(window.messages[0], "Odgovor NETACAN !!!");
    EXPECT_EQ(window.messages[1], "Tacan odgovor je \"" + right + "\".");
    EXPECT_EQ(entry.finalIqs, std::vector<std::int32_t>{5});
    EXPECT_EQ(entry.labels, std::vector<std::string>{"IQ: 5"});
    EXPECT_EQ(window.iqCaption, "IQ: 20");
}

TEST_F(Flow, answeringWithNothingSelectedChangesNothing)
{
    game.NewGame();
    const auto before = window.answers;
    game.OdgovoriClick();
    EXPECT_TRUE(window.messages.empty());
    EXPECT_EQ(window.answers, before);
    EXPECT_EQ(window.iqCaption, "IQ: 20");
}

TEST_F(Flow, everyGameAsksFourDifferentQuestionsOfEachGroupDrawnFromItsOwnSeed)
{
    // Groups of four are asked whole in every game; every question of the larger ones comes up.
    groups = bankFrom(bankText({4, 5, 4, 6, 4}));
    std::vector<std::uint32_t> seeds;
    for (std::uint32_t seed = 0; seed < 86'400'000; seed += 863'999)
        seeds.push_back(seed);
    std::map<std::uint32_t, std::vector<std::string>> gameOfSeed;
    std::array<std::set<std::string>, 5> everAsked;
    clock.set(seeds[0]);
    game.NewGame();
    // Every seed twice over, the clock set anew for each game: a seed's game never depends on
    // the games before it.
    for (std::size_t played = 0; played < 2 * seeds.size(); ++played) {
        const std::uint32_t seed = seeds[played % seeds.size()];
        SCOPED_TRACE(seed);
        std::vector<std::string> asked;
        for (int n = 1; n <= 20; ++n) {
            ASSERT_EQ(window.questionNumberCaption, "Pitanje " + std::to_string(n));
            asked.push_back(window.questionLines.front());
            if (n == 20) // this answer ends the game and starts the next one
                clock.set(seeds[(played + 1) % seeds.size()]);
            answerRight();
        }
        ASSERT_EQ(window.messages.back(), "Zavrsili ste kviz !!!");
        ASSERT_EQ(entry.finalIqs.back(), 200);
        for (std::size_t g = 0; g < 5; ++g) {
            const std::set<std::string> ofGroup(asked.begin() + 4 * g, asked.begin() + 4 * g + 4);
            ASSERT_EQ(ofGroup.size(), 4u);
            for (const std::string& question : ofGroup)
                ASSERT_EQ(question.substr(0, 3), "G" + std::to_string(g + 1) + " ");
            everAsked[g].insert(ofGroup.begin(), ofGroup.end());
        }
        if (!gameOfSeed.contains(seed))
            gameOfSeed[seed] = asked;
        ASSERT_EQ(asked, gameOfSeed[seed]);
    }
    for (std::size_t g = 0; g < 5; ++g)
        EXPECT_EQ(everAsked[g].size(), static_cast<std::size_t>(groups[g].count));
}

TEST_F(Flow, newGameMidGameResetsWithoutEndingTheGame)
{
    game.NewGame();
    answerRight();
    game.NewGame();
    EXPECT_EQ(window.questionNumberCaption, "Pitanje 1");
    EXPECT_EQ(window.iqCaption, "IQ: 20");
    EXPECT_TRUE(entry.finalIqs.empty());
}

TEST(FlowWithSmallBank, groupTooSmallForAGameRaisesAndStartsNothing)
{
    ScriptedWindow window;
    const QuestionBank groups = bankFrom(bankText({4, 4, 3, 4, 4}));
    RandomSource random;
    FixedClock clock;
    Game game(window, groups, random, clock);
    try {
        game.NewGame();
        FAIL();
    } catch (const GameError& error) {
        EXPECT_STREQ(error.what(), "Question group 3 holds 3 questions, too few for a game");
    }
    EXPECT_TRUE(window.questionLines.empty());
    EXPECT_FALSE(game.state().jokerLeft);
}

TEST_F(Flow, endedGameEndsEvenWhenItsResultCannotBeSaved)
{
    TempDir dir;
    TopTen table;
    table.highscorePath = dir.file("gone/m_highscore.txt");
    Ranking ranking(table, window);
    game.setHighscoreEntry(&ranking);
    game.NewGame();
    for (int n = 1; n <= 20; ++n)
        answerRight();
    ASSERT_EQ(window.errors.size(), 1u);
    EXPECT_EQ(window.errors[0], "File not found\n" + table.highscorePath +
                                    ": the result of Upisi svoje ime !!! (IQ 200) was not saved.");
    EXPECT_EQ(window.questionNumberCaption, "Pitanje 1");
    EXPECT_EQ(window.iqCaption, "IQ: 20");
    // The same after a wrong answer: the question whose answer the box named is gone.
    answerRight();
    answerWrong();
    EXPECT_EQ(window.errors.size(), 2u);
    EXPECT_EQ(window.questionNumberCaption, "Pitanje 1");
    EXPECT_EQ(window.iqCaption, "IQ: 20");
}
