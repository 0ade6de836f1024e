#include "game/errors.h"
#include "game/files/topten.h"
#include "game/ranking.h"
#include "support/gamefixture.h"
#include "support/tempdir.h"

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

TEST_F(Flow, perfectGameEndsAtTwoHundredThenStartsAfresh)
{
    game.NewGame();
    for (int n = 1; n <= 20; ++n) {
        ASSERT_EQ(window.questionNumberCaption, "Pitanje " + std::to_string(n));
        answerRight();
    }
    ASSERT_EQ(window.messages.size(), 21u);
    EXPECT_EQ(window.messages.front(), "TACAN odgovor!!!");
    EXPECT_EQ(window.messages.back(), "Zavrsili ste kviz !!!");
    EXPECT_EQ(entry.finalIqs, std::vector<std::int32_t>{200});
    EXPECT_EQ(entry.labels, std::vector<std::string>{"IQ: 200"});
    EXPECT_EQ(window.questionNumberCaption, "Pitanje 1");
    EXPECT_EQ(window.iqCaption, "IQ: 20");
}

TEST_F(Flow, labelShowsIqBeforeAwardWhileCorrectBoxIsOpen)
{
    game.NewGame();
    answerRight();
    EXPECT_EQ(window.iqAtMessages.front(), "IQ: 20");
    EXPECT_EQ(window.iqCaption, "IQ: 24");
}

TEST_F(Flow, groupsChangeEveryFourQuestionsWithTheirAwards)
{
    game.NewGame();
    for (int n = 1; n <= 4; ++n)
        answerRight();
    EXPECT_EQ(window.questionNumberCaption, "Pitanje 5");
    EXPECT_EQ(window.iqCaption, "IQ: 36");
    EXPECT_EQ(window.questionLines.front().substr(0, 2), "G2");
    answerRight();
    EXPECT_EQ(window.iqCaption, "IQ: 42");
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

TEST_F(Flow, fourQuestionsOfAGroupAreFourDifferentQuestions)
{
    for (std::uint32_t seed = 0; seed < 86'400'000; seed += 7'777'777) {
        clock.set(seed);
        game.NewGame();
        std::set<std::string> asked;
        for (int n = 1; n <= 4; ++n) {
            asked.insert(window.questionLines.front());
            answerRight();
        }
        EXPECT_EQ(asked.size(), 4u);
    }
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
