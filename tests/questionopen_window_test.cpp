#include "forms/radiogroup.h"
#include "forms/tform1.h"
#include "game/files/fileimage.h"
#include "support/formfixture.h"
#include "support/modaldriver.h"

#include <QAccessible>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTest>
#include <QUrl>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The first group of the example, each question with its right answer.
const QStringList kFirstQuestions = {
    QString::fromUtf8("Koja reka protiče kroz Novi Sad?|Dunav"),
    QString::fromUtf8("Koliko nogu ima pčela?|šest"),
    QString::fromUtf8("Kako se zove glavni grad Češke?|Prag"),
    QString::fromUtf8("Која је највећа планета Сунчевог система?|Јупитер"),
};

// What the window shows and tells a screen reader, to compare before and after.
QStringList shown(TForm1& form)
{
    QStringList texts = {form.Memo1->toPlainText(), form.Label1->text(), form.Label3->text(),
                         form.Label2->isVisible() ? form.Label2->text() : QString(),
                         QAccessible::queryAccessibleInterface(&form)->text(QAccessible::Name)};
    for (int i = 0; i < form.RadioGroup1->count(); ++i)
        texts << form.RadioGroup1->item(i);
    return texts;
}

// The example's first question is shown with its right answer among the four, and the file named.
bool playsTheExample(TForm1& form, const QString& fileName)
{
    QStringList answers;
    for (int i = 0; i < form.RadioGroup1->count(); ++i)
        answers << form.RadioGroup1->item(i);
    const QString right = form.Memo1->toPlainText() + QLatin1Char('|');
    return std::any_of(kFirstQuestions.begin(), kFirstQuestions.end(),
                       [&](const QString& q) {
                           return q.startsWith(right) && answers.contains(q.mid(right.size()));
                       }) &&
           form.Label2->isVisible() &&
           form.Label2->text() == QStringLiteral("Datoteka: ") + fileName &&
           shown(form)[4].endsWith(QStringLiteral(", pitanja iz datoteke ") + fileName);
}

// Typed key by key, letters beyond ASCII as a Serbian keyboard layout sends them.
void type(QWidget* field, const QString& text)
{
    for (const QChar c : text)
        if (c.unicode() < 0x80)
            QTest::keyClick(field, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

} // namespace

class QuestionOpenWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<FormEnvironment> env;
    std::unique_ptr<TForm1> form;
    std::string example; // a copy of the example, in a folder of Serbian name

    void pressOnFocus(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }

private slots:
    void init()
    {
        env = std::make_unique<FormEnvironment>();
        std::filesystem::create_directories(env->dir.file("home/Kvizovi čas"));
        qputenv("HOME", env->dir.file("home").c_str());
        example = env->dir.file("home/Kvizovi čas/pitanja.txt");
        writeFileImage(example, readBytes(MUDRACQ_SOURCE_DIR "/examples/pitanja.txt"));
        form = env->mainWindow();
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }
    void cleanup()
    {
        form.reset();
        env.reset();
    }

    void fileTypedIntoTheFileDialogIsPlayedAndStaysWhenTheFileGoes()
    {
        QVERIFY(!form->Label2->isVisible());
        ModalDriver driver;
        QStringList folders;
        const auto answer = [&](const QString& keys) {
            return [&folders, keys](QWidget* dialog) {
                folders << qobject_cast<QFileDialog*>(dialog)->directory().absolutePath();
                auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                type(name, keys);
                QTest::keyClick(name, keys.isEmpty() ? Qt::Key_Escape : Qt::Key_Return);
            };
        };
        driver.windowActions = {answer(QString::fromStdString(example)), answer({})};
        pressOnFocus(Qt::Key_O, Qt::ControlModifier);
        QTRY_VERIFY(playsTheExample(*form, QStringLiteral("pitanja.txt")));

        // Read when it was opened, the file may go: new games still ask its questions.
        std::filesystem::remove(example);
        pressOnFocus(Qt::Key_F2);
        QVERIFY(playsTheExample(*form, QStringLiteral("pitanja.txt")));

        // The dialog opens at home, then where the last file was; cancelled, it changes nothing.
        const QStringList before = shown(*form);
        pressOnFocus(Qt::Key_O, Qt::ControlModifier);
        QTRY_COMPARE(folders.size(), 2);
        QTRY_VERIFY(!QApplication::activeModalWidget());
        QCOMPARE(folders, (QStringList{QString::fromStdString(env->dir.file("home")),
                                       QString::fromStdString(env->dir.file("home/Kvizovi čas"))}));
        QCOMPARE(shown(*form), before);
        QVERIFY(driver.seen.empty());

        form->UgradjenaPitanja1->trigger();
        QVERIFY(form->Memo1->toPlainText().startsWith(QLatin1String("G1 Q")));
        QVERIFY(!form->Label2->isVisible());
        QCOMPARE(shown(*form)[4], form->windowTitle());
    }

    void droppedFileIsPlayedAnywhereOnTheWindow()
    {
        QMimeData data;
        const auto drag = [&](const QList<QUrl>& urls) {
            data.setUrls(urls);
            QDragEnterEvent enter(QPoint(300, 100), Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(form.get(), &enter);
            return enter.isAccepted();
        };
        const QUrl file = QUrl::fromLocalFile(QString::fromStdString(example));
        QVERIFY(!drag({file, file}));
        QVERIFY(!drag({QUrl(QStringLiteral("https://example.org/pitanja.txt"))}));
        QVERIFY(drag({file}));
        QDropEvent drop(QPointF(300, 100), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(form.get(), &drop);
        QVERIFY(drop.isAccepted());
        QTRY_VERIFY(playsTheExample(*form, QStringLiteral("pitanja.txt")));

        // A drop over the question or the answers is the window's, as the desktop delivers it.
        for (const QWidget* control :
             {static_cast<QWidget*>(form->Memo1), static_cast<QWidget*>(form->RadioGroup1)}) {
            QWidget* target =
                form->childAt(control->geometry().center() + form->centralWidget()->pos());
            while (target && target != form.get() && !target->acceptDrops())
                target = target->parentWidget();
            QCOMPARE(target, form.get());
        }
    }

    void filesThatCannotBePlayedSayWhyAndTheGameGoesOn()
    {
        form->openQuestionFile(example);
        const QStringList before = shown(*form);
        const auto path = [&](const char* name) { return env->dir.file(name); };
        std::filesystem::create_directory(path("folder"));
        ::mkfifo(path("fifo").c_str(), 0644);
        writeFileImage(path("secret"), readBytes(example));
        ::chmod(path("secret").c_str(), 0);
        ::chmod(env->dir.path().c_str(), 0755);
        writeFileImage(path("binary"), std::string("\x7F"
                                                   "ELF\x02\x01\x01\0\0\0",
                                                   10));
        std::ofstream(path("huge")).close();
        std::filesystem::resize_file(path("huge"), 100u << 20);
        std::string unplayable = readBytes(example);
        unplayable.replace(unplayable.find("Dunav*"), 6, "Dunav");
        writeFileImage(path("unplayable"), unplayable);

        const std::pair<const char*, const char*> cases[] = {
            {"missing", "File not found."},
            {"folder", "Not a regular file."},
            {"fifo", "Not a regular file."},
            {"secret", "File access denied."},
            {"binary", "Question file line 1: not plain text: the line holds the byte 0x7F."},
            {"huge", "The file is larger than 8 MB."},
            {"unplayable", "Question file line 3: no answer ends with the * that marks the right "
                           "one."},
        };
        ModalDriver driver;
        for (const auto& [name, says] : cases) {
            // An ordinary user may not read the secret file (root may, so it drops to nobody).
            const bool asNobody = std::string(name) == "secret" && ::geteuid() == 0;
            if (asNobody)
                QVERIFY(::setegid(65534) == 0 && ::seteuid(65534) == 0);
            form->openQuestionFile(path(name));
            if (asNobody)
                QVERIFY(::seteuid(0) == 0 && ::setegid(0) == 0);
            QCOMPARE(driver.seen.back().icon, QMessageBox::Critical);
            QCOMPARE(driver.seen.back().text, QString::fromUtf8(says) + QLatin1Char('\n') +
                                                  QString::fromStdString(path(name)) +
                                                  QStringLiteral(" cannot be played."));
            QCOMPARE(shown(*form), before);
        }
        QCOMPARE(driver.seen.size(), std::size(cases));
        // The questions it had are played on.
        pressOnFocus(Qt::Key_F2);
        QVERIFY(playsTheExample(*form, QStringLiteral("pitanja.txt")));
    }
};

QTEST_MAIN(QuestionOpenWindowTest)
#include "questionopen_window_test.moc"
