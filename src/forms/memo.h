#pragma once

#include <QColor>

class QFont;
class QPlainTextEdit;
class QRect;
class QWidget;

// A memo as the windows lay them out: a multi-line text box without scroll bars at a fixed place,
// wrapping at the box's width or not at all; Tab leaves it. An invalid colour keeps the style's
// own.
QPlainTextEdit* createMemo(QWidget* parent, const QRect& geometry, const QFont& font, bool wrap,
                           const QColor& text = {}, const QColor& background = {});
