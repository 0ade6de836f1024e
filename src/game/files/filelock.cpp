#include "filelock.h"

#include "game/errors.h"
#include "game/files/ioerror.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <utility>

namespace {

// A save holds the lock for milliseconds; a holder this slow is stuck.
constexpr int kWaitMilliseconds = 5000;
constexpr int kPollMilliseconds = 10;

Descriptor openLockFile(const std::string& lockPath)
{
    constexpr int kFlags = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    Descriptor fd(::open(lockPath.c_str(), O_RDWR | O_CREAT | kFlags, 0644));
    // A lock file that exists but may not be written still locks.
    if (!fd && (errno == EACCES || errno == EROFS)) {
        const int denied = errno;
        fd = Descriptor(::open(lockPath.c_str(), O_RDONLY | kFlags));
        if (!fd)
            errno = errno == ENOENT ? denied : errno;
    }
    if (!fd)
        raiseFromErrno();
    if (!isRegularFile(fd))
        throw GameError("Not a regular file: " + lockPath);
    return fd;
}

// True once the lock is taken, false while another process holds it.
bool tryToLock(const Descriptor& fd)
{
    while (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK)
            return false;
        if (errno != EINTR)
            raiseFromErrno();
    }
    return true;
}

} // namespace

FileLock::FileLock(const std::string& lockPath, const WhileWaiting& whileWaiting)
    : m_fd(openLockFile(lockPath))
{
    for (int waited = 0; !tryToLock(m_fd); waited += kPollMilliseconds) {
        if (waited >= kWaitMilliseconds)
            throw GameError("Another program keeps " + lockPath + " locked");
        if (whileWaiting)
            whileWaiting();
        ::usleep(kPollMilliseconds * 1000);
    }
}

std::optional<FileLock> FileLock::takeIfFree(const std::string& lockPath)
{
    Descriptor fd = openLockFile(lockPath);
    if (!tryToLock(fd))
        return std::nullopt;
    return FileLock(std::move(fd));
}
