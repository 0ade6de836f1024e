#include "filelock.h"

#include "game/errors.h"
#include "game/files/ioerror.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

// A save holds the lock for milliseconds; a holder this slow is stuck.
constexpr int kWaitMilliseconds = 5000;
constexpr int kPollMilliseconds = 10;

} // namespace

FileLock::FileLock(const std::string& lockPath)
{
    constexpr int kFlags = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    m_fd = Descriptor(::open(lockPath.c_str(), O_RDWR | O_CREAT | kFlags, 0644));
    // A lock file that exists but may not be written still locks.
    if (!m_fd && (errno == EACCES || errno == EROFS)) {
        const int denied = errno;
        m_fd = Descriptor(::open(lockPath.c_str(), O_RDONLY | kFlags));
        if (!m_fd)
            errno = errno == ENOENT ? denied : errno;
    }
    if (!m_fd)
        raiseFromErrno();
    if (!isRegularFile(m_fd))
        throw GameError("Not a regular file: " + lockPath);
    for (int waited = 0; ::flock(m_fd.get(), LOCK_EX | LOCK_NB) != 0; waited += kPollMilliseconds) {
        if ((errno != EWOULDBLOCK && errno != EINTR) || waited >= kWaitMilliseconds)
            throw GameError("Another copy of the game keeps " + lockPath + " locked");
        ::usleep(kPollMilliseconds * 1000);
    }
}
