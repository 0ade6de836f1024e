#include "fileimage.h"

#include "game/errors.h"
#include "game/files/descriptor.h"
#include "game/files/ioerror.h"
#include "game/files/replacementfile.h"

#include <cstdint>
#include <memory>
#include <sys/stat.h>

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
