#include "app/questioncheck.h"
#include "forms/questionfit.h"
#include "forms/radiogroup.h"
#include "forms/tform1.h"
#include "forms/tform3.h"
#include "game/files/fileimage.h"
#include "game/utf8.h"
#include "support/formfixture.h"
#include "support/modaldriver.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <map>
#include <memory>
#include <random>

namespace {

std::string exampleFile()
{
    return readBytes(MUDRACQ_SOURCE_DIR "/examples/pitanja.txt");
}

} // namespace

class QuestionFileWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<FormEnvironment> env;

private slots:
    void init() { env = std::make_unique<FormEnvironment>(); }
    void cleanup() { env.reset(); }

    void serbianLettersStayIntactFromTheFileToTheTopTen()
    {
        // The first group of the example: each question with its right answer.
        const std::map<QString, QString> rightAnswers = {
            {QString::fromUtf8("Koja reka protiče kroz Novi Sad?"), QStringLiteral("Dunav")},
            {QString::fromUtf8("Koliko nogu ima pčela?"), QString::fromUtf8("šest")},
            {QString::fromUtf8("Kako se zove glavni grad Češke?"), QStringLiteral("Prag")},
            {QString::fromUtf8("Која је највећа планета Сунчевог система?"),
             QString::fromUtf8("Јупитер")},
        };
        env->resources.items["r_pitanja"] = exampleFile();
        const auto window = env->mainWindow();
        TForm1& form = *window;
        TForm3 nameEntry(&form);
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));

        const QString question = form.Memo1->toPlainText();
        QVERIFY2(rightAnswers.count(question), qPrintable(question));
        const QString right = rightAnswers.at(question);
        int wrong = 0;
        while (form.RadioGroup1->item(wrong) == right)
            ++wrong;
        ModalDriver driver;
        driver.windowActions.push_back([&](QWidget*) {
            nameEntry.Edit1->clear();
            // Typed as a Serbian keyboard layout sends the letters.
            for (const QChar c : QString::fromUtf8("Đorđe Čolić"))
                QTest::sendKeyEvent(QTest::Click, nameEntry.Edit1, Qt::Key_unknown, QString(c),
                                    Qt::NoModifier);
            QTest::keyClick(nameEntry.Edit1, Qt::Key_Return);
        });
        form.RadioGroup1->button(wrong)->click();
        QTest::mouseClick(form.Odgovori, Qt::LeftButton);

        QCOMPARE(driver.texts().value(1), QStringLiteral("Tacan odgovor je \"%1\".").arg(right));
        QCOMPARE(form.topTen().topTen[0].name, std::string("Đorđe Čolić"));
        QVERIFY(readBytes(env->dataDirectory() + "/m_highscore.txt")
                    .starts_with("Đorđe Čolić\r\n5\r\n"));
    }

    void fileThatCannotBePlayedShowsItsFirstProblemAndOffersTheBuiltInQuestions()
    {
        const std::string broken = env->dir.file("broken.txt");
        std::string text = exampleFile();
        text.replace(text.find("Dunav*"), 6, "Dunav"); // line 4: no right answer
        text.replace(text.find("osam"), 4, "osam*");   // line 9: two right answers
        writeFileImage(broken, text);

        ModalDriver driver;
        driver.keys = {Qt::Key_Return, Qt::Key_Return}; // OK, then "&Yes"
        QuestionChoice choice = chooseQuestions(broken);
        QVERIFY(choice.play);
        QVERIFY(!choice.questions); // the built-in bank
        QCOMPARE(driver.seen.size(), 2u);
        QCOMPARE(driver.seen[0].icon, QMessageBox::Critical);
        QCOMPARE(driver.seen[0].text,
                 QString::fromStdString("Question file line 3: no answer ends with the * that "
                                        "marks the right one.\n" +
                                        broken +
                                        " cannot be played (mudracq --check-questions lists all "
                                        "2 problems)."));
        QCOMPARE(driver.seen[1].title, QStringLiteral("Confirm"));
        QCOMPARE(driver.seen[1].defaultButton, QStringLiteral("&Yes"));

        // Declined, the program ends; a file that is not there says so first.
        driver.seen.clear();
        driver.keys = {Qt::Key_Return, Qt::Key_Escape};
        choice = chooseQuestions(env->dir.file("missing.txt"));
        QVERIFY(!choice.play);
        QCOMPARE(driver.seen.front().text.section(QLatin1Char('\n'), 0, 0),
                 QStringLiteral("File not found."));

        // A playable file is played as it is, without a box.
        driver.seen.clear();
        writeFileImage(broken, exampleFile());
        choice = chooseQuestions(broken);
        QVERIFY(choice.play && choice.questions && choice.questions->questions == exampleFile());
        QVERIFY(driver.seen.empty());
    }

    void charactersThatDoNotShowAreThoseUnicodeCallsControlFormatOrSeparator()
    {
        for (char32_t c = 0; c <= 0x10FFFF; ++c) {
            const QChar::Category category = QChar::category(c);
            const bool hidden =
                category == QChar::Other_Control || category == QChar::Other_Format ||
                category == QChar::Separator_Line || category == QChar::Separator_Paragraph;
            // Characters this Qt does not know yet may be hidden ones of a newer Unicode.
            if (hidden != isHiddenCharacter(c) && category != QChar::Other_NotAssigned)
                QFAIL(qPrintable(QString::number(c, 16)));
        }
    }

    void charactersNoFontOfTheWindowHasAreFound()
    {
        const WindowTextFit fit;
        const std::pair<const char*, char32_t> cases[] = {
            {"Đorđe Čolić, Ђурђевдан, „Na Drini ćuprija“ — 1914…", 0},
            {"e\u0301\u00A0\u2009«»", 0},
            {"a\u0378b", 0x378},        // no character at all
            {"x\U0010FFFDy", 0x10FFFD}, // for private use, in no font here
        };
        for (const auto& [text, expected] : cases)
            QCOMPARE(fit.undrawable(text), expected);
    }

    void quickMeasureAgreesWithLayingTextsOutInTheControls()
    {
        const WindowTextFit fit;
        // Words of every width the bound knows, and some it leaves to the layout, in random texts
        // around the limits of the question box and the answer buttons.
        const char* const words[] = {"Koja",
                                     "protiče",
                                     "„Na",
                                     "ćuprija“",
                                     "(1914)",
                                     "WWWWW",
                                     "iiii",
                                     "Ђурђевдан",
                                     "Жижа,",
                                     "—",
                                     "…",
                                     "ЉЊЏ",
                                     "đđđ",
                                     "Mokranjac:",
                                     "?",
                                     "AVAVA",
                                     "To",
                                     "fi",
                                     "W.W.",
                                     "e\u0301",
                                     "\u4e2d\u6587",
                                     "\xF0\x9F\x98\x80",
                                     "a\tb",
                                     "x"};
        std::mt19937 random(14);
        int fitting = 0;
        for (int n = 0; n < 3000; ++n) {
            std::string text;
            for (std::size_t k = 0, count = 1 + random() % 80; k < count; ++k)
                text += (k == 0         ? ""
                         : random() % 7 ? " "
                                        : "  ") +
                        std::string(words[random() % std::size(words)]);
            const QString shown = QString::fromUtf8(text.c_str());
            QCOMPARE(fit.questionFits(text), fit.questionFitsExactly(shown));
            const QString answer = shown.left(static_cast<int>(random() % 90));
            const std::string answerBytes = answer.toStdString();
            QCOMPARE(fit.answerFits(answerBytes),
                     fit.answerFitsExactly(QString::fromStdString(answerBytes)));
            fitting += fit.questionFitsExactly(shown);
        }
        QVERIFY(fitting > 600 && fitting < 2400); // both sides of the limit were tried
        QVERIFY(fit.questionFits("Četiri\nreda\nstaju\ncela"));
        QVERIFY(!fit.questionFits("Pet\nredova\nne\nstaje\ncelo"));
    }
};

QTEST_MAIN(QuestionFileWindowTest)
#include "questionfile_window_test.moc"
