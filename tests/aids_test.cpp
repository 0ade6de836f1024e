#include "support/gamefixture.h"

using Aids = GameFixture;

TEST_F(Aids, decliningChangesNothing)
{
    game.NewGame();
    window.confirmReplies = {false, false, false};
    const auto answers = window.answers;
    game.JokerClick();
    game.Button1Click();
    game.Button2Click();
    EXPECT_EQ(window.confirmations,
              (std::vector<std::string>{"Da li ste sigurni da zelite da iskoristite jokera",
                                        "Da li ste sigurni da zelite da iskoristite EXTRA pomoc?",
                                        "Da li ste sigurni da zelite da iskoristite MINI pomoc?"}));
    EXPECT_EQ(window.answers, answers);
    EXPECT_EQ(window.iqCaption, "IQ: 20");
    EXPECT_TRUE(window.visible(Aid::Joker) && window.visible(Aid::Extra) &&
                window.visible(Aid::Mini));
    EXPECT_TRUE(game.state().jokerLeft && game.state().extraLeft && game.state().miniLeft);
}

TEST_F(Aids, eachAidWorksOncePerGameAndComesBackWithTheNextGame)
{
    game.NewGame();
    game.Button2Click();
    EXPECT_FALSE(window.visible(Aid::Mini));
    game.Button2Click();
    EXPECT_EQ(window.messages, std::vector<std::string>{"Iskoristili ste MINI pomoc"});
    answerWrong();
    EXPECT_TRUE(window.visible(Aid::Mini));
    EXPECT_TRUE(game.state().miniLeft);
}

TEST_F(Aids, spentAidBoxesBeforeAnyGame)
{
    game.JokerClick();
    game.Button1Click();
    game.Button2Click();
    EXPECT_EQ(window.messages,
              (std::vector<std::string>{"Iskoristili ste Jokera!", "Iskoristili ste EXTRA pomoc",
                                        "Iskoristili ste MINI pomoc"}));
    EXPECT_TRUE(window.confirmations.empty());
}

TEST_F(Aids, extraAndMiniRemoveTwoAndOneWrongAnswersAndTogetherLeaveTheRightOne)
{
    for (std::uint32_t seed = 0; seed < 86'400'000; seed += 86'413) {
        SCOPED_TRACE(seed);
        clock.set(seed);
        game.NewGame();
        // Either aid may come first: four answers, then two or three, then the right one alone.
        const bool extraFirst = seed % 2 == 0;
        extraFirst ? game.Button1Click() : game.Button2Click();
        ASSERT_EQ(window.answers.size(), extraFirst ? 2u : 3u);
        ASSERT_FALSE(rightAnswer().empty());
        extraFirst ? game.Button2Click() : game.Button1Click();
        ASSERT_EQ(window.answers.size(), 1u);
        ASSERT_TRUE(isRight(window.answers.front()));
        window.selected = 0;
        game.OdgovoriClick();
        ASSERT_EQ(window.messages.back(), "TACAN odgovor!!!");
    }
}

TEST_F(Aids, pickThatFallsOnTheRightAnswerIsDrawnAgainFromAllOffered)
{
    clock.set(14); // 00:00:00.014 UTC
    game.NewGame();
    ASSERT_EQ(window.answers, (std::vector<std::string>{"G1 Q33 wrong 2", "G1 Q33 wrong 1",
                                                        "G1 Q33 right", "G1 Q33 wrong 3"}));
    game.Button2Click(); // draws 2, the right answer, then 0
    EXPECT_EQ(window.answers,
              (std::vector<std::string>{"G1 Q33 wrong 1", "G1 Q33 right", "G1 Q33 wrong 3"}));
}

TEST_F(Aids, wrongAnswerAfterRemovalStillNamesTheCorrectAnswer)
{
    game.NewGame();
    const std::string right = rightAnswer();
    game.Button2Click();
    answerWrong();
    EXPECT_EQ(window.messages[1], "Tacan odgovor je \"" + right + "\".");
}

TEST_F(Aids, jokerOnFourthQuestionMovesToNextGroupWithoutAward)
{
    game.NewGame();
    for (int n = 1; n <= 3; ++n)
        answerRight();
    game.JokerClick();
    EXPECT_EQ(window.questionNumberCaption, "Pitanje 5");
    EXPECT_EQ(window.iqCaption, "IQ: 16"); // 20 + 3 * 4 - 16
}

TEST_F(Aids, jokerOnTwentiethQuestionEndsTheQuiz)
{
    game.NewGame();
    for (int n = 1; n <= 19; ++n)
        answerRight();
    game.JokerClick();
    EXPECT_EQ(window.messages.back(), "Zavrsili ste kviz !!!");
    EXPECT_EQ(entry.finalIqs, std::vector<std::int32_t>{200 - 15 - 7});
}
