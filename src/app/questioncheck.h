#pragma once

#include "forms/playedfile.h"

#include <optional>
#include <string>

// Checks the question file at path as --check-questions does: every problem as "path:line: what"
// and one line per group on standard output, the file's own failure (missing, unreadable, too
// large) on standard error. Returns 0 when the file can be played, 1 when not. Needs a
// QApplication, on any platform.
int printQuestionFileCheck(const std::string& path);

// The questions to play for --questions: the file's, when it can be played. When it cannot, the
// error box shows why and the player is offered the built-in questions: then none, the bank's own
// being played. False when the player declines and the program is to end.
struct QuestionChoice {
    bool play = true;
    std::optional<PlayedFile> questions;
};
QuestionChoice chooseQuestions(const std::string& path);
