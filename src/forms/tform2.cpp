#include "tform2.h"

#include "forms/fonts.h"
#include "forms/memo.h"
#include "game/files/topten.h"

#include <QPlainTextEdit>
#include <QTextCursor>

std::string topTenLine(int k, const std::string& name, int score)
{
    return std::to_string(k) + ": (IQ " + std::to_string(score) + ")      " + name;
}

TForm2::TForm2(const TopTen& table, QWidget* parent)
    : DialogFrame(QStringLiteral("Highscores"), 192, 107, 412, 257, parent), m_table(table)
{
    Memo1 =
        createMemo(this, QRect(1, 2, 410, 253), arialBlackFont(17), false, QColor(192, 192, 192));
    Memo1->setReadOnly(true);
    // The lines are built at every showing, so none are laid out before the first.
}

void TForm2::showEvent(QShowEvent* event)
{
    FormShow();
    DialogFrame::showEvent(event);
}

void TForm2::FormShow()
{
    Memo1->clear();
    for (int k = 1; k <= kTopTenRows; ++k) {
        const Trezultat& row = m_table.topTen[static_cast<std::size_t>(k - 1)];
        Memo1->appendPlainText(QString::fromStdString(topTenLine(k, row.name, row.score)));
    }
    // The caret, where a screen reader starts reading, stands on row 1.
    Memo1->moveCursor(QTextCursor::Start);
}
