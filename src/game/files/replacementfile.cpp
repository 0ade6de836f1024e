#include "replacementfile.h"

#include "game/files/ioerror.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Leftovers carry this mark in their name, so a cleanup never takes a user's own file for one.
constexpr const char* kTempMark = ".mudracq-save-";

std::string baseNameOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string randomSuffix()
{
    static thread_local std::mt19937_64 generator{std::random_device{}()};
    static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::string suffix;
    for (int k = 0; k < 10; ++k)
        suffix.push_back(kDigits[generator() % (sizeof(kDigits) - 1)]);
    return suffix;
}

} // namespace

std::string folderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

ReplacementFile::ReplacementFile(std::string path) : m_path(std::move(path))
{
    struct stat old {};
    const bool replacesAFile = ::stat(m_path.c_str(), &old) == 0 && S_ISREG(old.st_mode);
    // A file the user may not write is not replaced behind its back.
    if (replacesAFile && ::access(m_path.c_str(), W_OK) != 0)
        raiseFromErrno();
    const std::string prefix = folderOf(m_path) + "/." + baseNameOf(m_path) + kTempMark;
    for (int attempt = 0; !m_fd; ++attempt) {
        m_tempPath = prefix + randomSuffix();
        constexpr int kFlags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
        m_fd = Descriptor(::open(m_tempPath.c_str(), kFlags, 0644));
        if (!m_fd && (errno != EEXIST || attempt == 100)) {
            m_tempPath.clear();
            raiseFromErrno();
        }
        // A cleanup may take the file in the moment before it is locked: then take another,
        // never waiting for whoever holds this one. Where flock is not supported, no cleanup
        // takes a file either.
        struct stat created {};
        const bool taken =
            m_fd && ((::flock(m_fd.get(), LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) ||
                     (::fstat(m_fd.get(), &created) == 0 && created.st_nlink == 0));
        if (taken && attempt < 100) {
            m_fd = Descriptor();
            ::unlink(m_tempPath.c_str());
        }
    }
    if (replacesAFile)
        ::fchmod(m_fd.get(), old.st_mode & 07777);
}

ReplacementFile::~ReplacementFile()
{
    // Uncommitted: the new file goes, the old one stays.
    if (!m_tempPath.empty())
        ::unlink(m_tempPath.c_str());
}

void ReplacementFile::write(const std::string& bytes)
{
    if (!m_fd)
        throw IoError(103); // file not open
    writeAll(m_fd, bytes);
}

void ReplacementFile::commit()
{
    if (!m_fd)
        throw IoError(103);
    if (::fsync(m_fd.get()) != 0)
        raiseFromErrno();
    // Renamed while still locked, so no cleanup takes it on the way.
    if (::rename(m_tempPath.c_str(), m_path.c_str()) != 0)
        raiseFromErrno();
    m_tempPath.clear();
    m_fd.close();
    // The rename itself reaches the disk with its folder.
    const Descriptor folder(::open(folderOf(m_path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder)
        ::fsync(folder.get());
}

void ReplacementFile::removeLeftovers(const std::string& folder, const std::string& fileName)
{
    DIR* entries = ::opendir(folder.c_str());
    if (!entries)
        return;
    while (const dirent* entry = ::readdir(entries)) {
        const std::string name = entry->d_name;
        const bool leftover =
            fileName.empty() ? name.starts_with('.') && name.find(kTempMark) != std::string::npos
                             : name.starts_with("." + fileName + kTempMark);
        if (!leftover)
            continue;
        // Locked only by a replacement still being written.
        const Descriptor file(::openat(::dirfd(entries), entry->d_name,
                                       O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        if (file && ::flock(file.get(), LOCK_EX | LOCK_NB) == 0)
            ::unlinkat(::dirfd(entries), entry->d_name, 0);
    }
    ::closedir(entries);
}
