#pragma once

#include "game/questionbank.h"
#include "game/resourceprovider.h"

#include <cstddef>
#include <string>
#include <vector>

// A question file a player brings has the bank's format in UTF-8 and must be playable as it
// stands: five groups of at least four questions, each question in quotes with exactly one right
// answer among four that look different, and every text shown whole in the window.

// Whether the window shows a text whole: a question in the question box, an answer beside its
// radio button. Texts are UTF-8.
class TextFit {
public:
    virtual ~TextFit() = default;
    virtual bool questionFits(const std::string& text) const = 0;
    virtual bool answerFits(const std::string& text) const = 0;
    // The first character of the text that no font of the window draws, 0 when all are drawn.
    virtual char32_t undrawable(const std::string& /*text*/) const { return 0; }
};

struct BankProblem {
    int line;
    std::string what;
};

// One group header met, with the questions the game would read into it.
struct GroupSummary {
    int line;
    std::string name; // the header without its "@" and the signs that frame the name
    int count;
};

struct QuestionFileReport {
    QuestionBank groups;
    std::vector<BankProblem> problems; // in the order of their lines
    std::vector<GroupSummary> summary; // every header, a sixth and later ones included
    bool playable() const { return problems.empty(); }
};

// No question file is larger: five full groups of questions that fit the window take far less.
inline constexpr std::size_t kMaxQuestionFileBytes = 8u << 20;

// The bytes of the question file at path; raises the input/output error of a missing or
// unreadable file, "Not a regular file", and "The file is larger than 8 MB" without reading it.
std::string readQuestionFileBytes(const std::string& path);

// Reads a question file's text as the game reads the bank and lists every problem with its
// line. Reading stops at a line that is not text (a control character, or more than 1024
// bytes); fit, when given, measures the texts.
QuestionFileReport checkQuestionText(const std::string& text, const TextFit* fit);

// The count and the noun, in the plural unless the count is one: "1 group", "3 questions".
std::string counted(std::size_t count, const std::string& noun);

// "Question file line <n>: <what>", the first problem as the error box shows it.
std::string problemMessage(const BankProblem& problem);

// The built-in resources, with a player's question text in place of the bank.
class QuestionFileResources : public ResourceProvider {
public:
    QuestionFileResources(const ResourceProvider& builtIn, std::string questions)
        : m_builtIn(builtIn), m_questions(std::move(questions))
    {
    }
    std::optional<std::string> find(const std::string& name) const override;

private:
    const ResourceProvider& m_builtIn;
    std::string m_questions;
};
