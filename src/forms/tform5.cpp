#include "tform5.h"

#include "dialogframe.h"

TForm5::TForm5(QWidget* parent) : QDialog(parent)
{
    setUpDialogFrame(*this, QStringLiteral("Info"), 251, 151, 563, 256);
}
