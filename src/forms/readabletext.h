#pragma once

#include <QPalette>

class QColor;
class QWidget;

// The contrast ratio of two colours, from 1 (the same) to 21 (black and white), as accessibility
// guidelines measure it: from their relative luminance.
double contrastRatio(const QColor& first, const QColor& second);

// Makes the widget's text (of the given palette role, and its children's) readable on the
// background the layout gives it: where the theme's colour stands below 4.5:1 against that
// background, the text is drawn black, the colour the layout assumes. The widget keeps the
// palette it has then, as every window of the program does.
void keepTextReadable(QWidget& widget, QPalette::ColorRole textRole, const QColor& background);
