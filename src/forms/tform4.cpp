#include "tform4.h"

#include "dialogframe.h"

TForm4::TForm4(QWidget* parent) : QDialog(parent)
{
    setUpDialogFrame(*this, QStringLiteral("Pravila kviza"), 167, 105, 393, 402);
}
