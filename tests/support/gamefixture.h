#pragma once

#include "bankbuilder.h"
#include "fakes.h"
#include "game/game.h"
#include "game/highscoreentry.h"
#include "game/randomsource.h"
#include "scriptedwindow.h"

#include <gtest/gtest.h>

// Records every end of game: the final IQ and what the IQ label showed meanwhile.
class RecordingEntry : public HighscoreEntry {
public:
    explicit RecordingEntry(const ScriptedWindow& window) : m_window(window) {}
    void EnterHighscore(std::int32_t iq) override
    {
        finalIqs.push_back(iq);
        labels.push_back(m_window.iqCaption);
    }
    std::vector<std::int32_t> finalIqs;
    std::vector<std::string> labels;

private:
    const ScriptedWindow& m_window;
};

// A game over a bank of the usual shape, its window scripted, its clock fixed.
class GameFixture : public ::testing::Test {
protected:
    GameFixture() { game.setHighscoreEntry(&entry); }

    static bool isRight(const std::string& answer)
    {
        return answer.size() > 6 && answer.compare(answer.size() - 6, 6, " right") == 0;
    }
    std::string rightAnswer() const
    {
        for (const auto& answer : window.answers)
            if (isRight(answer))
                return answer;
        return {};
    }
    void answerRight()
    {
        window.select(rightAnswer());
        game.OdgovoriClick();
    }
    void answerWrong()
    {
        for (const auto& answer : window.answers)
            if (!isRight(answer)) {
                window.select(answer);
                break;
            }
        game.OdgovoriClick();
    }

    ScriptedWindow window;
    QuestionBank groups = bankFrom(bankText({73, 71, 71, 41, 33}));
    RandomSource random;
    FixedClock clock;
    Game game{window, groups, random, clock};
    RecordingEntry entry{window};
};
