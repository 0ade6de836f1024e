#include "game.h"

#include "errors.h"
#include "mainwindowops.h"
#include "randomsource.h"
#include "scoring.h"

Game::Game(MainWindowOps& ui, const QuestionBank& groups, RandomSource& random, const Clock& clock)
    : m_ui(ui), m_groups(groups), m_random(random), m_clock(clock)
{
}

void Game::NewGame()
{
    // A game asks four questions of every group; a bank that cannot give them starts nothing.
    for (int group = 1; group <= kGroupCount; ++group)
        requirePlayable(group, kQuestionsPerGroup);
    m_random.ReseedFromClock(m_clock);
    m_ui.setAidVisible(Aid::Extra, true);
    m_ui.setAidVisible(Aid::Mini, true);
    m_ui.setAidVisible(Aid::Joker, true);
    m_state.currentGroup = 1;
    m_state.questionInGroup = 1;
    m_state.iq = kStartingIq;
    m_state.jokerLeft = true;
    m_state.miniLeft = true;
    m_state.extraLeft = true;
    ShowQuestion(1, 1);
}

void Game::ShowQuestion(std::uint16_t group, std::uint16_t number)
{
    requirePlayable(group, number);
    const Tgrupa& questions = m_groups[group - 1];
    auto& pool = m_state.questionPool;
    const int count = questions.count;
    if (number == 1) {
        for (int i = 1; i <= count; ++i)
            pool[i] = static_cast<std::uint16_t>(i);
    }
    const int j = m_random.RandomBelow(count - number + 1) + 1;
    const std::uint16_t q = pool[j];
    for (int i = j; i <= count - number; ++i)
        pool[i] = pool[i + 1];

    m_ui.clearQuestion();
    m_ui.appendQuestionLine(questions.questions[q - 1].text);
    FillAnswers(group, q);
    const int ordinal = m_state.questionInGroup + kQuestionsPerGroup * (m_state.currentGroup - 1);
    m_ui.setQuestionNumberCaption("Pitanje " + std::to_string(ordinal));
    showIq();
    m_state.offeredCount = kAnswerCount;
}

void Game::FillAnswers(std::uint16_t group, std::uint16_t question)
{
    const Tpitanje& asked = m_groups[group - 1].questions[question - 1];
    m_ui.clearAnswers();
    for (int k = 0; k < kAnswerCount; ++k)
        m_ui.insertAnswer(0, " ");

    std::array<int, kAnswerCount + 1> answerSlots{0, 1, 2, 3, 4};
    for (int k = 1; k <= kAnswerCount; ++k) {
        const int j = m_random.RandomBelow(5 - k) + 1;
        const int s = answerSlots[j];
        if (asked.correct == k)
            m_state.correctIndex = static_cast<std::uint8_t>(s - 1);
        m_ui.replaceAnswer(s - 1, asked.answers[k - 1]);
        for (int i = j; i <= 4 - k; ++i)
            answerSlots[i] = answerSlots[i + 1];
    }
}

void Game::requirePlayable(int group, int number) const
{
    if (group < 1 || group > kGroupCount)
        throw GameError("There is no question group " + std::to_string(group));
    const int count = m_groups[group - 1].count;
    if (number < 1 || number > count)
        throw GameError("Question group " + std::to_string(group) + " holds " +
                        std::to_string(count) + " questions, too few for a game");
}

void Game::showIq()
{
    m_ui.setIqCaption("IQ: " + std::to_string(m_state.iq));
}
