#include "fileimage.h"

#include "game/errors.h"
#include "game/files/descriptor.h"
#include "game/files/ioerror.h"
#include "game/files/replacementfile.h"

#include <cstdint>
#include <sys/stat.h>
#include <unistd.h>

void writeFileImage(const std::string& path, const std::string& bytes)
{
    struct stat info {};
    // A link is replaced, not written through, so whose file it points to does not matter.
    if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode))
        ::unlink(path.c_str());
    try {
        ReplacementFile file(path);
        file.write(bytes);
        file.commit();
    } catch (const IoError&) {
        const bool folder = ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
        rethrowWithDetail(path + (folder ? " is a folder" : "") + ": the file was not written.");
    }
}

std::string readFileImage(const std::string& path, std::size_t maxBytes)
{
    const Descriptor fd = openRegularFile(path);
    const auto tooLarge = [maxBytes] {
        return GameError("The file is larger than " + std::to_string(maxBytes >> 20) + " MB");
    };
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0)
        raiseFromErrno();
    if (static_cast<std::uint64_t>(info.st_size) > maxBytes)
        throw tooLarge();
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(info.st_size));
    // Read to the end, not to the size: a file that grew meanwhile is still held to the limit.
    readToEnd(fd, [&](const std::string& piece) {
        if (piece.size() > maxBytes - bytes.size())
            throw tooLarge();
        bytes += piece;
    });
    return bytes;
}
