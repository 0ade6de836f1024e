#pragma once

#include "game/files/descriptor.h"

#include <string>

// An exclusive advisory lock (flock) on a lock file, held for the object's lifetime, so that
// copies of the game running at once take turns. The lock file is created when missing; a link,
// FIFO or other non-regular file in its place is refused. Raises an IoError when the lock file
// cannot be opened, and a GameError when another process keeps the lock for seconds.
//
// Why this lock and ReplacementFile's atomic save rather than QLockFile and QSaveFile: the rules
// have no Qt, and the kernel releases a flock when a copy of the game dies, where a QLockFile
// leaves a stale lock file behind to be guessed about.
class FileLock {
public:
    explicit FileLock(const std::string& lockPath);

private:
    Descriptor m_fd; // closing it releases the lock
};
