#include "dialogframe.h"

#include "forms/fonts.h"
#include "forms/placement.h"

#include <QKeyEvent>

DialogFrame::DialogFrame(const QString& caption, int left, int top, int width, int height,
                         QWidget* parent)
    : QDialog(parent)
{
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(caption);
    setFont(msSansSerifFont(11));
    setFixedSize(width, height);
    placeAtDesignedPosition(*this, QPoint(left, top));
    setModal(true);
}

void DialogFrame::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
