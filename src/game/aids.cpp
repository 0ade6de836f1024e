#include "game.h"
#include "mainwindowops.h"
#include "randomsource.h"
#include "scoring.h"

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
