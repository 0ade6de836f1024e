#include "dialogframe.h"

#include "fonts.h"

#include <QDialog>

void setUpDialogFrame(QDialog& dialog, const QString& caption, int left, int top, int width,
                      int height)
{
    dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint);
    dialog.setWindowTitle(caption);
    dialog.setFont(msSansSerifFont(11));
    dialog.setFixedSize(width, height);
    dialog.move(left, top);
    dialog.setModal(true);
}
