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

// Reads an open text file into the groups, line by line. Input outside the format (a sixth
// header, a thousand-and-first question in a group, a question before the first header, an empty
// answer line, a text that ends among a question's answers) raises an error naming the line;
// what was read before it stays in the groups.
void readQuestionFile(TextFile& file, QuestionBank& groups);

// Reads the bank resource into the groups, line by line as from a file, without writing any file.
void LoadQuestionBank(const ResourceProvider& resources, QuestionBank& groups);
