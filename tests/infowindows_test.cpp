#include "forms/radiogroup.h"
#include "forms/rulestext.h"
#include "forms/tform1.h"
#include "forms/tform2.h"
#include "forms/tform3.h"
#include "forms/tform4.h"
#include "forms/tform5.h"
#include "game/files/topten.h"
#include "support/formfixture.h"
#include "support/modaldriver.h"

#include <QApplication>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <initializer_list>
#include <memory>

namespace {

struct Snapshot {
    QString question, number, iq;
    QStringList answers;
    bool operator==(const Snapshot&) const = default;
};

Snapshot snapshot(const TForm1& form)
{
    Snapshot s{form.Memo1->toPlainText(), form.Label1->text(), form.Label3->text(), {}};
    for (int i = 0; i < form.RadioGroup1->count(); ++i)
        s.answers << form.RadioGroup1->item(i);
    return s;
}

} // namespace

class InfoWindowsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<FormEnvironment> env;

private slots:
    void init() { env = std::make_unique<FormEnvironment>(); }
    void cleanup() { env.reset(); }

    void rulesTextReadsLineByLine()
    {
        TForm4 rules;
        rules.show(); // the text is laid out at the first showing
        const QStringList lines = rules.Memo1->toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 27);
        for (int i = 0; i < 27; ++i)
            QCOMPARE(lines[i], QString::fromLatin1(kRulesLines[static_cast<std::size_t>(i)]));
        QVERIFY(lines[19].endsWith(QLatin1String("tacno ")));
        QVERIFY(lines[22].endsWith(QLatin1String("koristite ")));
        QVERIFY(lines[24].endsWith(QLatin1String("dok na ")));
        QCOMPARE(rules.windowTitle(), QStringLiteral("Pravila kviza"));
        QCOMPARE(rules.size(), QSize(393, 402));
        QVERIFY(!rules.Memo1->isReadOnly());
    }

    void bothWindowsAreModalAndReturnTheGameUnchanged()
    {
        const auto window = env->mainWindow();
        TForm1& form = *window;
        TForm4 rules(&form);
        TForm5 about(&form);
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.RadioGroup1->button(2)->click();
        const Snapshot before = snapshot(form);

        ModalDriver driver;
        bool modalWhileOpen = false;
        driver.windowActions = {
            [&](QWidget* w) {
                modalWhileOpen = w == &rules && rules.isModal();
                QTest::keyClicks(rules.Memo1, QStringLiteral("moja beleska "));
                QTest::mouseClick(rules.Button1, Qt::LeftButton);
            },
            [&](QWidget* w) { w->close(); }, // the close box
            [&](QWidget* w) {
                modalWhileOpen = modalWhileOpen && w == &about && about.isModal();
                w->close();
            },
        };
        form.HowToPlay1Click();
        form.HowToPlay1Click();
        form.About1Click();
        QCOMPARE(driver.windowsSeen, 3);
        QVERIFY(modalWhileOpen);
        QVERIFY(snapshot(form) == before);
        QCOMPARE(form.RadioGroup1->itemIndex(), 2);
        QVERIFY(rules.Memo1->toPlainText().startsWith(QLatin1String("moja beleska ")));
    }

    void windowsAreLeftByTheirOwnMeansNeverByEscape()
    {
        TopTen table;
        TForm2 top(table);
        TForm4 rules;
        TForm5 about;
        for (QDialog* window : std::initializer_list<QDialog*>{&top, &rules, &about}) {
            window->show();
            QVERIFY(QTest::qWaitForWindowActive(window));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            QVERIFY2(window->isVisible(), qPrintable(window->windowTitle()));
            window->close();
        }
    }

    void rulesTextStaysAsLeftAndTabLeadsToOk()
    {
        TForm4 rules;
        ModalDriver driver;
        QWidget* afterTab = nullptr;
        bool closedByEnter = false;
        QString textShownAgain = QStringLiteral("not shown");
        driver.windowActions = {
            [&](QWidget*) {
                QTest::keyClick(rules.Memo1, Qt::Key_A, Qt::ControlModifier);
                QTest::keyClick(rules.Memo1, Qt::Key_Delete);
                QTest::keyClick(rules.Memo1, Qt::Key_Tab);
                afterTab = QApplication::focusWidget();
                QTest::keyClick(afterTab, Qt::Key_Return);
                closedByEnter = !rules.isVisible();
                rules.close();
            },
            [&](QWidget*) {
                textShownAgain = rules.Memo1->toPlainText();
                rules.close();
            },
        };
        rules.exec();
        rules.exec();
        QCOMPARE(driver.windowsSeen, 2);
        QCOMPARE(afterTab, rules.Button1);
        QVERIFY(closedByEnter);
        QCOMPARE(textShownAgain, QString());
    }

    void everyWindowStandsWhollyOnItsScreen()
    {
        const auto main = env->mainWindow();
        TopTen table;
        TForm2 top(table);
        TForm3 name;
        TForm4 rules;
        TForm5 about;
        const std::pair<QWidget*, QPoint> designed[] = {
            {main.get(), {239, 124}}, {&top, {192, 107}},   {&name, {207, 225}},
            {&rules, {167, 105}},     {&about, {251, 151}},
        };
        for (const auto& [window, laidOut] : designed) {
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window));
            // A window manager's frame arrives a moment after the window.
            if (QGuiApplication::platformName() == QLatin1String("xcb"))
                QTRY_VERIFY(window->frameGeometry() != window->geometry());
            const QRect area = window->screen()->availableGeometry();
            QTRY_VERIFY2(area.contains(window->frameGeometry()), qPrintable(window->windowTitle()));
            // Where it fits it keeps its place; otherwise it moved only to the screen's edge.
            const QRect frame = window->frameGeometry();
            QVERIFY(frame.left() == laidOut.x() || frame.right() == area.right());
            QVERIFY(frame.top() == laidOut.y() || frame.bottom() == area.bottom());
            window->hide();
        }
    }

    void aboutShowsThePictureUnscaledAndItsEightLines()
    {
        TForm5 about;
        about.show(); // the picture is decoded at the first showing
        QCOMPARE(about.windowTitle(), QStringLiteral("Info"));
        QCOMPARE(about.Image1->pixmap().size(), QSize(198, 230));
        QCOMPARE(about.Image1->geometry(), QRect(9, 14, 198, 230));
        const QStringList lines = about.Memo1->toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 8);
        QCOMPARE(lines[0], QStringLiteral("Autor kviza: Trivkan"));
        QVERIFY(lines[1].startsWith(QLatin1String("Kontakt: ")));
        QVERIFY(lines[1].endsWith(QLatin1String("@example.org")));
        QCOMPARE(lines[2], QStringLiteral("Zvanicni sajt kviza: "));
        QVERIFY(lines[3].contains(QLatin1String("example.org")));
        QCOMPARE(lines[6], QStringLiteral("Verzija kviza: 1.1"));
        QCOMPARE(lines[7], QStringLiteral("Beograd 2003."));
    }
};

QTEST_MAIN(InfoWindowsTest)
#include "infowindows_test.moc"
