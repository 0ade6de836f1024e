#include "application.h"

#include "boxes.h"
#include "forms.h"
#include "platform/datadir.h"
#include "platform/mediaplayer.h"
#include "platform/qtresources.h"
#include "platform/systemclock.h"
#include "tform1.h"
#include "tform2.h"
#include "tform3.h"
#include "tform4.h"
#include "tform5.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

TForm1* Form1 = nullptr;
TForm2* Form2 = nullptr;
TForm3* Form3 = nullptr;
TForm4* Form4 = nullptr;
TForm5* Form5 = nullptr;

Kvizomir::Kvizomir()
    : m_resources(std::make_unique<QtResourceProvider>()), m_clock(std::make_unique<SystemClock>())
{
    m_form1 = std::make_unique<TForm1>(*m_resources, *m_clock, dataDirectory());
    m_form2 = std::make_unique<TForm2>(m_form1->topTen(), m_form1.get());
    Form2 = m_form2.get();
    m_form3 = std::make_unique<TForm3>(m_form1.get());
    Form3 = m_form3.get();
    m_form4 = std::make_unique<TForm4>(m_form1.get());
    Form4 = m_form4.get();
    m_form5 = std::make_unique<TForm5>(m_form1.get());
    Form5 = m_form5.get();
}

Kvizomir::~Kvizomir()
{
    // The dialogs go before the main window that parents them.
    Form5 = nullptr;
    Form4 = nullptr;
    Form3 = nullptr;
    Form2 = nullptr;
    m_form5.reset();
    m_form4.reset();
    m_form3.reset();
    m_form2.reset();
}

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
    QApplication application(argc, argv);
    setUpApplication();
    Kvizomir program;
    program.mainWindow().show();
    // Once the window is up, the synthesizer library loads in the background; the SoundFont
    // waits for a tune to be chosen.
    QTimer::singleShot(0, program.mainWindow().MediaPlayer1,
                       [&program] { program.mainWindow().MediaPlayer1->preload(); });
    return QApplication::exec();
}
