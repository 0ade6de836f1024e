#include "questioncheck.h"

#include "forms/boxes.h"
#include "forms/questionfit.h"
#include "game/errors.h"
#include "game/questionfile.h"

#include <cstdio>

int printQuestionFileCheck(const std::string& path)
{
    std::string bytes;
    try {
        bytes = readQuestionFileBytes(path);
    } catch (const GameError& error) {
        std::fprintf(stderr, "%s: %s\n", path.c_str(), error.what());
        return 1;
    }
    const WindowTextFit fit;
    const QuestionFileReport report = checkQuestionText(bytes, &fit);
    std::string out;
    for (const BankProblem& problem : report.problems)
        out += path + ":" + std::to_string(problem.line) + ": " + problem.what + "\n";
    for (std::size_t g = 0; g < report.summary.size(); ++g) {
        const GroupSummary& group = report.summary[g];
        out += "group " + std::to_string(g + 1);
        if (!group.name.empty())
            out += " \"" + group.name + "\"";
        out += ", line " + std::to_string(group.line) + ": ";
        out += g < kGroupCount ? counted(static_cast<std::size_t>(group.count), "question")
                               : "not played, a game has five groups";
        out += "\n";
    }
    if (report.playable())
        out += path + " can be played.\n";
    else
        out += path + " cannot be played: " + counted(report.problems.size(), "problem") + ".\n";
    std::fputs(out.c_str(), stdout);
    return report.playable() ? 0 : 1;
}

QuestionChoice chooseQuestions(const std::string& path)
{
    QuestionChoice choice{true, openPlayedFile(path)};
    if (!choice.questions)
        choice.play = askConfirmation("Pitanja iz datoteke ne mogu da se igraju. Da li zelite da "
                                      "igrate sa ugradjenim pitanjima?");
    return choice;
}
