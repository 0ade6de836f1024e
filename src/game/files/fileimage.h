#pragma once

#include <cstddef>
#include <string>

// A file's whole content as one string: read at once within a size limit, or written at once.

// Puts the bytes under path as a new file, written whole beside it and renamed into place, so
// whatever stood there before, a link or a FIFO included, is replaced and never written through.
// A failure raises its input/output error with a line naming the path (and saying when a folder
// stands there); the old file then stays as it was, except that a link is gone.
void writeFileImage(const std::string& path, const std::string& bytes);

// The whole content of a regular file of at most maxBytes (a whole number of megabytes), opened
// as openRegularFile does. A larger file raises "The file is larger than <n> MB" before any of it
// is read; a failed read raises its input/output error.
std::string readFileImage(const std::string& path, std::size_t maxBytes);
