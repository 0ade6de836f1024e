#pragma once

#include <string>

// Creates the file (replacing any file of that name) and writes the bytes into it whole.
// Raises "Cannot create file <path>" when it cannot be created and "Stream write error" when
// the bytes cannot all be written; a partly written file then stays behind.
void writeFileImage(const std::string& path, const std::string& bytes);
