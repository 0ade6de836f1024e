#include "descriptor.h"

#include "game/errors.h"
#include "game/files/ioerror.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

constexpr std::size_t kChunk = 64 * 1024;

} // namespace

Descriptor::~Descriptor()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

Descriptor::Descriptor(Descriptor&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}

Descriptor& Descriptor::operator=(Descriptor&& other) noexcept
{
    Descriptor gone(std::exchange(m_fd, std::exchange(other.m_fd, -1)));
    return *this;
}

void Descriptor::close()
{
    if (::close(std::exchange(m_fd, -1)) != 0)
        raiseFromErrno();
}

Descriptor openRegularFile(const std::string& path)
{
    // Without O_NONBLOCK, opening a FIFO would wait for a writer for ever.
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fd)
        raiseFromErrno();
    if (!isRegularFile(fd))
        throw GameError("Not a regular file");
    return fd;
}

bool isRegularFile(const Descriptor& fd)
{
    struct stat info {};
    return ::fstat(fd.get(), &info) == 0 && S_ISREG(info.st_mode);
}

void readSome(const Descriptor& fd, std::string& into, std::size_t most)
{
    into.resize(most);
    for (;;) {
        const ssize_t got = ::read(fd.get(), into.data(), most);
        if (got >= 0) {
            into.resize(static_cast<std::size_t>(got));
            return;
        }
        if (errno != EINTR) {
            into.clear();
            raiseFromErrno();
        }
    }
}

void readToEnd(const Descriptor& fd, const std::function<void(const std::string&)>& take)
{
    std::string piece;
    for (;;) {
        readSome(fd, piece, kChunk);
        if (piece.empty())
            return;
        take(piece);
    }
}

void writeAll(const Descriptor& fd, const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::write(fd.get(), bytes.data() + done, bytes.size() - done);
        if (put >= 0)
            done += static_cast<std::size_t>(put);
        else if (errno != EINTR)
            raiseFromErrno();
    }
}
