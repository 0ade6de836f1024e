#pragma once

#include <cstddef>
#include <string>

// A file's whole content as one string: read at once within a size limit, or written at once.

// Puts the bytes under path as a new file, written whole beside it and renamed into place, so
// whatever stood there before, a link or a FIFO included, is replaced and never written through.
// Raises "Cannot create file <path>" when it cannot be created and "Stream write error" when the
// bytes cannot all be written; the old file then stays as it was.
void writeFileImage(const std::string& path, const std::string& bytes);

// The whole content of a regular file of at most maxBytes (a whole number of megabytes), opened
// as openRegularFile does. A larger file raises "The file is larger than <n> MB" before any of it
// is read; a failed read raises its input/output error.
std::string readFileImage(const std::string& path, std::size_t maxBytes);
