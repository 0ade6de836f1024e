#include "tform4.h"

#include "dialogframe.h"
#include "fonts.h"
#include "rulestext.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>

TForm4::TForm4(QWidget* parent) : QDialog(parent)
{
    setUpDialogFrame(*this, QStringLiteral("Pravila kviza"), 167, 105, 393, 402);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setGeometry(0, 0, 393, 369);
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setFont(narrowSansFont(11));
    // Light grey on black: the scroll-bar and tooltip-text colours of the classic scheme.
    QPalette colours = Memo1->palette();
    colours.setColor(QPalette::Base, Qt::black);
    colours.setColor(QPalette::Text, QColor(200, 200, 200));
    Memo1->setPalette(colours);

    Button1 = new QPushButton(QStringLiteral("Ok"), this);
    Button1->setGeometry(160, 373, 75, 25);
    connect(Button1, &QPushButton::clicked, this, &TForm4::Button1Click);
}

void TForm4::showEvent(QShowEvent* event)
{
    // The text is laid out when the window is first shown, not at start-up; after that it stays
    // as the player left it.
    if (Memo1->document()->isEmpty()) {
        QStringList lines;
        for (const char* line : kRulesLines)
            lines << QString::fromLatin1(line);
        Memo1->setPlainText(lines.join(QLatin1Char('\n')));
    }
    QDialog::showEvent(event);
}

void TForm4::Button1Click()
{
    close();
}
