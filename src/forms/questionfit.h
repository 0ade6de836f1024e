#pragma once

#include "game/questionfile.h"

#include <QFontMetricsF>
#include <memory>
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
        QFontMetricsF metrics;
        mutable std::vector<qreal> known;
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
