#include "forms/radiogroup.h"
#include "forms/tform1.h"
#include "forms/tform2.h"
#include "forms/tform3.h"
#include "game/files/topten.h"
#include "game/playername.h"
#include "support/formfixture.h"
#include "support/modaldriver.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextCursor>
#include <memory>

class TopWindowsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<FormEnvironment> env;

private slots:
    void init() { env = std::make_unique<FormEnvironment>(); }
    void cleanup() { env.reset(); }

    void topTenListsTheRowsAfreshAtEveryShowing()
    {
        TopTen table;
        table.topTen.fill({placeholderName, 0});
        table.topTen[2] = {"Ana", 57};
        table.topTen[6] = {"", -5};
        TForm2 window(table);
        ModalDriver driver;
        driver.windowActions = {[](QWidget* w) { w->close(); }, [](QWidget* w) { w->close(); }};
        window.exec();
        QStringList lines = window.Memo1->toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 10);
        QCOMPARE(lines[0], QStringLiteral("1: (IQ 0)      ") + QLatin1String(placeholderName));
        QCOMPARE(lines[2], QStringLiteral("3: (IQ 57)      Ana"));
        QCOMPARE(lines[6], QStringLiteral("7: (IQ -5)      "));
        QVERIFY(lines[9].startsWith(QLatin1String("10: ")));
        // A screen reader reads from the caret: row 1 first.
        QCOMPARE(window.Memo1->textCursor().position(), 0);
        table.topTen[0] = {"\xC4\x90or\xC4\x91"
                           "e",
                           99};
        window.exec();
        lines = window.Memo1->toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 10);
        QCOMPARE(lines[0], QString::fromUtf8("1: (IQ 99)      \xC4\x90or\xC4\x91"
                                             "e"));
        QCOMPARE(window.windowTitle(), QStringLiteral("Highscores"));
    }

    void nameEntryOffersSelectedPromptAndTakesTheTextEveryWay()
    {
        TForm3 window;
        ModalDriver driver;
        QString shownText;
        bool allSelected = false;
        bool focused = false;
        driver.windowActions.push_back([&](QWidget*) {
            shownText = window.Edit1->text();
            allSelected = window.Edit1->selectedText() == shownText;
            // The window manager may activate the window a moment later; the focus is in place.
            focused = window.focusWidget() == window.Edit1;
            QTest::keyClick(window.Edit1, Qt::Key_Escape); // no way out
            QTest::keyClicks(window.Edit1, QStringLiteral("Milos"));
            QTest::keyClick(window.Edit1, Qt::Key_Return);
        });
        window.exec();
        QCOMPARE(shownText, QStringLiteral("Upisi svoje ime !!!"));
        QVERIFY(allSelected);
        QVERIFY(focused);
        QCOMPARE(window.playerName(), std::string("Milos"));

        driver.windowActions.push_back([&](QWidget*) {
            window.Edit1->setText(QString::fromUtf8("\xD0\x9C\xD0\xB8\r\nla"));
            window.close(); // the title bar's close box
        });
        window.exec();
        QCOMPARE(cleanPlayerName(window.playerName()), std::string("\xD0\x9C\xD0\xB8 la"));

        driver.windowActions.push_back(
            [&](QWidget*) { QTest::mouseClick(window.Button1, Qt::LeftButton); });
        window.exec();
        QCOMPARE(window.playerName(), std::string("Upisi svoje ime !!!"));

        // Tab to "OK", where Enter clicks it.
        bool closedByEnter = false;
        driver.windowActions.push_back([&](QWidget*) {
            QTest::keyClicks(window.Edit1, QStringLiteral("Ana"));
            QTest::keyClick(window.Edit1, Qt::Key_Tab);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            closedByEnter = !window.isVisible();
            window.close();
        });
        window.exec();
        QVERIFY(closedByEnter);
        QCOMPARE(window.playerName(), std::string("Ana"));
        QCOMPARE(window.windowTitle(), QStringLiteral("Cestitamo!!!"));
    }

    void qualifyingGameAsksForANameAndSavesIt()
    {
        const auto window = env->mainWindow();
        TForm1& form = *window;
        TForm3 nameEntry(&form);
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        ModalDriver driver;
        QString iqDuringEntry;
        driver.windowActions.push_back([&](QWidget*) {
            iqDuringEntry = form.Label3->text();
            QTest::keyClicks(nameEntry.Edit1, QStringLiteral("Jelena"));
            QTest::keyClick(nameEntry.Edit1, Qt::Key_Return);
        });
        // A wrong first answer ends at 5, which beats the default rows of 0.
        for (int i = 0; i < form.RadioGroup1->count(); ++i)
            if (!form.RadioGroup1->item(i).endsWith(QLatin1String(" right"))) {
                form.RadioGroup1->button(i)->click();
                break;
            }
        QTest::mouseClick(form.Odgovori, Qt::LeftButton);
        QCOMPARE(driver.windowsSeen, 1);
        QCOMPARE(iqDuringEntry, QStringLiteral("IQ: 5"));
        QCOMPARE(form.topTen().topTen[0], (Trezultat{"Jelena", 5}));
        const std::string file = readBytes(env->dataDirectory() + "/m_highscore.txt");
        QVERIFY(file.starts_with("Jelena\r\n5\r\n"));
        QCOMPARE(form.Label3->text(), QStringLiteral("IQ: 20"));
    }
};

QTEST_MAIN(TopWindowsTest)
#include "topwindows_test.moc"
