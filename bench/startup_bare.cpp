// The floor for this toolkit: a bare main window of the game's size, stopped at its first paint.
#include "paintclock.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QMainWindow window;
    auto* client = new QWidget(&window);
    client->setFixedSize(630, 332);
    window.setCentralWidget(client);
    FirstPaintClock clock(client);
    window.show();
    return QApplication::exec();
}
