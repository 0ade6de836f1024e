#include "game.h"

#include "game/errors.h"
#include "game/highscoreentry.h"
#include "game/mainwindowops.h"
#include "game/randomsource.h"
#include "game/scoring.h"

#include <string>

namespace {

struct AidTexts {
    const char* confirmation;
    const char* spent;
};

AidTexts textsOf(Aid aid)
{
    switch (aid) {
    case Aid::Joker:
        return {"Da li ste sigurni da zelite da iskoristite jokera", "Iskoristili ste Jokera!"};
    case Aid::Extra:
        return {"Da li ste sigurni da zelite da iskoristite EXTRA pomoc?",
                "Iskoristili ste EXTRA pomoc"};
    case Aid::Mini:
        return {"Da li ste sigurni da zelite da iskoristite MINI pomoc?",
                "Iskoristili ste MINI pomoc"};
    }
    return {"", ""};
}

std::int32_t costOf(Aid aid, int group)
{
    const int index = group - 1;
    switch (aid) {
    case Aid::Joker:
        return kJokerCost[index];
    case Aid::Extra:
        return kExtraCost[index];
    case Aid::Mini:
        return kMiniCost[index];
    }
    return 0;
}

} // namespace

// A new game and the questions it asks.

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

// Answers and the end of a game.

void Game::OdgovoriClick()
{
    const int selected = m_ui.selectedAnswer();
    if (selected < 0)
        return;
    const int groupIndex = m_state.currentGroup - 1;
    if (selected == m_state.correctIndex) {
        m_ui.showMessage("TACAN odgovor!!!");
        m_state.iq += kCorrectAward[groupIndex];
        NextQuestion();
        return;
    }
    m_ui.showMessage("Odgovor NETACAN !!!");
    m_ui.showMessage("Tacan odgovor je \"" + m_ui.answerText(m_state.correctIndex) + "\".");
    m_state.iq -= kWrongPenalty[groupIndex];
    EndGame();
}

void Game::NextQuestion()
{
    if (m_state.questionInGroup == kQuestionsPerGroup && m_state.currentGroup == kGroupCount) {
        m_ui.showMessage("Zavrsili ste kviz !!!");
        EndGame();
        return;
    }
    if (m_state.questionInGroup == kQuestionsPerGroup) {
        m_state.questionInGroup = 1;
        ++m_state.currentGroup;
    } else {
        ++m_state.questionInGroup;
    }
    ShowQuestion(m_state.currentGroup, m_state.questionInGroup);
}

void Game::EndGame()
{
    showIq();
    // However the Top 10 entry ends, the ended game is over: its last question can never be
    // answered again.
    if (m_highscoreEntry) {
        try {
            m_highscoreEntry->EnterHighscore(m_state.iq);
        } catch (const GameError& error) {
            m_ui.showError(error.what(), error.detail());
        }
    }
    NewGame();
}

// The aids.

bool Game::takeAid(Aid aid, bool& left)
{
    const AidTexts texts = textsOf(aid);
    if (!left) {
        m_ui.showMessage(texts.spent);
        return false;
    }
    if (!m_ui.confirm(texts.confirmation))
        return false;
    m_state.iq -= costOf(aid, m_state.currentGroup);
    m_ui.setAidVisible(aid, false);
    showIq();
    return true;
}

void Game::JokerClick()
{
    if (!takeAid(Aid::Joker, m_state.jokerLeft))
        return;
    m_state.jokerLeft = false;
    NextQuestion();
}

void Game::Button1Click()
{
    if (!takeAid(Aid::Extra, m_state.extraLeft))
        return;
    removeWrongAnswer();
    removeWrongAnswer();
    m_state.extraLeft = false;
}

void Game::Button2Click()
{
    if (!takeAid(Aid::Mini, m_state.miniLeft))
        return;
    removeWrongAnswer();
    m_state.miniLeft = false;
}

void Game::removeWrongAnswer()
{
    // The correct answer is never removed, so one offered answer means nothing is left to take.
    if (m_state.offeredCount < 2)
        return;
    int r = m_random.RandomBelow(m_state.offeredCount);
    while (r == m_state.correctIndex)
        r = m_random.RandomBelow(m_state.offeredCount);
    m_ui.deleteAnswer(r);
    --m_state.offeredCount;
    if (r < m_state.correctIndex)
        --m_state.correctIndex;
}
