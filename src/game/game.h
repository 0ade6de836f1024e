#pragma once

#include "game/questionbank.h"

#include <array>
#include <cstdint>

class Clock;
class HighscoreEntry;
class MainWindowOps;
class RandomSource;
enum class Aid;

// The state of the game in progress. All zero until the first game starts.
struct GameState {
    std::uint16_t currentGroup = 0;    // 1..5
    std::uint16_t questionInGroup = 0; // 1..4
    std::int32_t iq = 0;               // no bound: may fall below zero
    bool jokerLeft = false;
    bool extraLeft = false;
    bool miniLeft = false;
    std::uint8_t offeredCount = 0; // answers now offered
    std::uint8_t correctIndex = 0; // 0-based position of the correct answer
    // Entries 1 .. count - n + 1 hold the group's questions not yet asked, in ascending order.
    std::array<std::uint16_t, kMaxQuestionsPerGroup + 1> questionPool{};
};

// The quiz: one method per player action. Each changes the state, then tells the main window.
class Game {
public:
    Game(MainWindowOps& ui, const QuestionBank& groups, RandomSource& random, const Clock& clock);

    // Who is told at the end of every game; nobody when null.
    void setHighscoreEntry(HighscoreEntry* entry) { m_highscoreEntry = entry; }

    // Reseeds, shows all aid buttons, resets the state and asks question 1 of group 1.
    void NewGame();
    // Draws a question of the group not yet asked in this pass and shows it with its answers in
    // random order, none selected. Raises an error, changing nothing, when the group is not 1..5
    // or holds fewer questions than the number asked.
    void ShowQuestion(std::uint16_t group, std::uint16_t number);

    // Judges the selected answer; nothing happens when none is selected. A wrong answer ends
    // the game.
    void OdgovoriClick();
    // After a correct answer or a Joker: ends the quiz after the 20th question, else asks the
    // next one.
    void NextQuestion();
    // Shows the final IQ, offers the Top 10 entry and starts a new game; an error of the entry
    // (a failed save) is shown in the error box before the new game starts.
    void EndGame();

    // The aids, each once per game after a confirmation.
    void JokerClick();
    void Button1Click(); // Extra help: removes two wrong answers
    void Button2Click(); // Mini help: removes one wrong answer

    const GameState& state() const { return m_state; }

private:
    void FillAnswers(std::uint16_t group, std::uint16_t question);
    void requirePlayable(int group, int number) const;
    void showIq();
    // Asks for confirmation and charges the aid; false when the aid is spent or declined.
    bool takeAid(Aid aid, bool& left);
    void removeWrongAnswer();

    MainWindowOps& m_ui;
    const QuestionBank& m_groups;
    RandomSource& m_random;
    const Clock& m_clock;
    HighscoreEntry* m_highscoreEntry = nullptr;
    GameState m_state;
};
