#include "tform1.h"

#include "forms/announcer.h"
#include "forms/boxes.h"
#include "forms/fonts.h"
#include "forms/forms.h"
#include "forms/memo.h"
#include "forms/placement.h"
#include "forms/radiogroup.h"
#include "forms/readabletext.h"
#include "forms/tform2.h"
#include "forms/tform3.h"
#include "forms/tform4.h"
#include "forms/tform5.h"
#include "game/game.h"
#include "platform/mediaplayer.h"

#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

constexpr int kClientWidth = 630;
constexpr int kClientHeight = 332;

} // namespace

TForm1::TForm1(const ResourceProvider& resources, const Clock& clock, std::string dataDirectory,
               QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint),
      m_resources(resources), m_dataDirectory(std::move(dataDirectory)), m_ranking(m_topTen, *this)
{
    setWindowTitle(QStringLiteral("Trivkan's Mudrac Quiz  v1.1"));

    auto* client = new QWidget(this);
    client->setFixedSize(kClientWidth, kClientHeight);
    client->setAutoFillBackground(true);
    const QColor grey(160, 160, 164);
    QPalette colours = client->palette();
    colours.setColor(QPalette::Window, grey);
    client->setPalette(colours);
    // The labels and the answers stand on the grey.
    keepTextReadable(*client, QPalette::WindowText, grey);
    setCentralWidget(client);

    createControls(client);
    createMenu();
    screenReader = new Announcer(*this);
    setFixedSize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
    placeAtDesignedPosition(*this, QPoint(239, 124));

    m_music = std::make_unique<Music>(m_resources, *MediaPlayer1, m_dataDirectory);
    m_game = std::make_unique<Game>(*this, m_groups, m_random, clock);
    m_game->setHighscoreEntry(&m_ranking);
    FormCreate();
}

TForm1::~TForm1() = default;

QPushButton* TForm1::createButton(QWidget* client, const char* caption, int left, int top,
                                  int width, int height)
{
    auto* button = new QPushButton(QString::fromLatin1(caption), client);
    button->setGeometry(left, top, width, height);
    button->setFont(msSansSerifFont(13, true));
    // A focused button is clicked by Enter, as on every push button of this program.
    button->setAutoDefault(true);
    return button;
}

void TForm1::createControls(QWidget* client)
{
    Label3 = new QLabel(QStringLiteral("IQ: 20"), client);
    Label3->setFont(bangleFont(27, true));
    Label3->move(20, 24);
    Label3->adjustSize();

    Label1 = new QLabel(QStringLiteral("Pitanje 1"), client);
    Label1->setFont(arialBlackFont(13));
    Label1->move(15, 292);
    Label1->adjustSize();

    Memo1 = createQuestionMemo(client);
    Memo1->setPlainText(QStringLiteral("Memo1"));

    RadioGroup1 = createAnswerGroup(client);
    connect(RadioGroup1, &RadioGroup::clicked, this, &TForm1::RadioGroup1Click);

    Odgovori = createButton(client, "Odgovori", 312, 271, 90, 43);
    connect(Odgovori, &QPushButton::clicked, this, &TForm1::OdgovoriClick);
    Joker = createButton(client, "Joker", 9, 103, 80, 47);
    connect(Joker, &QPushButton::clicked, this, &TForm1::JokerClick);
    Button1 = createButton(client, "Extra pomoc", 9, 168, 123, 32);
    connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    Button2 = createButton(client, "Mini pomoc", 9, 216, 124, 32);
    connect(Button2, &QPushButton::clicked, this, &TForm1::Button2Click);

    // The controls are created in their tab order: the question, the answers (whose buttons
    // take the group's place), Odgovori and the three aids.
}

QPlainTextEdit* TForm1::createQuestionMemo(QWidget* client)
{
    QPlainTextEdit* memo = createMemo(client, QRect(150, 8, 468, 69), arialBlackFont(13), true,
                                      QColor(166, 202, 240), Qt::black);
    memo->setReadOnly(true);
    memo->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    return memo;
}

RadioGroup* TForm1::createAnswerGroup(QWidget* client)
{
    auto* group = new RadioGroup(client);
    group->setGeometry(151, 89, 465, 163);
    group->setFont(msSansSerifFont(13, true));
    return group;
}

void TForm1::createMenu()
{
    Game1 = menuBar()->addMenu(QStringLiteral("&Igra"));
    New1 = Game1->addAction(QStringLiteral("&Nova"));
    New1->setShortcut(QKeySequence(Qt::Key_F2));
    connect(New1, &QAction::triggered, this, &TForm1::New1Click);
    Highscore1 = Game1->addAction(QStringLiteral("&Top 10"));
    connect(Highscore1, &QAction::triggered, this, &TForm1::Highscore1Click);
    createQuestionFileItems();
    Game1->addSeparator();
    Exit1 = Game1->addAction(QStringLiteral("I&zlaz"));
    connect(Exit1, &QAction::triggered, this, &TForm1::Exit1Click);

    createMusicMenu();

    Help1 = menuBar()->addMenu(QStringLiteral("&Pomoc"));
    HowToPlay1 = Help1->addAction(QStringLiteral("&Pravila kviza"));
    connect(HowToPlay1, &QAction::triggered, this, &TForm1::HowToPlay1Click);
    Help1->addSeparator();
    About1 = Help1->addAction(QStringLiteral("O kvizu..."));
    connect(About1, &QAction::triggered, this, &TForm1::About1Click);
}

void TForm1::FormCreate()
{
    runHandler([this] {
        LoadQuestionBank(m_resources, m_groups);
        m_topTen.LoadHighscores(m_dataDirectory);
        m_game->NewGame();
    });
}

void TForm1::ResetujClick()
{
    runAnnounced([this] { m_game->NewGame(); });
}

void TForm1::New1Click()
{
    runAnnounced([this] { m_game->NewGame(); });
}

void TForm1::OdgovoriClick()
{
    runAnnounced([this] { m_game->OdgovoriClick(); });
}

void TForm1::RadioGroup1Click()
{
    Odgovori->setFocus(Qt::OtherFocusReason);
    screenReader->add(RadioGroup1->item(RadioGroup1->itemIndex()));
    screenReader->flush();
}

void TForm1::runAnnounced(const std::function<void()>& handler)
{
    m_questionShown = false;
    m_answersRemoved = false;
    m_iqShownAlone.clear();
    runHandler(handler);
    // An IQ shown before a question comes first, unless the question brings the same one.
    if (!m_iqShownAlone.isEmpty() && !(m_questionShown && m_iqShownAlone == Label3->text()))
        screenReader->add(m_iqShownAlone);
    if (m_questionShown) {
        screenReader->add(Label1->text());
        screenReader->add(Label3->text());
        screenReader->add(Memo1->toPlainText());
    } else if (m_answersRemoved) {
        QStringList remaining;
        for (int position = 0; position < RadioGroup1->count(); ++position)
            remaining.append(RadioGroup1->item(position));
        screenReader->add(remaining.join(QStringLiteral(", ")));
    }
    screenReader->flush();
}

void TForm1::JokerClick()
{
    runAnnounced([this] { m_game->JokerClick(); });
}

void TForm1::Button1Click()
{
    runAnnounced([this] { m_game->Button1Click(); });
}

void TForm1::Button2Click()
{
    runAnnounced([this] { m_game->Button2Click(); });
}

void TForm1::Highscore1Click()
{
    // Results another copy of the game saved since are listed too.
    m_topTen.refresh();
    if (Form2)
        Form2->exec();
}

void TForm1::HowToPlay1Click()
{
    if (Form4)
        Form4->exec();
}

void TForm1::About1Click()
{
    if (Form5)
        Form5->exec();
}

void TForm1::Exit1Click()
{
    close();
}

// MainWindowOps

void TForm1::clearQuestion()
{
    Memo1->clear();
}

void TForm1::appendQuestionLine(const std::string& line)
{
    Memo1->appendPlainText(QString::fromStdString(line));
}

void TForm1::clearAnswers()
{
    RadioGroup1->clearItems();
}

void TForm1::insertAnswer(int position, const std::string& answer)
{
    RadioGroup1->insertItem(position, QString::fromStdString(answer));
}

void TForm1::replaceAnswer(int position, const std::string& answer)
{
    RadioGroup1->replaceItem(position, QString::fromStdString(answer));
}

void TForm1::deleteAnswer(int position)
{
    RadioGroup1->removeItem(position);
    m_answersRemoved = true;
}

std::string TForm1::answerText(int position) const
{
    return RadioGroup1->item(position).toStdString();
}

int TForm1::selectedAnswer() const
{
    return RadioGroup1->itemIndex();
}

void TForm1::setQuestionNumberCaption(const std::string& caption)
{
    Label1->setText(QString::fromStdString(caption));
    Label1->adjustSize();
    m_questionShown = true;
}

void TForm1::setIqCaption(const std::string& caption)
{
    Label3->setText(QString::fromStdString(caption));
    Label3->adjustSize();
    // An IQ shown without a new question: after an aid, at the end of a game.
    if (!m_questionShown)
        m_iqShownAlone = Label3->text();
}

void TForm1::setAidVisible(Aid aid, bool visible)
{
    QPushButton* button = aid == Aid::Joker ? Joker : aid == Aid::Extra ? Button1 : Button2;
    // A hidden button would hand the focus on to the next aid, where Enter would spend it: after
    // an aid the focus goes to the answers.
    if (!visible && focusWidget() == button)
        RadioGroup1->focusAnswers();
    button->setVisible(visible);
}

void TForm1::showMessage(const std::string& message)
{
    showMessageBox(message);
}

bool TForm1::confirm(const std::string& question)
{
    return askConfirmation(question);
}

void TForm1::showError(const std::string& message, const std::string& detail)
{
    showErrorBox(message, detail);
}

void TForm1::showWaiting(const std::string& text)
{
    if (text.empty())
        m_waitNotice.hide();
    else
        m_waitNotice.show(this, QString::fromStdString(text));
}

std::string TForm1::askPlayerName()
{
    if (!Form3)
        return {};
    Form3->exec();
    return Form3->playerName();
}
