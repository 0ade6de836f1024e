#include "tform3.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

TForm3::TForm3(QWidget* parent)
    : DialogFrame(QStringLiteral("Cestitamo!!!"), 207, 225, 317, 32, parent)
{
    Edit1 = new QLineEdit(this);
    Edit1->setGeometry(1, 5, 273, 21);
    Edit1->installEventFilter(this);

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setGeometry(281, 5, 33, 20);
    connect(Button1, &QPushButton::clicked, this, &TForm3::Button1Click);
}

void TForm3::showEvent(QShowEvent* event)
{
    DialogFrame::showEvent(event);
    FormShow();
}

void TForm3::FormShow()
{
    Edit1->setText(QStringLiteral("Upisi svoje ime !!!"));
    Edit1->selectAll();
    Edit1->setFocus(Qt::OtherFocusReason);
}

void TForm3::Button1Click()
{
    takeName();
    close();
}

bool TForm3::Edit1KeyDown(int key)
{
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    Button1Click();
    return true;
}

void TForm3::FormClose()
{
    takeName();
}

void TForm3::takeName()
{
    // As typed, in UTF-8: the Top 10 turns the line breaks a paste brought in into spaces and
    // cleans out other control characters when the name is entered.
    m_playerName = Edit1->text().toStdString();
}

void TForm3::done(int result)
{
    // Every way of closing a dialog ends here.
    FormClose();
    DialogFrame::done(result);
}

bool TForm3::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Edit1 && event->type() == QEvent::KeyPress &&
        Edit1KeyDown(static_cast<QKeyEvent*>(event)->key()))
        return true;
    return DialogFrame::eventFilter(watched, event);
}
