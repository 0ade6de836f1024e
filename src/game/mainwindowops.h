#pragma once

#include <string>

// The three aids, each with its own button on the main window.
enum class Aid { Joker, Extra, Mini };

// Everything the game rules need of the main window. Answer positions are 0-based.
class MainWindowOps {
public:
    virtual ~MainWindowOps() = default;

    // Memo1: remove all text; add a line at the end.
    virtual void clearQuestion() = 0;
    virtual void appendQuestionLine(const std::string& text) = 0;

    // RadioGroup1: clearing leaves no answer selected. Changing the items keeps the selected
    // position number, clamped to the last item, and never counts as a click.
    virtual void clearAnswers() = 0;
    virtual void insertAnswer(int position, const std::string& text) = 0;
    virtual void replaceAnswer(int position, const std::string& text) = 0;
    virtual void deleteAnswer(int position) = 0;
    virtual std::string answerText(int position) const = 0;
    // The selected position, -1 when no answer is selected.
    virtual int selectedAnswer() const = 0;

    // Label1 ("Pitanje ...") and Label3 ("IQ: ...").
    virtual void setQuestionNumberCaption(const std::string& caption) = 0;
    virtual void setIqCaption(const std::string& caption) = 0;

    // A hidden aid button can be neither clicked nor focused.
    virtual void setAidVisible(Aid aid, bool visible) = 0;

    // Modal box captioned with the application title, no icon, one "OK" button.
    virtual void showMessage(const std::string& text) = 0;
    // Modal "Confirm" box with "&Yes" (default) and "&No"; true only for "&Yes".
    virtual bool confirm(const std::string& text) = 0;
    // The error box: the message, then the detail line when there is one.
    virtual void showError(const std::string& message, const std::string& detail) = 0;
    // A notice that needs no answer, saying what the game waits for; called again and again
    // while it waits, so the windows stay drawn meanwhile. An empty text takes the notice away.
    virtual void showWaiting(const std::string& text) = 0;
    // Shows the name-entry window modally; returns the text it held when it was closed, however
    // it was closed.
    virtual std::string askPlayerName() = 0;
};
