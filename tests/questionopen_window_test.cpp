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
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// What the window shows and tells a screen reader: the question, labels, answers, its name.
QStringList shown(TForm1& form)
{
    QStringList texts = {form.Memo1->toPlainText(), form.Label1->text(), form.Label3->text(),
                         form.Label2->isVisible() ? form.Label2->text() : QString(),
                         QAccessible::queryAccessibleInterface(&form)->text(QAccessible::Name)};
    for (int i = 0; i < form.RadioGroup1->count(); ++i)
        texts << form.RadioGroup1->item(i);
    return texts;
}

// A first question of the example with its right answer, and the file named to eye and ear.
bool playsTheExample(TForm1& form)
{
    const QStringList rightAnswers = {
        QString::fromUtf8("Koja reka protiče kroz Novi Sad?|Dunav"),
        QString::fromUtf8("Koliko nogu ima pčela?|šest"),
        QString::fromUtf8("Kako se zove glavni grad Češke?|Prag"),
        QString::fromUtf8("Која је највећа планета Сунчевог система?|Јупитер")};
    const QStringList texts = shown(form);
    return std::any_of(rightAnswers.begin(), rightAnswers.end(),
                       [&](const QString& pair) {
                           return pair.section(u'|', 0, 0) == texts[0] &&
                                  texts.mid(5).contains(pair.section(u'|', 1));
                       }) &&
           texts[3] == QStringLiteral("Datoteka: pitanja.txt") &&
           texts[4] == form.windowTitle() + QStringLiteral(", pitanja iz datoteke pitanja.txt");
}

} // namespace

class QuestionOpenWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<FormEnvironment> env;
    std::unique_ptr<TForm1> form;
    std::string example; // a copy of the example, in a folder of Serbian name

    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
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

    void fileTypedIntoTheDialogOrDroppedIsPlayedAndStaysWhenTheFileGoes()
    {
        ModalDriver driver;
        QStringList folders;
        const auto type = [&](const QString& text) {
            return [&folders, text](QWidget* dialog) {
                folders << qobject_cast<QFileDialog*>(dialog)->directory().absolutePath();
                auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                for (const QChar c : text) // letters beyond ASCII as a Serbian layout sends them
                    QTest::sendKeyEvent(QTest::Click, name, Qt::Key_unknown, QString(c), {});
                QTest::keyClick(name, text.isEmpty() ? Qt::Key_Escape : Qt::Key_Return);
            };
        };
        driver.windowActions = {type(QString::fromStdString(example)), type({})};
        press(Qt::Key_O, Qt::ControlModifier);
        QTRY_VERIFY(playsTheExample(*form));

        // Read when it was opened, the file may go: new games still ask its questions.
        std::filesystem::remove(example);
        press(Qt::Key_F2);
        QVERIFY(playsTheExample(*form));
        // The dialog opens at home, then where the last file was; cancelled, it changes nothing.
        const QStringList before = shown(*form);
        press(Qt::Key_O, Qt::ControlModifier);
        QTRY_VERIFY(folders.size() == 2 && !QApplication::activeModalWidget());
        QCOMPARE(folders, (QStringList{QString::fromStdString(env->dir.file("home")),
                                       QString::fromStdString(env->dir.file("home/Kvizovi čas"))}));
        QCOMPARE(shown(*form), before);

        form->UgradjenaPitanja1->trigger();
        QVERIFY(form->Memo1->toPlainText().startsWith(QLatin1String("G1 Q")));
        QCOMPARE(shown(*form)[3] + shown(*form)[4], form->windowTitle());

        // One local file dropped anywhere on the window, over the question box too, is played.
        writeFileImage(example, readBytes(MUDRACQ_SOURCE_DIR "/examples/pitanja.txt"));
        const QUrl file = QUrl::fromLocalFile(QString::fromStdString(example));
        QMimeData data;
        for (const QList<QUrl>& urls :
             {QList<QUrl>{file, file}, QList<QUrl>{QUrl(QStringLiteral("https://x.org/a.txt"))},
              QList<QUrl>{file}}) {
            data.setUrls(urls);
            QDragEnterEvent enter(QPoint(300, 50), Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(form.get(), &enter);
            QCOMPARE(enter.isAccepted(), urls.size() == 1 && urls[0] == file);
        }
        QDropEvent drop(QPointF(300, 50), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(form.get(), &drop);
        QTRY_VERIFY(playsTheExample(*form));
        QWidget* target = form->childAt(form->Memo1->mapTo(form.get(), QPoint(200, 30)));
        while (!target->acceptDrops())
            target = target->parentWidget();
        QCOMPARE(target, form.get());
        QVERIFY(driver.seen.empty());
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
        writeFileImage(path("unplayable"), unplayable.replace(unplayable.find("Dunav*"), 6, "D"));

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
            // An ordinary user may not read the secret file; root may, so drops to nobody for it.
            const bool asNobody = name == std::string("secret") && ::geteuid() == 0;
            QVERIFY(!asNobody || (::setegid(65534) == 0 && ::seteuid(65534) == 0));
            form->openQuestionFile(path(name));
            QVERIFY(!asNobody || (::seteuid(0) == 0 && ::setegid(0) == 0));
            QCOMPARE(driver.seen.back().icon, QMessageBox::Critical);
            QCOMPARE(driver.seen.back().text, QString::fromUtf8(says) + u'\n' +
                                                  QString::fromStdString(path(name)) +
                                                  QStringLiteral(" cannot be played."));
            QCOMPARE(shown(*form), before);
        }
        QCOMPARE(driver.seen.size(), std::size(cases));
        press(Qt::Key_F2); // the questions it had are played on
        QVERIFY(playsTheExample(*form));
    }
};

QTEST_MAIN(QuestionOpenWindowTest)
#include "questionopen_window_test.moc"
