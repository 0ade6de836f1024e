#include "errors.h"
#include "game.h"
#include "mainwindowops.h"
#include "scoring.h"

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
