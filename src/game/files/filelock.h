#pragma once

#include <string>

// An exclusive advisory lock (flock) on a lock file, held for the object's lifetime, so that
// copies of the game running at once take turns. The lock file is created when missing; a link,
// FIFO or other non-regular file in its place is refused. Raises an IoError when the lock file
// cannot be opened, and a GameError when another process keeps the lock for seconds.
class FileLock {
public:
    explicit FileLock(const std::string& lockPath);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

private:
    int m_fd = -1;
};
