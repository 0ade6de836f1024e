#include "kvizomir.h"

#include "app/commandline.h"
#include "app/questioncheck.h"
#include "forms/boxes.h"
#include "forms/tform1.h"
#include "forms/tform2.h"
#include "forms/tform3.h"
#include "forms/tform4.h"
#include "forms/tform5.h"
#include "platform/datadir.h"
#include "platform/display.h"
#include "platform/mediaplayer.h"
#include "platform/qtresources.h"
#include "platform/systemclock.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>
#include <cstdio>

Kvizomir::Kvizomir(const PlayedFile* questions)
    : m_resources(std::make_unique<QtResourceProvider>()), m_clock(std::make_unique<SystemClock>())
{
    m_form1 = std::make_unique<TForm1>(*m_resources, *m_clock, dataDirectory());
    if (questions)
        m_form1->playQuestionFile(*questions);
    // The dialogs belong to the main window, their parent, which they stand over; the window
    // reaches each through its pointer in forms.h.
    new TForm2(m_form1->topTen(), m_form1.get());
    new TForm3(m_form1.get());
    new TForm4(m_form1.get());
    new TForm5(m_form1.get());
}

Kvizomir::~Kvizomir() = default;

void setUpApplication()
{
    // The name only; a display name would be appended to every window title.
    QApplication::setApplicationName(QString::fromLatin1(kApplicationTitle));
    // The window carries the small icon; desktops show the installed large ones through the
    // desktop entry.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icon/mudracq-32.png")));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.mudracq"));
}

int runKvizomir(int argc, char** argv)
{
    const CommandLine command = readCommandLine(argc, argv);
    if (command.action != CommandLine::Action::Play)
        return runWithoutWindow(command, argc, argv);
    if (const auto problem = displayProblem(command.platform, command.display)) {
        std::fprintf(stderr, "mudracq: %s\n", problem->c_str());
        return 1;
    }
    QApplication application(argc, argv);
    setUpApplication();
    QuestionChoice questions;
    if (!command.questionFile.empty() && !command.plainArgument)
        questions = chooseQuestions(command.questionFile);
    if (!questions.play)
        return 1;
    Kvizomir program(questions.questions ? &*questions.questions : nullptr);
    program.mainWindow().show();
    // A file from a file manager is opened as one chosen in the game, over its window.
    if (command.plainArgument)
        program.mainWindow().openQuestionFile(command.questionFile);
    // Once the window is up, the synthesizer library loads in the background; the SoundFont
    // waits for a tune to be chosen.
    QTimer::singleShot(0, program.mainWindow().MediaPlayer1,
                       [&program] { program.mainWindow().MediaPlayer1->preload(); });
    return QApplication::exec();
}
