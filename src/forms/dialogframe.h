#pragma once

class QDialog;
class QString;

// Gives a dialog its fixed frame: a caption with only a close box, a client area of the given
// size that cannot be resized, the button-face background and its designed screen position.
void setUpDialogFrame(QDialog& dialog, const QString& caption, int left, int top, int width,
                      int height);
