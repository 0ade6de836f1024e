// The floor for any window that shows text: the bare main window with one line in the default
// font, which is what brings fontconfig and a font engine into the process.
#include "paintclock.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QMainWindow window;
    auto* client = new QLabel(QStringLiteral("Pitanje 1"), &window);
    client->setFixedSize(630, 332);
    window.setCentralWidget(client);
    FirstPaintClock clock(client);
    window.show();
    return QApplication::exec();
}
