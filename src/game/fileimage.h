#pragma once

#include <string>

// Puts the bytes under path as a new file, written whole beside it and renamed into place, so
// whatever stood there before, a link or a FIFO included, is replaced and never written through.
// Raises "Cannot create file <path>" when it cannot be created and "Stream write error" when the
// bytes cannot all be written; the old file then stays as it was.
void writeFileImage(const std::string& path, const std::string& bytes);
