// The game's start-up, stopped at the first paint of the question.
#include "app/kvizomir.h"
#include "forms/tform1.h"
#include "paintclock.h"

#include <QApplication>
#include <QPlainTextEdit>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    setUpApplication();
    Kvizomir program;
    FirstPaintClock clock(program.mainWindow().Memo1->viewport());
    program.mainWindow().show();
    return QApplication::exec();
}
