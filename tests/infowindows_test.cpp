#include "forms/radiogroup.h"
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
#include <QLineEdit>
#include <QMainWindow>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <initializer_list>
#include <memory>
#include <vector>

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

// Where a window or control stands and how it looks. A window's place is on the screen and its
// size its client area's; a label that sizes itself to its text has a place only. A font or
// colour left out is the style's; wrap is a memo's: 1 at its width, 0 never.
struct Look {
    QRect place{};
    std::string font{}; // family, character height, weight
    QColor text{}, background{};
    int wrap = -1;
    bool operator==(const Look&) const = default;
};

char* toString(const Look& look)
{
    const auto colour = [](const QColor& c) {
        return c.isValid() ? c.name() : QStringLiteral("-");
    };
    return qstrdup(
        QStringLiteral("%1,%2 %3x%4 | %5 | %6 on %7 | wrap %8")
            .arg(look.place.x())
            .arg(look.place.y())
            .arg(look.place.width())
            .arg(look.place.height())
            .arg(QString::fromStdString(look.font), colour(look.text), colour(look.background))
            .arg(look.wrap)
            .toUtf8()
            .constData());
}

std::string fontOf(const QWidget& widget)
{
    const QFont font = widget.font();
    const int weight = font.weight();
    const std::string named = weight == QFont::Black    ? "black"
                              : weight == QFont::Bold   ? "bold"
                              : weight == QFont::Normal ? "normal"
                                                        : std::to_string(weight);
    return font.family().toStdString() + " " + std::to_string(font.pixelSize()) + "px " + named;
}

// The widget's own look, in the parts the laid-out look gives.
Look lookOf(QWidget& widget, const Look& laidOut)
{
    auto* const main = qobject_cast<QMainWindow*>(&widget);
    QWidget& client = main ? *main->centralWidget() : widget;
    const auto* const memo = qobject_cast<QPlainTextEdit*>(&widget);
    Look look;
    if (widget.isWindow()) // its place on a screen of any size: everyWindowStandsWhollyOnItsScreen
        look.place = QRect(laidOut.place.topLeft(), client.size());
    else
        look.place = laidOut.place.isEmpty() ? QRect(widget.pos(), QSize(0, 0)) : widget.geometry();
    if (!laidOut.font.empty())
        look.font = fontOf(widget);
    const QPalette& colours = client.palette();
    if (laidOut.text.isValid())
        look.text = colours.color(memo ? QPalette::Text : QPalette::WindowText);
    if (laidOut.background.isValid() && (memo || client.autoFillBackground()))
        look.background = colours.color(memo ? QPalette::Base : QPalette::Window);
    if (laidOut.wrap >= 0 && memo)
        look.wrap = memo->lineWrapMode() == QPlainTextEdit::WidgetWidth ? 1 : 0;
    return look;
}

// The five windows and the look of each and of its controls, as laid out.
struct Windows {
    explicit Windows(const FormEnvironment& env) : main(env.mainWindow()) {}

    std::vector<std::pair<QWidget*, Look>> laidOut()
    {
        const std::string dialogFont = "Liberation Sans 11px normal";
        const std::string buttonFont = "Liberation Sans 13px bold";
        return {
            {main.get(), {{239, 124, 630, 332}, {}, {}, QColor(160, 160, 164)}},
            {main->Label3, {{20, 24, 0, 0}, "Comic Neue 27px bold"}},
            {main->Label1, {{15, 292, 0, 0}, "Lato 13px black"}},
            {main->Memo1, {{150, 8, 468, 69}, "Lato 13px black", {166, 202, 240}, Qt::black, 1}},
            {main->RadioGroup1, {{151, 89, 465, 163}, buttonFont}},
            {main->Odgovori, {{312, 271, 90, 43}, buttonFont}},
            {main->Joker, {{9, 103, 80, 47}, buttonFont}},
            {main->Button1, {{9, 168, 123, 32}, buttonFont}},
            {main->Button2, {{9, 216, 124, 32}, buttonFont}},
            {&top, {{192, 107, 412, 257}, dialogFont}},
            {top.Memo1, {{1, 2, 410, 253}, "Lato 17px black", {192, 192, 192}, {}, 0}},
            {&name, {{207, 225, 317, 32}, dialogFont}},
            {name.Edit1, {{1, 5, 273, 21}, dialogFont}},
            {name.Button1, {{281, 5, 33, 20}, dialogFont}},
            {&rules, {{167, 105, 393, 402}, dialogFont}},
            {rules.Memo1,
             {{0, 0, 393, 369},
              "Liberation Sans Narrow 11px normal",
              {200, 200, 200},
              Qt::black,
              1}},
            {rules.Button1, {{160, 373, 75, 25}, dialogFont}},
            {&about, {{251, 151, 563, 256}, dialogFont}},
            {about.Image1, {{9, 14, 198, 230}}},
            {about.Memo1,
             {{242, 14, 313, 230}, "Liberation Sans 19px bold", {}, {215, 228, 242}, 1}},
        };
    }

    std::unique_ptr<TForm1> main;
    TopTen table;
    TForm2 top{table};
    TForm3 name;
    TForm4 rules;
    TForm5 about;
};

} // namespace

class InfoWindowsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<FormEnvironment> env;

private slots:
    void init() { env = std::make_unique<FormEnvironment>(); }
    void cleanup() { env.reset(); }

    void everyWindowAndControlStandsAndLooksAsLaidOut()
    {
        Windows windows(*env);
        for (const auto& [widget, laidOut] : windows.laidOut())
            QCOMPARE(lookOf(*widget, laidOut), laidOut);
    }

    void rulesTextIsTheLaidOutText()
    {
        TForm4 rules;
        rules.show(); // the text is laid out at the first showing
        // Three of its lines end in a blank.
        const std::string laidOut = readBytes(MUDRACQ_SOURCE_DIR "/tests/data/rules.txt");
        QCOMPARE(rules.Memo1->toPlainText() + QLatin1Char('\n'), QString::fromStdString(laidOut));
        QCOMPARE(rules.windowTitle(), QStringLiteral("Pravila kviza"));
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
        Windows windows(*env);
        for (const auto& [window, look] : windows.laidOut()) {
            if (!window->isWindow())
                continue;
            const QPoint laidOut = look.place.topLeft();
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
