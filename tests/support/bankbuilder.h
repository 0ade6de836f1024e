#pragma once

#include "game/questionbank.h"

#include <string>
#include <vector>

// A bank text with the given number of questions in each group. Question g.n reads "Gg Qn",
// its correct answer "Gg Qn right" comes first and its wrong ones "Gg Qn wrong k" after it.
std::string bankText(const std::vector<int>& counts);

// The groups loaded from a bank text through a temporary file.
QuestionBank bankFrom(const std::string& text);
