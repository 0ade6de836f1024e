#include "filelock.h"

#include "game/errors.h"
#include "game/files/ioerror.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A save holds the lock for milliseconds; a holder this slow is stuck.
constexpr int kWaitMilliseconds = 5000;
constexpr int kPollMilliseconds = 10;

} // namespace

FileLock::FileLock(const std::string& lockPath)
{
    constexpr int kFlags = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    m_fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | kFlags, 0644);
    // A lock file that exists but may not be written still locks.
    if (m_fd < 0 && (errno == EACCES || errno == EROFS)) {
        const int denied = errno;
        m_fd = ::open(lockPath.c_str(), O_RDONLY | kFlags);
        if (m_fd < 0)
            errno = errno == ENOENT ? denied : errno;
    }
    if (m_fd < 0)
        throw IoError(ioCodeFromErrno(errno));
    struct stat info {};
    if (::fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(m_fd);
        throw GameError("Not a regular file: " + lockPath);
    }
    for (int waited = 0; ::flock(m_fd, LOCK_EX | LOCK_NB) != 0; waited += kPollMilliseconds) {
        if ((errno != EWOULDBLOCK && errno != EINTR) || waited >= kWaitMilliseconds) {
            ::close(m_fd);
            throw GameError("Another copy of the game keeps " + lockPath + " locked");
        }
        ::usleep(kPollMilliseconds * 1000);
    }
}

FileLock::~FileLock()
{
    ::close(m_fd); // releases the lock
}
