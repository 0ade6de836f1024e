#pragma once

#include "game/mainwindowops.h"

#include <algorithm>
#include <array>
#include <deque>
#include <functional>
#include <string>
#include <vector>

// A main window that records what the game shows and answers the confirmation boxes from a
// script. Its answer list keeps the selection as a position, clamped to the last item, like the
// real radio group.
class ScriptedWindow : public MainWindowOps {
public:
    std::vector<std::string> questionLines;
    std::vector<std::string> answers;
    int selected = -1;
    std::string questionNumberCaption;
    std::string iqCaption;
    std::array<bool, 3> aidVisible{true, true, true};
    std::vector<std::string> messages;
    std::vector<std::string> confirmations;
    std::deque<bool> confirmReplies; // empty: every confirmation is answered "&Yes"
    std::vector<std::string> iqAtMessages;
    std::deque<std::string> names; // typed into the name-entry window, in order
    std::vector<std::string> iqAtNameEntry;

    void clearQuestion() override { questionLines.clear(); }
    void appendQuestionLine(const std::string& text) override { questionLines.push_back(text); }
    void clearAnswers() override
    {
        answers.clear();
        selected = -1;
    }
    void insertAnswer(int position, const std::string& text) override
    {
        answers.insert(answers.begin() + position, text);
    }
    void replaceAnswer(int position, const std::string& text) override
    {
        answers.at(static_cast<std::size_t>(position)) = text;
    }
    void deleteAnswer(int position) override
    {
        answers.erase(answers.begin() + position);
        selected = std::min(selected, static_cast<int>(answers.size()) - 1);
    }
    std::string answerText(int position) const override
    {
        return answers.at(static_cast<std::size_t>(position));
    }
    int selectedAnswer() const override { return selected; }
    void setQuestionNumberCaption(const std::string& caption) override
    {
        questionNumberCaption = caption;
    }
    void setIqCaption(const std::string& caption) override { iqCaption = caption; }
    void setAidVisible(Aid aid, bool visible) override
    {
        aidVisible[static_cast<std::size_t>(aid)] = visible;
    }
    void showMessage(const std::string& text) override
    {
        messages.push_back(text);
        iqAtMessages.push_back(iqCaption);
    }
    bool confirm(const std::string& text) override
    {
        confirmations.push_back(text);
        if (confirmReplies.empty())
            return true;
        const bool reply = confirmReplies.front();
        confirmReplies.pop_front();
        return reply;
    }

    std::vector<std::string> errors; // message and detail, one line each
    void showError(const std::string& message, const std::string& detail) override
    {
        errors.push_back(message + "\n" + detail);
    }

    std::vector<std::string> waitingNotices; // each text shown, "" when the notice went
    std::function<void()> whileWaiting;      // runs at each showing of a notice
    void showWaiting(const std::string& text) override
    {
        if (waitingNotices.empty() || waitingNotices.back() != text)
            waitingNotices.push_back(text);
        if (!text.empty() && whileWaiting)
            whileWaiting();
    }

    std::string askPlayerName() override
    {
        iqAtNameEntry.push_back(iqCaption);
        if (names.empty())
            return "Upisi svoje ime !!!";
        std::string name = names.front();
        names.pop_front();
        return name;
    }

    bool visible(Aid aid) const { return aidVisible[static_cast<std::size_t>(aid)]; }
    void select(const std::string& answer)
    {
        selected =
            static_cast<int>(std::find(answers.begin(), answers.end(), answer) - answers.begin());
    }
};
