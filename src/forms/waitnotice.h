#pragma once

#include <QPointer>

class QProgressDialog;
class QString;
class QWidget;

// A notice that needs no answer, standing over the window while the game waits for something
// outside it (a file another program keeps locked). Each show() also draws the windows anew;
// what the player types meanwhile waits until the game goes on.
class WaitNotice {
public:
    ~WaitNotice();

    void show(QWidget* over, const QString& text);
    void hide();

private:
    QPointer<QProgressDialog> m_dialog;
};
