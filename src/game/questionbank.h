#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class ResourceProvider;
class TextFile;

constexpr int kGroupCount = 5;
constexpr int kMaxQuestionsPerGroup = 1000;
constexpr int kAnswerCount = 4;

// One question: its text, four answers in the order of the bank, and the number (1 to 4) of the
// correct one, 0 when none was marked.
struct Tpitanje {
    std::string text;
    std::array<std::string, kAnswerCount> answers;
    std::uint8_t correct = 0;
};

// One difficulty group; questions 1 to count are held in questions[0 .. count-1].
struct Tgrupa {
    std::uint16_t count = 0;
    std::vector<Tpitanje> questions;
};

// The five groups, group 1 (easiest) in groups[0].
using QuestionBank = std::array<Tgrupa, kGroupCount>;

// The bank resource.
inline constexpr const char* kQuestionBankResource = "r_pitanja";

// What a reading meets on its way through a bank text, each with the number of its line.
class BankListener {
public:
    virtual ~BankListener() = default;
    // A line outside the format. Returning carries the reading on past it: the question is
    // dropped, and so are the questions of a group beyond the fifth or beyond its thousandth.
    virtual void rejected(int line, const std::string& why) = 0;
    // Every line read, answer lines included, before it is classified.
    virtual void lineRead(int /*line*/, const std::string& /*text*/) {}
    // A group header; group counts from 1 and goes past five when the text holds more headers.
    virtual void groupStarted(int /*group*/, int /*line*/, const std::string& /*header*/) {}
    // A question stored in a group, with the line of its question line (its answers follow on
    // the four next lines) and how many of its answer lines carried the mark.
    virtual void questionRead(int /*group*/, int /*line*/, const Tpitanje& /*question*/,
                              int /*marks*/)
    {
    }
};

// Reads an open text file into the groups, line by line. Input outside the format (a sixth
// header, a thousand-and-first question in a group, a question before the first header, an empty
// answer line, a text that ends among a question's answers) raises an error naming the line;
// what was read before it stays in the groups. A byte order mark at the start of a line is
// skipped.
void readQuestionFile(TextFile& file, QuestionBank& groups);
// The same reading, telling the listener what it meets; the listener decides whether a line
// outside the format ends it.
void readQuestionFile(TextFile& file, QuestionBank& groups, BankListener& listener);

// Reads the bank resource into the groups, line by line as from a file, without writing any file.
void LoadQuestionBank(const ResourceProvider& resources, QuestionBank& groups);
