#include "playedfile.h"

#include "forms/boxes.h"
#include "forms/questionfit.h"
#include "game/errors.h"
#include "game/questionfile.h"

std::optional<PlayedFile> openPlayedFile(const std::string& path)
{
    try {
        std::string bytes = readQuestionFileBytes(path);
        const WindowTextFit fit;
        const QuestionFileReport report = checkQuestionText(bytes, &fit);
        if (report.playable())
            return PlayedFile{path, std::move(bytes)};
        const std::string more = report.problems.size() == 1
                                     ? ""
                                     : " (mudracq --check-questions lists all " +
                                           std::to_string(report.problems.size()) + " problems)";
        showErrorBox(problemMessage(report.problems.front()),
                     path + " cannot be played" + more + ".");
    } catch (const GameError& error) {
        showErrorBox(error.what(), path + " cannot be played.");
    }
    return std::nullopt;
}
