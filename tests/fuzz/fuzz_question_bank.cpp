// Feeds arbitrary bytes to the question-bank loader through the real text-file layer. Every
// input must load or be rejected with an error; nothing may crash, leak or read out of range.
#include "game/errors.h"
#include "game/fileimage.h"
#include "game/questionbank.h"
#include "game/textfile.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

std::string scratchFile()
{
    const char* folder = std::getenv("TMPDIR");
    return std::string(folder ? folder : "/tmp") + "/mudracq-fuzz-bank-" +
           std::to_string(::getpid()) + ".txt";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string path = scratchFile();
    writeFileImage(path, std::string(reinterpret_cast<const char*>(data), size));
    QuestionBank groups;
    TextFile file(path);
    try {
        file.openRead();
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
