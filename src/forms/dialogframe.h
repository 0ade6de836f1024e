#pragma once

#include <QDialog>

class QKeyEvent;

// The frame of the four windows the main window opens modally: a caption with only a close box,
// a client area of fixed size, the button-face background, the designed screen position. Such a
// window is left by its close box, the system's close command or its own buttons, never by
// Escape.
class DialogFrame : public QDialog {
    Q_OBJECT

public:
    DialogFrame(const QString& caption, int left, int top, int width, int height,
                QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
