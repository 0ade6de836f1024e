#pragma once

#include "game/questionfile.h"

#include <QFontMetricsF>
#include <memory>
#include <unordered_map>
#include <vector>

class QPlainTextEdit;
class QString;
class QWidget;
class RadioGroup;

// Measures texts in a question box and an answer group laid out like the main window's, with
// its fonts, never shown on screen. Needs a QApplication, on any platform.
class WindowTextFit : public TextFit {
public:
    WindowTextFit();
    ~WindowTextFit() override;

    // Every line of the wrapped question, a line spacing high, fits the box's height, so nothing
    // needs scrolling.
    bool questionFits(const std::string& text) const override;
    // The answer's radio button is as wide as the button needs for the whole text.
    bool answerFits(const std::string& text) const override;
    // The first character the question box or the answer buttons would draw as a missing glyph,
    // every font Qt falls back on tried; hidden characters are left to the caller.
    char32_t undrawable(const std::string& text) const override;

    // The same answers from laying the text out in the controls themselves, every time.
    bool questionFitsExactly(const QString& text) const;
    bool answerFitsExactly(const QString& text) const;

private:
    // Most texts are far from the limits: a bound on their width, from the advances of single
    // letters, says so without laying them out. Only texts near a limit, and texts with
    // characters the bound does not cover, are laid out.
    struct Advances {
        explicit Advances(const QFont& font);
        // An upper bound of the character's advance; negative when it is not covered.
        qreal of(char32_t c) const;
        // Whether the font, or one Qt falls back on, has a glyph for the character.
        bool draws(char32_t c) const;
        QFont font;
        QFontMetricsF metrics;
        mutable std::vector<qreal> known;
        mutable std::unordered_map<char32_t, bool> drawn;
    };
    bool questionSurelyFits(const std::string& text) const;
    bool answerSurelyFits(const std::string& text) const;

    std::unique_ptr<QWidget> m_client;
    QPlainTextEdit* m_memo;
    RadioGroup* m_answers;
    std::unique_ptr<Advances> m_questionAdvances;
    std::unique_ptr<Advances> m_answerAdvances;
    qreal m_lineRoom = 0;   // width a question line may take
    int m_maxLines = 0;     // lines the question box shows
    qreal m_answerRoom = 0; // width an answer's text may take beside its radio button
};
