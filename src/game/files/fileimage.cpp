#include "fileimage.h"

#include "game/errors.h"
#include "game/files/ioerror.h"
#include "game/files/replacementfile.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

void writeFileImage(const std::string& path, const std::string& bytes)
{
    std::unique_ptr<ReplacementFile> file;
    try {
        file = std::make_unique<ReplacementFile>(path);
    } catch (const IoError&) {
        throw GameError("Cannot create file " + path);
    }
    try {
        file->write(bytes);
        file->commit();
    } catch (const IoError&) {
        throw GameError("Stream write error");
    }
}

int openRegularFile(const std::string& path)
{
    // Without O_NONBLOCK, opening a FIFO would wait for a writer for ever.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw IoError(ioCodeFromErrno(errno));
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        throw GameError("Not a regular file");
    }
    return fd;
}

std::string readFileImage(const std::string& path, std::size_t maxBytes)
{
    const int fd = openRegularFile(path);
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    const auto tooLarge = [maxBytes] {
        return GameError("The file is larger than " + std::to_string(maxBytes >> 20) + " MB");
    };
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        throw IoError(ioCodeFromErrno(errno));
    if (static_cast<std::uint64_t>(info.st_size) > maxBytes)
        throw tooLarge();
    // One byte more than allowed tells a file that grew while it was read.
    std::string bytes(static_cast<std::size_t>(info.st_size) + 1, '\0');
    std::size_t got = 0;
    for (;;) {
        const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw IoError(ioCodeFromErrno(errno));
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
        if (got > maxBytes)
            throw tooLarge();
        if (got == bytes.size())
            bytes.resize(std::min(bytes.size() * 2, maxBytes + 1));
    }
    bytes.resize(got);
    return bytes;
}
