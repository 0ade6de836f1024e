// Feeds arbitrary bytes to the question-bank loader through the real text-file reader, and to the
// check of a player's question file with its UTF-8 decoding. Every input must load or be
// rejected with an error; nothing may crash, leak or read out of range, and a file found
// playable must really be playable: well-formed UTF-8, five groups of four questions or more,
// one right answer each among four that look different.
#include "game/errors.h"
#include "game/files/textfile.h"
#include "game/questionbank.h"
#include "game/questionfile.h"
#include "game/utf8.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>

namespace {

// Measures by bytes, so the checks of long texts run too.
class ByteFit : public TextFit {
public:
    bool questionFits(const std::string& text) const override { return text.size() <= 200; }
    bool answerFits(const std::string& text) const override { return text.size() <= 60; }
};

// Decodes code point by code point and insists on the shortest form, no surrogates and nothing
// beyond U+10FFFF: the same rule as the loader's, reached another way.
bool decodes(const std::string& text)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80       ? 1
                           : lead >> 5 == 6  ? 2
                           : lead >> 4 == 14 ? 3
                           : lead >> 3 == 30 ? 4
                                             : 0;
        if (length == 0 || i + static_cast<std::size_t>(length) > text.size())
            return false;
        char32_t c = length == 1 ? lead : lead & (0x7Fu >> length);
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80)
                return false;
            c = (c << 6) | (next & 0x3Fu);
        }
        static const char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (c < smallest[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            return false;
        i += static_cast<std::size_t>(length);
    }
    return true;
}

void checkReport(const std::string& text)
{
    const ByteFit fit;
    const QuestionFileReport report = checkQuestionText(text, &fit);
    const int lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
    int previous = 1;
    for (const BankProblem& problem : report.problems) {
        if (problem.what.empty() || problem.line < previous || problem.line > lines + 1)
            std::abort();
        previous = problem.line;
    }
    if (!report.playable())
        return;
    if (report.summary.size() != kGroupCount)
        std::abort();
    for (const Tgrupa& group : report.groups) {
        if (group.count < 4 || group.count > kMaxQuestionsPerGroup)
            std::abort();
        for (const Tpitanje& question : group.questions) {
            if (question.correct < 1 || question.correct > kAnswerCount || question.text.empty() ||
                !decodes(question.text))
                std::abort();
            std::set<std::string> looks;
            for (const std::string& answer : question.answers)
                if (answer.empty() || !decodes(answer) || firstHiddenCharacter(answer) != 0 ||
                    !looks.insert(lookOf(answer)).second)
                    std::abort();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    checkReport(text);

    QuestionBank groups;
    TextFile file("fuzz input");
    try {
        file.openText(text);
        readQuestionFile(file, groups);
        file.close();
    } catch (const GameError& error) {
        if (std::string(error.what()).empty())
            std::abort(); // a rejection must say why
        return 0;
    }
    for (const Tgrupa& group : groups) {
        if (group.count > kMaxQuestionsPerGroup || group.questions.size() != group.count)
            std::abort();
        for (const Tpitanje& question : group.questions)
            if (question.correct > kAnswerCount)
                std::abort();
    }
    return 0;
}
