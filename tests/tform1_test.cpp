#include "forms/announcer.h"
#include "forms/boxes.h"
#include "forms/radiogroup.h"
#include "forms/readabletext.h"
#include "forms/tform1.h"
#include "forms/tform5.h"
#include "game/files/fileimage.h"
#include "game/questionbank.h"
#include "game/ranking.h"
#include "support/formfixture.h"
#include "support/modaldriver.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSet>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <QTextDocument>
#include <QTimer>
#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <sys/file.h>
#include <unistd.h>

namespace {

bool isRight(const QString& answer)
{
    return answer.endsWith(QLatin1String(" right"));
}

int rightPosition(const RadioGroup& group)
{
    for (int i = 0; i < group.count(); ++i)
        if (isRight(group.item(i)))
            return i;
    return -1;
}

QStringList captionsOf(const QMenu* menu)
{
    QStringList captions;
    for (const QAction* action : menu->actions())
        captions << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return captions;
}

// A dark desktop theme: light text on dark windows and fields.
QPalette darkPalette()
{
    QPalette dark(QColor(66, 66, 69), QColor(34, 32, 32));
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::BrightText})
        dark.setColor(role, Qt::white);
    dark.setColor(QPalette::Base, QColor(61, 61, 61));
    return dark;
}

// The contrast of the drawn pixel that stands out most from the background in the widget's text
// area: the text's own colour.
double strongestContrast(QWidget& widget, const QColor& background, const QRect& area = {})
{
    const QImage image = widget.grab(area.isNull() ? widget.rect() : area).toImage();
    double strongest = 1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            strongest = std::max(strongest, contrastRatio(image.pixelColor(x, y), background));
    return strongest;
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<FormEnvironment> env;
    std::unique_ptr<TForm1> form;

    void start()
    {
        form = env->mainWindow();
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }

    // Message boxes take the activation with them; shortcuts and focus need it back.
    void activate()
    {
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }

    // A key as the player presses it: to the focused control of the active window.
    void press(int key, Qt::KeyboardModifiers modifiers = {})
    {
        if (!QApplication::activeWindow())
            activate();
        QWidget* focused = QApplication::focusWidget();
        QVERIFY2(focused, "nothing has the focus");
        QTest::keyClick(focused, static_cast<Qt::Key>(key), modifiers);
    }

    bool focusOnAnswers()
    {
        if (!QApplication::activeWindow())
            activate();
        return form->RadioGroup1->isAncestorOf(QApplication::focusWidget());
    }

    void clickAnswer(int position)
    {
        QRadioButton* button = form->RadioGroup1->button(position);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
    }

private slots:
    void init() { env = std::make_unique<FormEnvironment>(); }
    void cleanup()
    {
        form.reset();
        env.reset();
    }

    void startShowsFirstQuestionAndLeavesNoTemporaryFile()
    {
        start();
        QCOMPARE(form->windowTitle(), QStringLiteral("Trivkan's Mudrac Quiz  v1.1"));
        QCOMPARE(form->Label1->text(), QStringLiteral("Pitanje 1"));
        QCOMPARE(form->Label3->text(), QStringLiteral("IQ: 20"));
        QCOMPARE(form->RadioGroup1->count(), 4);
        QCOMPARE(form->RadioGroup1->itemIndex(), -1);
        QVERIFY(form->Memo1->toPlainText().startsWith(QLatin1String("G1 Q")));
        QVERIFY(!std::filesystem::exists("kvizomir.txt"));
    }

    void menuHoldsEveryItemWithAccessKeysAndF2()
    {
        start();
        QStringList bar;
        for (const QAction* action : form->menuBar()->actions())
            bar << action->text();
        QCOMPARE(bar, (QStringList{QStringLiteral("&Igra"), QStringLiteral("&Muzika"),
                                   QStringLiteral("&Pomoc")}));
        QCOMPARE(captionsOf(form->Game1),
                 (QStringList{QStringLiteral("&Nova"), QStringLiteral("&Top 10"),
                              QStringLiteral("Pitanja iz &datoteke..."),
                              QStringLiteral("&Ugradjena pitanja"), QStringLiteral("-"),
                              QStringLiteral("I&zlaz")}));
        QCOMPARE(form->New1->shortcut(), QKeySequence(Qt::Key_F2));
        QCOMPARE(form->PitanjaIzDatoteke1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
        // No two items of a menu share an access key.
        for (const QAction* menu : form->menuBar()->actions()) {
            QStringList keys;
            for (const QAction* action : menu->menu()->actions())
                if (const QKeySequence key = QKeySequence::mnemonic(action->text()); !key.isEmpty())
                    keys << key.toString();
            QCOMPARE(QSet<QString>(keys.begin(), keys.end()).size(), keys.size());
        }
        QCOMPARE(captionsOf(form->Help1),
                 (QStringList{QStringLiteral("&Pravila kviza"), QStringLiteral("-"),
                              QStringLiteral("O kvizu...")}));
        form->Exit1->trigger(); // "I&zlaz" closes the main window, which ends the program
        QVERIFY(!form->isVisible());
    }

    void selectingAnAnswerFocusesOdgovoriAndEnterAnswersIt()
    {
        start();
        ModalDriver driver;
        clickAnswer(rightPosition(*form->RadioGroup1));
        QTRY_VERIFY(form->Odgovori->hasFocus());
        QTest::keyClick(form->Odgovori, Qt::Key_Return);
        QCOMPARE(driver.texts(), QStringList{QStringLiteral("TACAN odgovor!!!")});
        QCOMPARE(driver.seen.front().title, QStringLiteral("MudracQ"));
        QCOMPARE(driver.seen.front().icon, QMessageBox::NoIcon);
        QVERIFY(driver.seen.front().plainText); // an answer holding "<b>" is not markup
        QCOMPARE(form->Label1->text(), QStringLiteral("Pitanje 2"));
        QCOMPARE(form->Label3->text(), QStringLiteral("IQ: 24"));
        QCOMPARE(form->RadioGroup1->itemIndex(), -1);
    }

    void wholeGameOfTwentyRightAnswersByKeyboardAlone()
    {
        start();
        ModalDriver driver;
        press(Qt::Key_I, Qt::AltModifier); // "&Igra", "&Nova"
        QTRY_VERIFY(QApplication::activePopupWidget());
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_N);
        QTRY_VERIFY(!QApplication::activePopupWidget());

        // The tab order as laid out, the answers one stop, forwards and back.
        form->Memo1->setFocus();
        const QList<QWidget*> order = {form->RadioGroup1->button(0),
                                       form->Odgovori,
                                       form->Joker,
                                       form->Button1,
                                       form->Button2,
                                       form->Memo1};
        QList<QWidget*> forwards, backwards;
        for (int i = 0; i < 6; ++i) {
            press(Qt::Key_Tab);
            forwards << QApplication::focusWidget();
        }
        for (int i = 0; i < 6; ++i) {
            backwards.prepend(QApplication::focusWidget());
            press(Qt::Key_Tab, Qt::ShiftModifier);
        }
        QCOMPARE(forwards, order);
        QCOMPARE(backwards, order);

        press(Qt::Key_Tab);
        press(Qt::Key_F2); // new answers under the focus: it stays with them
        QVERIFY(focusOnAnswers());

        // The Joker: Enter on it, Enter for "&Yes"; the focus goes to the answers, where a
        // second Enter neither spends an aid nor chooses an answer.
        press(Qt::Key_Tab);
        press(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), form->Joker);
        press(Qt::Key_Return);
        QCOMPARE(form->Label1->text(), QStringLiteral("Pitanje 2"));
        QVERIFY(focusOnAnswers());
        press(Qt::Key_Return);
        QCOMPARE(driver.seen.size(), std::size_t{1});
        QCOMPARE(form->RadioGroup1->itemIndex(), -1);

        // The Mini help declined by Alt+N, the Extra help taken by Alt+Y.
        driver.keys = {Qt::Key_N | Qt::AltModifier, Qt::Key_Y | Qt::AltModifier};
        press(Qt::Key_Tab);
        press(Qt::Key_Tab);
        press(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), form->Button2);
        press(Qt::Key_Return);
        QCOMPARE(form->RadioGroup1->count(), 4);
        press(Qt::Key_Tab, Qt::ShiftModifier);
        press(Qt::Key_Return);
        QCOMPARE(form->RadioGroup1->count(), 2);
        QVERIFY(focusOnAnswers());
        QCOMPARE(form->Label3->text(), QStringLiteral("IQ: -8"));

        // Each question: an arrow key selects at once and hands the focus to Odgovori, where
        // Enter answers; Shift+Tab leads back to the answers.
        for (int question = 2; question <= 20; ++question) {
            QCOMPARE(form->Label1->text(), QStringLiteral("Pitanje %1").arg(question));
            const int right = rightPosition(*form->RadioGroup1);
            while (form->RadioGroup1->itemIndex() != right) {
                if (!focusOnAnswers())
                    press(Qt::Key_Tab, Qt::ShiftModifier);
                press(question % 2 ? Qt::Key_Up : Qt::Key_Down);
                QCOMPARE(QApplication::focusWidget(), form->Odgovori);
            }
            press(Qt::Key_Return);
        }
        const QStringList texts = driver.texts();
        QCOMPARE(texts.count(QStringLiteral("TACAN odgovor!!!")), 19);
        QCOMPARE(texts.last(), QStringLiteral("Zavrsili ste kviz !!!"));
        QCOMPARE(form->topTen().topTen[0], (Trezultat{"", 168}));
        QCOMPARE(form->Label1->text(), QStringLiteral("Pitanje 1"));
    }

    void clickingTheSelectedAnswerAgainDoesNotMoveFocus()
    {
        start();
        QSignalSpy clicks(form->RadioGroup1, &RadioGroup::clicked);
        clickAnswer(0);
        QCOMPARE(clicks.count(), 1);
        form->RadioGroup1->button(0)->setFocus();
        clickAnswer(0);
        QCOMPARE(clicks.count(), 1);
        QVERIFY(!form->Odgovori->hasFocus());
    }

    void f2MidGameStartsAFreshGame()
    {
        start();
        ModalDriver driver;
        clickAnswer(rightPosition(*form->RadioGroup1));
        QTest::mouseClick(form->Odgovori, Qt::LeftButton);
        QCOMPARE(form->Label1->text(), QStringLiteral("Pitanje 2"));
        driver.keys = {Qt::Key_Return};
        QTest::mouseClick(form->Button2, Qt::LeftButton); // Mini help, confirmed
        QVERIFY(!form->Button2->isVisible());
        activate();
        QTest::keyClick(form.get(), Qt::Key_F2);
        QCOMPARE(form->Label1->text(), QStringLiteral("Pitanje 1"));
        QCOMPARE(form->Label3->text(), QStringLiteral("IQ: 20"));
        QVERIFY(form->Button2->isVisible());
        QCOMPARE(form->RadioGroup1->count(), 4);
    }

    // What the window shows after each step is announced to a screen reader, once the window is
    // active again; the focus stays where the player left it.
    void screenReaderHearsEachChange()
    {
        start();
        ModalDriver driver;
        const auto heard = [this] { return form->screenReader->lastAnnouncement(); };
        const auto question = [this] {
            return QStringList{form->Label1->text(), form->Label3->text(),
                               form->Memo1->toPlainText()}
                .join(QStringLiteral(". "));
        };
        const int right = rightPosition(*form->RadioGroup1);
        clickAnswer(right);
        QTRY_COMPARE(heard(), form->RadioGroup1->item(right));
        QVERIFY(form->Odgovori->hasFocus());

        QTest::keyClick(form->Odgovori, Qt::Key_Return);
        activate();
        QTRY_COMPARE(heard(), question());
        QVERIFY(heard().startsWith(QLatin1String("Pitanje 2. IQ: 24. G")));
        QVERIFY(form->Odgovori->hasFocus());

        driver.keys = {Qt::Key_Return};
        QTest::mouseClick(form->Button2, Qt::LeftButton); // Mini pomoc, confirmed
        activate();
        QStringList remaining;
        for (int i = 0; i < form->RadioGroup1->count(); ++i)
            remaining << form->RadioGroup1->item(i);
        QTRY_COMPARE(heard(), form->Label3->text() + QStringLiteral(". ") +
                                  remaining.join(QStringLiteral(", ")));
        QCOMPARE(remaining.size(), 3);

        // The Joker's new question brings its IQ once.
        driver.keys = {Qt::Key_Return};
        QTest::mouseClick(form->Joker, Qt::LeftButton);
        activate();
        QTRY_COMPARE(heard(), question());

        QTest::keyClick(form.get(), Qt::Key_F2);
        QTRY_COMPARE(heard(), question());
        QVERIFY(heard().startsWith(QLatin1String("Pitanje 1. IQ: 20. ")));
    }

    // On a dark theme the texts on the laid-out backgrounds are drawn black; the default theme
    // keeps its own colours.
    void textsStayReadableOnTheLaidOutBackgroundsUnderADarkTheme()
    {
        const QPalette standard = QApplication::palette();
        start();
        QCOMPARE(form->Label3->palette().color(QPalette::WindowText),
                 standard.color(QPalette::WindowText));
        QApplication::setPalette(darkPalette());
        auto restore = qScopeGuard([&] { QApplication::setPalette(standard); });
        form = env->mainWindow();
        form->show();
        TForm5 about;
        const QColor grey(160, 160, 164);
        QVERIFY(strongestContrast(*form->Label1, grey) >= 4.5);
        QVERIFY(strongestContrast(*form->Label3, grey) >= 4.5);
        for (int i = 0; i < form->RadioGroup1->count(); ++i) {
            QRadioButton* answer = form->RadioGroup1->button(i);
            const int indicator = answer->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
                                  answer->style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing);
            QVERIFY(strongestContrast(*answer, grey, answer->rect().adjusted(indicator, 0, 0, 0)) >=
                    4.5);
        }
        about.show();
        QVERIFY(strongestContrast(*about.Memo1->viewport(), QColor(215, 228, 242)) >= 4.5);
    }

    void confirmationDefaultsToYesAndEscapeDeclines()
    {
        start();
        ModalDriver driver;
        driver.keys = {Qt::Key_Escape};
        QTest::mouseClick(form->Joker, Qt::LeftButton);
        QCOMPARE(driver.seen.front().title, QStringLiteral("Confirm"));
        QCOMPARE(driver.seen.front().icon, QMessageBox::Question);
        QCOMPARE(driver.seen.front().buttons,
                 (QStringList{QStringLiteral("&Yes"), QStringLiteral("&No")}));
        QCOMPARE(driver.seen.front().defaultButton, QStringLiteral("&Yes"));
        QVERIFY(form->Joker->isVisible());
        QCOMPARE(form->Label1->text(), QStringLiteral("Pitanje 1"));
        QTest::mouseClick(form->Joker, Qt::LeftButton); // Enter: yes
        QVERIFY(!form->Joker->isVisible());
        QCOMPARE(form->Label1->text(), QStringLiteral("Pitanje 2"));
        QCOMPARE(form->Label3->text(), QStringLiteral("IQ: 4"));
    }

    void hiddenAidButtonTakesNoFocus()
    {
        start();
        ModalDriver driver;
        QTest::mouseClick(form->Button1, Qt::LeftButton);
        QCOMPARE(form->RadioGroup1->count(), 2);
        QVERIFY(!form->Button1->isVisible());
        activate();
        form->Joker->setFocus();
        QTest::keyClick(form->Joker, Qt::Key_Tab);
        QVERIFY(form->Button2->hasFocus());
    }

    void removalKeepsTheSelectedPositionWithoutAClick()
    {
        RadioGroup group;
        QSignalSpy clicks(&group, &RadioGroup::clicked);
        for (const char* text : {"d", "c", "b", "a"})
            group.insertItem(0, QString::fromLatin1(text));
        group.setItemIndex(1);
        group.removeItem(0);
        QCOMPARE(group.itemIndex(), 1);
        QCOMPARE(group.item(1), QStringLiteral("c"));
        group.removeItem(2);
        QCOMPARE(group.itemIndex(), 1);
        group.removeItem(1);
        QCOMPARE(group.itemIndex(), 0);
        QVERIFY(group.button(0)->isChecked());
        group.clearItems();
        QCOMPARE(group.itemIndex(), -1);
        QCOMPARE(clicks.count(), 0);
    }

    void startupErrorShowsErrorBoxThenLayoutContents()
    {
        // A Top 10 "file" that would never end is refused, not read, and left where it is.
        const std::string table = env->dataDirectory() + "/m_highscore.txt";
        std::filesystem::create_symlink("/dev/zero", table);
        ModalDriver driver;
        start();
        QCOMPARE(driver.texts(), QStringList{QStringLiteral("Not a regular file.\n") +
                                             QString::fromStdString(table) +
                                             QStringLiteral(": the Top 10 was not loaded; the "
                                                            "file is left as it is.")});
        QVERIFY(std::filesystem::is_symlink(table));
        QVERIFY(driver.seen.front().plainText);
        QCOMPARE(driver.seen.front().icon, QMessageBox::Critical);
        QCOMPARE(driver.seen.front().title, QStringLiteral("MudracQ"));
        QCOMPARE(form->Memo1->toPlainText(), QStringLiteral("Memo1"));
        QCOMPARE(form->RadioGroup1->count(), 0);
        QTest::mouseClick(form->Odgovori, Qt::LeftButton); // no game: nothing happens
        QTest::mouseClick(form->Joker, Qt::LeftButton);
        QCOMPARE(driver.texts().last(), QStringLiteral("Iskoristili ste Jokera!"));
    }

    void longestQuestionAndAnswersOfTheShippedBankFitWithoutScrolling()
    {
        QuestionBank shipped;
        {
            MapResources bank;
            bank.items["r_pitanja"] = readBytes(MUDRACQ_SOURCE_DIR "/resources/r_pitanja.txt");
            LoadQuestionBank(bank, shipped);
        }
        std::string question;
        std::vector<std::string> answers;
        for (const Tgrupa& group : shipped)
            for (const Tpitanje& q : group.questions) {
                if (q.text.size() > question.size())
                    question = q.text;
                answers.insert(answers.end(), q.answers.begin(), q.answers.end());
            }
        std::sort(answers.begin(), answers.end(),
                  [](const auto& a, const auto& b) { return a.size() > b.size(); });
        std::string block = "@\r\n-'" + question + "'\r\n" + answers[0] + "*\r\n";
        for (int k = 1; k < 4; ++k)
            block += answers[static_cast<std::size_t>(k)] + "\r\n";
        std::string text;
        for (int g = 0; g < 5; ++g)
            text += block + block.substr(3) + block.substr(3) + block.substr(3);
        env->resources.items["r_pitanja"] = text;
        start();

        QCOMPARE(form->Memo1->toPlainText().toStdString(), question);
        const int textHeight = static_cast<int>(form->Memo1->document()->size().height()) *
                               form->Memo1->fontMetrics().lineSpacing();
        QVERIFY2(textHeight <= form->Memo1->viewport()->height(), "question needs scrolling");
        for (int i = 0; i < 4; ++i) {
            const QRadioButton* button = form->RadioGroup1->button(i);
            QVERIFY2(button->sizeHint().width() <= button->width(),
                     qPrintable(button->text() + QStringLiteral(" is cut off")));
        }
        if (const QByteArray shot = qgetenv("MUDRACQ_SCREENSHOT"); !shot.isEmpty())
            form->grab().save(QString::fromLocal8Bit(shot));
    }

    void eachMusicCaptionPlaysItsTune()
    {
        // The menu from top to bottom, and the tune each item plays; none for silence and the
        // separators.
        const std::pair<const char*, const char*> laidOut[] = {
            {"&Bez muzike", nullptr},
            {"-", nullptr},
            {"Turkish Rondo", "r_5"},
            {"Hungarian Dance 5", "r_1"},
            {"Dance Of The Reed Pipes", "r_4"},
            {"Chineese Dance", "r_3"},
            {"Fur Elise", "r_10"},
            {"Badinerie", "r_6"},
            {"Vienna", "r_8"},
            {"-", nullptr},
            {"Changes", "r_9"},
            {"Under The Influence", "r_2"},
            {"The Way I Am", "r_7"},
        };
        // Tunes that are no MIDI files: each is written out, then refused in an error box.
        for (int n = 1; n <= 10; ++n)
            env->resources.items["r_" + std::to_string(n)] = "tune " + std::to_string(n);
        start();
        ModalDriver driver;
        const std::string tuneFile = env->dataDirectory() + "/temp.mid";
        QStringList captions;
        for (const auto& [caption, tune] : laidOut)
            captions << QString::fromLatin1(caption);
        QCOMPARE(captionsOf(form->Muzika1), captions);
        for (qsizetype i = 0; i < captions.size(); ++i) {
            std::filesystem::remove(tuneFile);
            form->Muzika1->actions().at(i)->trigger();
            const char* tune = laidOut[i].second;
            QCOMPARE(readBytes(tuneFile), tune ? env->resources.items[tune] : std::string());
        }
        QCOMPARE(driver.seen.size(), std::size_t{10});
        QCOMPARE(form->Label1->text(), QStringLiteral("Pitanje 1"));
    }

    void dataFolderInTheWayIsReportedAndTheGameStillStarts()
    {
        std::filesystem::remove(env->dataDirectory());
        writeFileImage(env->dataDirectory(), "somebody's file");
        ModalDriver driver;
        start();
        QCOMPARE(driver.texts().size(), 1);
        QCOMPARE(driver.texts().first().section(QLatin1Char('\n'), 0, 0),
                 QStringLiteral("Invalid filename."));
        QCOMPARE(form->Memo1->toPlainText(), QStringLiteral("Memo1"));
        activate();
        QTest::keyClick(form.get(), Qt::Key_F2);
        QCOMPARE(form->RadioGroup1->count(), 4);
        QCOMPARE(readBytes(env->dataDirectory()), std::string("somebody's file"));
    }

    void saveWaitingForALockSaysSoWhileItWaits()
    {
        start();
        const std::string lockFile = form->topTen().highscorePath + ".lock";
        int held = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        QCOMPARE(::flock(held, LOCK_EX), 0); // as another program holding it would
        ModalDriver driver;
        driver.windowActions.push_back([](QWidget* nameEntry) { nameEntry->close(); });
        // Runs only while the windows are drawn during the wait.
        QString notice;
        QTimer anotherProgram;
        connect(&anotherProgram, &QTimer::timeout, [&] {
            for (QWidget* window : QApplication::topLevelWidgets())
                if (auto* dialog = qobject_cast<QProgressDialog*>(window);
                    dialog && dialog->isVisible() && held >= 0)
                    notice = dialog->labelText(), ::close(held), held = -1;
        });
        anotherProgram.start(50);
        Ranking(form->topTen(), *form).EnterHighscore(500);
        QCOMPARE(notice, QStringLiteral("Saving the result: waiting for another program to "
                                        "release %1.")
                             .arg(QString::fromStdString(lockFile)));
        for (QWidget* window : QApplication::topLevelWidgets())
            QVERIFY(!qobject_cast<QProgressDialog*>(window) || !window->isVisible());
        QCOMPARE(form->topTen().topTen[0].score, 500);
        QVERIFY(driver.texts().isEmpty()); // no error box
    }

    void errorBoxAddsFullStopOnlyAfterHigherCharacters()
    {
        QCOMPARE(errorBoxText("Disk full"), std::string("Disk full."));
        QCOMPARE(errorBoxText("Stop!"), std::string("Stop!"));
        QCOMPARE(errorBoxText("Done."), std::string("Done."));
        QCOMPARE(errorBoxText("I/O error 1005"), std::string("I/O error 1005."));
        QCOMPARE(errorBoxText("ends in -"), std::string("ends in -"));
    }
};

QTEST_MAIN(MainWindowTest)
#include "tform1_test.moc"
