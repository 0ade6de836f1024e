// Feeds arbitrary bytes to the question-bank loader through the real text-file reader. Every
// input must load or be rejected with an error; nothing may crash, leak or read out of range.
#include "game/errors.h"
#include "game/questionbank.h"
#include "game/textfile.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QuestionBank groups;
    TextFile file("fuzz input");
    try {
        file.openText(std::string(reinterpret_cast<const char*>(data), size));
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
