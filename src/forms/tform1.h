#pragma once

#include "forms/forms.h"
#include "forms/waitnotice.h"
#include "game/files/topten.h"
#include "game/game.h"
#include "game/mainwindowops.h"
#include "game/music/music.h"
#include "game/questionbank.h"
#include "game/randomsource.h"
#include "game/ranking.h"

#include <QMainWindow>
#include <functional>
#include <memory>

class Announcer;
class Clock;
class QAction;
class QDragEnterEvent;
class QDropEvent;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class RadioGroup;
class MediaPlayer;
class ResourceProvider;
struct PlayedFile;

// TForm1, the main window: question, answers, aids, menu and music; closing it ends the program.
// Its handlers forward to the game; the window itself holds no game state.
class TForm1 : public QMainWindow, public MainWindowOps {
    Q_OBJECT

public:
    // Builds the window and runs its creation handler with the given resources, clock and the
    // folder that keeps the Top 10 file.
    TForm1(const ResourceProvider& resources, const Clock& clock, std::string dataDirectory,
           QWidget* parent = nullptr);
    ~TForm1() override;

    // The question box and the answer group as the window lays them out on its client area;
    // texts are also measured in them before any window exists.
    static QPlainTextEdit* createQuestionMemo(QWidget* client);
    static RadioGroup* createAnswerGroup(QWidget* client);

    Game& game() { return *m_game; }
    const QuestionBank& groups() const { return m_groups; }
    TopTen& topTen() { return m_topTen; }
    const Ranking& ranking() const { return m_ranking; }

    // MainWindowOps
    void clearQuestion() override;
    void appendQuestionLine(const std::string& text) override;
    void clearAnswers() override;
    void insertAnswer(int position, const std::string& text) override;
    void replaceAnswer(int position, const std::string& text) override;
    void deleteAnswer(int position) override;
    std::string answerText(int position) const override;
    int selectedAnswer() const override;
    void setQuestionNumberCaption(const std::string& caption) override;
    void setIqCaption(const std::string& caption) override;
    void setAidVisible(Aid aid, bool visible) override;
    void showMessage(const std::string& text) override;
    bool confirm(const std::string& text) override;
    void showError(const std::string& message, const std::string& detail) override;
    void showWaiting(const std::string& text) override;
    std::string askPlayerName() override;

    // Controls, named as laid out: by kind and number, some by role, menu items by caption.
    QPlainTextEdit* Memo1 = nullptr;     // the question box
    RadioGroup* RadioGroup1 = nullptr;   // the four answers
    QPushButton* Odgovori = nullptr;     // "Odgovori": judges the selected answer
    QPushButton* Joker = nullptr;        // "Joker": skips the question
    QPushButton* Button1 = nullptr;      // "Extra pomoc": removes two wrong answers
    QPushButton* Button2 = nullptr;      // "Mini pomoc": removes one wrong answer
    QLabel* Label3 = nullptr;            // "IQ: n", the player's points
    QLabel* Label1 = nullptr;            // "Pitanje n", the question's number in the game
    QMenu* Game1 = nullptr;              // "&Igra"
    QAction* New1 = nullptr;             // "&Nova" (F2): a new game
    QAction* Highscore1 = nullptr;       // "&Top 10": the Top 10 window
    QAction* Exit1 = nullptr;            // "I&zlaz": closes the window and the program
    QMenu* Muzika1 = nullptr;            // "&Muzika": no music or one of ten tunes
    QMenu* Help1 = nullptr;              // "&Pomoc"
    QAction* HowToPlay1 = nullptr;       // "&Pravila kviza": the rules window
    QAction* About1 = nullptr;           // "O kvizu...": the about window
    MediaPlayer* MediaPlayer1 = nullptr; // plays the background tunes; never visible
    Announcer* screenReader = nullptr;   // tells a screen reader what the window just showed

    // Questions from a file: the two items below "&Top 10", and the name of the file played.
    QAction* PitanjaIzDatoteke1 = nullptr; // "Pitanja iz &datoteke..." (Ctrl+O): the file dialog
    QAction* UgradjenaPitanja1 = nullptr;  // "&Ugradjena pitanja": the built-in questions
    QLabel* Label2 = nullptr;              // the file's name; hidden for the built-in questions

    // Handlers, named after their control and event, each run to its end; an error is shown in
    // the error box.
    void FormCreate();       // once, at creation: loads the bank and the Top 10, starts a game
    void ResetujClick();     // a new game; bound to no control
    void OdgovoriClick();    // Odgovori
    void New1Click();        // "&Nova", F2
    void RadioGroup1Click(); // an answer selected: the focus goes to Odgovori
    void JokerClick();       // Joker
    void Button1Click();     // Extra pomoc
    void Button2Click();     // Mini pomoc
    void Highscore1Click();  // "&Top 10"
    void HowToPlay1Click();  // "&Pravila kviza"
    // Every item of "&Muzika" (named after one of them, "The Way I Am").
    void heWayIAm1Click(QAction* item);
    void About1Click(); // "O kvizu..."
    void Exit1Click();  // "I&zlaz"

    void PitanjaIzDatoteke1Click(); // "Pitanja iz &datoteke...", Ctrl+O
    void UgradjenaPitanja1Click();  // "&Ugradjena pitanja"

    // Checks the question file at path as every question file is checked. One that can be played
    // starts a new game on its questions at once; one that cannot shows why in the error box, and
    // the game goes on with the questions it had.
    void openQuestionFile(const std::string& path);
    // A new game on the questions of a file already read; the window names the file from now on.
    void playQuestionFile(const PlayedFile& file);

protected:
    // A file dropped on the window is opened as a question file.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void createControls(QWidget* client);
    void createMenu();
    void createMusicMenu();
    // Runs a game handler, then tells a screen reader what it changed on the window.
    void runAnnounced(const std::function<void()>& handler);
    void createQuestionFileItems();
    // A new game on the questions given, naming their file (none for the built-in bank).
    void playQuestions(const ResourceProvider& questions, const std::string& path);
    QPushButton* createButton(QWidget* client, const char* caption, int left, int top, int width,
                              int height);

    // Form1 points here before the creation handler runs.
    FormPointer<TForm1> m_formPointer{Form1, this};
    const ResourceProvider& m_resources;
    std::string m_dataDirectory;
    QuestionBank m_groups;
    RandomSource m_random;
    TopTen m_topTen;
    Ranking m_ranking;
    std::unique_ptr<Game> m_game;
    std::unique_ptr<Music> m_music;
    // What the running handler changed, for the screen reader.
    bool m_questionShown = false;
    bool m_answersRemoved = false;
    QString m_iqShownAlone;
    WaitNotice m_waitNotice;
    QString m_questionFolder; // of the last question file tried: the file dialog opens there
};
