#include "questionfit.h"

#include "forms/radiogroup.h"
#include "forms/tform1.h"
#include "game/utf8.h"

#include <QGlyphRun>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

namespace {

// The characters the bound covers: Latin, Greek and Cyrillic letters without combining marks,
// and the dashes, quotation marks and ellipsis of U+2010 to U+203A. Bytes that are not UTF-8
// are not covered: the bound then leaves the text to be laid out.
constexpr char32_t kLettersEnd = 0x530;
constexpr char32_t kPunctuationFirst = 0x2010, kPunctuationLast = 0x203A;
constexpr std::size_t kCovered = kLettersEnd + (kPunctuationLast - kPunctuationFirst + 1);

int coveredIndex(char32_t c)
{
    if (c >= 0x20 && c < kLettersEnd && !(c >= 0x300 && c < 0x370) && c != 0xAD)
        return static_cast<int>(c);
    if (c >= kPunctuationFirst && c <= kPunctuationLast)
        return static_cast<int>(kLettersEnd + (c - kPunctuationFirst));
    return -1;
}

bool isLetterOrDigit(char32_t c)
{
    return QChar::isLetterOrNumber(c);
}

// Whether the text layout may break a line at spaces between these two characters. Only the
// plainest case counts, so the bound never assumes a break the layout would not make: no break
// after an opening bracket or a quotation mark, none before anything but a letter or digit.
bool breaksBetween(char32_t before, char32_t after)
{
    static const std::u32string closing = U".,;:?!)]}%";
    return isLetterOrDigit(after) &&
           (isLetterOrDigit(before) || closing.find(before) != std::u32string::npos);
}

} // namespace

WindowTextFit::Advances::Advances(const QFont& face)
    : font(face), metrics(face), known(kCovered, -1.0)
{
}

bool WindowTextFit::Advances::draws(char32_t c) const
{
    if (c < 0x7F)
        return true;
    const auto [found, fresh] = drawn.try_emplace(c, true);
    if (fresh && !metrics.inFontUcs4(c)) {
        // Laid out, the character takes a glyph from the first font that has one; glyph 0,
        // the empty box, when none has.
        QTextLayout layout(QString::fromUcs4(&c, 1), font);
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        for (const QGlyphRun& run : layout.glyphRuns())
            if (run.glyphIndexes().contains(0))
                found->second = false;
    }
    return found->second;
}

qreal WindowTextFit::Advances::of(char32_t c) const
{
    const int index = coveredIndex(c);
    if (index < 0)
        return -1.0;
    qreal& advance = known[static_cast<std::size_t>(index)];
    if (advance < 0) {
        // Kerning and rounding may widen a pair a little beyond the letters' own advances.
        advance = metrics.horizontalAdvance(QChar(static_cast<char16_t>(c))) * 1.1 + 0.5;
    }
    return advance;
}

WindowTextFit::WindowTextFit() : m_client(std::make_unique<QWidget>())
{
    m_memo = TForm1::createQuestionMemo(m_client.get());
    m_answers = TForm1::createAnswerGroup(m_client.get());
    for (int k = 0; k < kAnswerCount; ++k)
        m_answers->insertItem(k, QString());
    // Laid out as on screen, without ever reaching it.
    m_client->setAttribute(Qt::WA_DontShowOnScreen);
    m_client->show();

    m_questionAdvances = std::make_unique<Advances>(m_memo->font());
    m_lineRoom = m_memo->viewport()->width() - 2 * m_memo->document()->documentMargin() - 1;
    QString lines = QStringLiteral("x");
    while (m_maxLines < 50 && questionFitsExactly(lines)) {
        ++m_maxLines;
        lines += QStringLiteral("\nx");
    }
    const QRadioButton* button = m_answers->button(0);
    m_answerAdvances = std::make_unique<Advances>(button->font());
    m_answers->replaceItem(0, QStringLiteral("x"));
    const int besideText =
        button->sizeHint().width() -
        button->fontMetrics().size(Qt::TextShowMnemonic, QStringLiteral("x")).width();
    m_answerRoom = button->width() - besideText - 1;
}

WindowTextFit::~WindowTextFit() = default;

bool WindowTextFit::questionFits(const std::string& question) const
{
    return questionSurelyFits(question) || questionFitsExactly(QString::fromStdString(question));
}

bool WindowTextFit::answerFits(const std::string& answer) const
{
    return answerSurelyFits(answer) || answerFitsExactly(QString::fromStdString(answer));
}

char32_t WindowTextFit::undrawable(const std::string& text) const
{
    for (std::size_t i = 0; i < text.size();) {
        const char32_t c = nextCodePoint(text, i);
        if (c != kNotUtf8 && !isHiddenCharacter(c) &&
            !(m_questionAdvances->draws(c) && m_answerAdvances->draws(c)))
            return c;
    }
    return 0;
}

bool WindowTextFit::questionFitsExactly(const QString& question) const
{
    m_memo->setPlainText(question);
    QTextCursor end(m_memo->document());
    end.movePosition(QTextCursor::End);
    // Laying the text out to its end gives the bottom of its last line; the leading under
    // the last line may fall outside the box, its letters never do.
    const int textHeight = m_memo->cursorRect(end).bottom() + 1 -
                           static_cast<int>(m_memo->document()->documentMargin());
    return textHeight <= m_memo->viewport()->height();
}

bool WindowTextFit::answerFitsExactly(const QString& answer) const
{
    m_answers->replaceItem(0, answer);
    const QRadioButton* button = m_answers->button(0);
    return button->sizeHint().width() <= button->width();
}

bool WindowTextFit::answerSurelyFits(const std::string& answer) const
{
    qreal width = 0;
    for (std::size_t i = 0; i < answer.size();) {
        const qreal advance = m_answerAdvances->of(nextCodePoint(answer, i));
        if (advance < 0)
            return false;
        width += advance;
    }
    return width <= m_answerRoom;
}

bool WindowTextFit::questionSurelyFits(const std::string& question) const
{
    // Lines filled word by word, breaking only where the layout surely may: it breaks there or
    // later, so it never needs more lines than these.
    int lines = 1;
    qreal line = 0;     // the words placed on the current line
    qreal gap = 0;      // the spaces between them and the word being read
    qreal word = 0;     // the word being read
    qreal trailing = 0; // spaces after it
    char32_t previous = 0, beforeSpaces = 0;
    const auto placeWord = [&] {
        if (word > m_lineRoom)
            return false;
        if (line > 0 && line + gap + word > m_lineRoom) {
            ++lines;
            line = word;
        } else {
            line += gap + word;
        }
        return true;
    };
    for (std::size_t i = 0; i < question.size();) {
        const char32_t c = nextCodePoint(question, i);
        const qreal advance = m_questionAdvances->of(c);
        if (advance < 0)
            return false;
        if (c == ' ') {
            if (previous != ' ')
                beforeSpaces = previous;
            trailing += advance;
        } else if (previous == ' ' && breaksBetween(beforeSpaces, c)) {
            if (!placeWord())
                return false;
            gap = trailing;
            word = advance;
            trailing = 0;
        } else {
            word += trailing + advance; // spaces that allow no break belong to the word
            trailing = 0;
        }
        previous = c;
    }
    // Spaces at the end hang beyond the line.
    return placeWord() && lines <= m_maxLines;
}
