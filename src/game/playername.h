#pragma once

#include <string>

// The name as the Top 10 keeps it: control characters, line and paragraph separators and
// bidirectional embeddings, overrides and isolates each become one space, so a name always stays
// one row and never reorders the text around it; a name longer than a Top 10 line may be is cut
// at the last whole character that fits. Text is UTF-8; other bytes are kept as they are.
std::string cleanPlayerName(const std::string& typed);
