#pragma once

#include "game/files/descriptor.h"

#include <string>

// A new file that takes the place of an existing name only when it is complete. The content
// goes to a fresh temporary file beside the name (created exclusively, so nothing of another
// owner is ever written through), is flushed to disk and then renamed over the name. The temporary
// file is locked (flock) while it is written, so a cleanup tells a killed replacement's file from
// one still being written. Whatever stood under the name, a link or a FIFO included, is replaced
// itself, never written through. Every failure raises an IoError; a replacement that fails or is
// destroyed uncommitted removes its temporary file and leaves the old file as it was.
class ReplacementFile {
public:
    // Creates the temporary file beside path. It gets the mode of the file it replaces, or
    // 0644 less the umask when there is none.
    explicit ReplacementFile(std::string path);
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    void write(const std::string& bytes);
    // Flushes the content to disk and renames it over the path.
    void commit();

    // Removes from the folder the temporary files that replacements left behind when their
    // process was killed: those of fileName, or of any file when fileName is empty. The file of
    // a replacement still being written stays.
    static void removeLeftovers(const std::string& folder, const std::string& fileName);

private:
    std::string m_path;
    std::string m_tempPath;
    Descriptor m_fd;
};

// The folder part of a path: "." for a bare name, "/" for a name in the root.
std::string folderOf(const std::string& path);
