#include "fileimage.h"

#include "errors.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

void writeFileImage(const std::string& path, const std::string& bytes)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        throw GameError("Cannot create file " + path);
    std::size_t done = 0;
    bool failed = false;
    while (done < bytes.size()) {
        const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0) {
            failed = true;
            break;
        }
        done += static_cast<std::size_t>(put);
    }
    if (::close(fd) != 0)
        failed = true;
    if (failed)
        throw GameError("Stream write error");
}
