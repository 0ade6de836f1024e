#include "fileimage.h"

#include "errors.h"
#include "replacementfile.h"

#include <memory>

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
