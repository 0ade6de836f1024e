#include "memo.h"

#include <QPlainTextEdit>

QPlainTextEdit* createMemo(QWidget* parent, const QRect& geometry, const QFont& font, bool wrap,
                           const QColor& text, const QColor& background)
{
    auto* memo = new QPlainTextEdit(parent);
    memo->setGeometry(geometry);
    memo->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo->setFont(font);
    // Tab moves on to the next control, as in every memo of the program; it never types a tab.
    memo->setTabChangesFocus(true);
    QPalette colours = memo->palette();
    if (text.isValid())
        colours.setColor(QPalette::Text, text);
    if (background.isValid())
        colours.setColor(QPalette::Base, background);
    memo->setPalette(colours);
    return memo;
}
