#include "support/gamefixture.h"

#include <functional>

namespace {

// What a group gives for a right answer and takes for a wrong one and for each aid, as the
// rules lay it out.
struct GroupPoints {
    int award, penalty, joker, extra, mini;
};
constexpr GroupPoints kPointsOfGroup[] = {
    {4, 15, 16, 12, 10}, {6, 12, 16, 10, 7}, {8, 8, 11, 8, 5}, {12, 6, 11, 5, 3}, {15, 4, 7, 2, 0},
};

} // namespace

using Scoring = GameFixture;

TEST_F(Scoring, everyGroupAwardsChargesAndPenalisesItsOwnPoints)
{
    const auto shownIq = [&] { return std::stoi(window.iqCaption.substr(4)); };
    const auto change = [&](const std::function<void()>& step) {
        const int before = shownIq();
        step();
        return shownIq() - before;
    };
    for (int group = 1; group <= 5; ++group) {
        SCOPED_TRACE("group " + std::to_string(group));
        const GroupPoints& laidOut = kPointsOfGroup[group - 1];
        game.NewGame();
        for (int asked = 0; asked < 4 * (group - 1); ++asked)
            answerRight();
        ASSERT_EQ(window.questionLines.front().substr(0, 3), "G" + std::to_string(group) + " ");
        EXPECT_EQ(change([&] { game.Button2Click(); }), -laidOut.mini);
        EXPECT_EQ(change([&] { game.Button1Click(); }), -laidOut.extra);
        EXPECT_EQ(change([&] { answerRight(); }), laidOut.award);
        EXPECT_EQ(change([&] { game.JokerClick(); }), -laidOut.joker);
        // The final IQ, below zero in the first group, stands in the label for the Top 10 entry.
        const int finalIq = shownIq() - laidOut.penalty;
        answerWrong();
        EXPECT_EQ(entry.finalIqs.back(), finalIq);
        EXPECT_EQ(entry.labels.back(), "IQ: " + std::to_string(finalIq));
    }
}
