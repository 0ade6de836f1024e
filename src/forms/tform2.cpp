#include "tform2.h"

#include "dialogframe.h"

TForm2::TForm2(QWidget* parent) : QDialog(parent)
{
    setUpDialogFrame(*this, QStringLiteral("Highscores"), 192, 107, 412, 257);
}
