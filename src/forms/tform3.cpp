#include "tform3.h"

#include "dialogframe.h"

TForm3::TForm3(QWidget* parent) : QDialog(parent)
{
    setUpDialogFrame(*this, QStringLiteral("Cestitamo!!!"), 207, 225, 317, 32);
}
