#pragma once

#include "game/files/descriptor.h"

#include <functional>
#include <optional>
#include <string>
#include <utility>

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
    // Runs again and again, every few milliseconds, while the lock is held by another process.
    using WhileWaiting = std::function<void()>;

    // Takes the lock, waiting up to five seconds for another process to release it.
    explicit FileLock(const std::string& lockPath, const WhileWaiting& whileWaiting = {});

    // The lock when no other process holds it, nothing when one does; never waits.
    static std::optional<FileLock> takeIfFree(const std::string& lockPath);

private:
    explicit FileLock(Descriptor fd) : m_fd(std::move(fd)) {}

    Descriptor m_fd; // closing it releases the lock
};
