#include "application.h"

#include "boxes.h"
#include "forms.h"
#include "platform/datadir.h"
#include "platform/qtresources.h"
#include "platform/systemclock.h"
#include "tform1.h"
#include "tform2.h"
#include "tform3.h"
#include "tform4.h"
#include "tform5.h"

#include <QApplication>
#include <QIcon>
#include <memory>

TForm1* Form1 = nullptr;
TForm2* Form2 = nullptr;
TForm3* Form3 = nullptr;
TForm4* Form4 = nullptr;
TForm5* Form5 = nullptr;

int runKvizomir(int argc, char** argv)
{
    QApplication application(argc, argv);
    // The name only; a display name would be appended to every window title.
    QApplication::setApplicationName(QString::fromLatin1(kApplicationTitle));
    QIcon icon;
    icon.addFile(QStringLiteral(":/icon/mudracq-32.png"), QSize(32, 32));
    icon.addFile(QStringLiteral(":/icon/mudracq-256.png"), QSize(256, 256));
    QApplication::setWindowIcon(icon);

    const QtResourceProvider resources;
    const SystemClock clock;
    auto form1 = std::make_unique<TForm1>(resources, clock, dataDirectory());
    auto form2 = std::make_unique<TForm2>(form1->topTen(), form1.get());
    Form2 = form2.get();
    auto form3 = std::make_unique<TForm3>(form1.get());
    Form3 = form3.get();
    auto form4 = std::make_unique<TForm4>(form1.get());
    Form4 = form4.get();
    auto form5 = std::make_unique<TForm5>(form1.get());
    Form5 = form5.get();

    form1->show();
    const int exitCode = QApplication::exec();
    Form5 = nullptr;
    Form4 = nullptr;
    Form3 = nullptr;
    Form2 = nullptr;
    return exitCode;
}
