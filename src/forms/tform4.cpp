#include "tform4.h"

#include "forms/fonts.h"
#include "forms/memo.h"
#include "forms/rulestext.h"

#include <QPlainTextEdit>
#include <QPushButton>

TForm4::TForm4(QWidget* parent)
    : DialogFrame(QStringLiteral("Pravila kviza"), 167, 105, 393, 402, parent)
{
    // Light grey on black: the scroll-bar and tooltip-text colours of the classic scheme.
    Memo1 = createMemo(this, QRect(0, 0, 393, 369), narrowSansFont(11), true, QColor(200, 200, 200),
                       Qt::black);

    Button1 = new QPushButton(QStringLiteral("Ok"), this);
    Button1->setGeometry(160, 373, 75, 25);
    connect(Button1, &QPushButton::clicked, this, &TForm4::Button1Click);
}

void TForm4::showEvent(QShowEvent* event)
{
    // The text is laid out when the window is first shown, not at start-up; after that it stays
    // as the player left it, emptied included.
    if (!m_filled) {
        m_filled = true;
        QStringList lines;
        for (const char* line : kRulesLines)
            lines << QString::fromLatin1(line);
        Memo1->setPlainText(lines.join(QLatin1Char('\n')));
    }
    DialogFrame::showEvent(event);
}

void TForm4::Button1Click()
{
    close();
}
