#include "textfile.h"

#include "errors.h"
#include "integertoken.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr std::size_t kChunk = 64 * 1024;
constexpr std::size_t kMaxToken = 32;

[[noreturn]] void raiseFromErrno()
{
    throw IoError(ioCodeFromErrno(errno));
}

} // namespace

TextFile::TextFile(std::string path) : m_path(std::move(path)) {}

TextFile::~TextFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
    if (!m_tempPath.empty())
        ::unlink(m_tempPath.c_str());
}

void TextFile::openRead()
{
    if (m_fd >= 0)
        throw IoError(102); // already open
    m_fd = ::open(m_path.c_str(), O_RDONLY | O_CLOEXEC);
    if (m_fd < 0)
        raiseFromErrno();
    m_writing = false;
    m_buffer.clear();
    m_pos = 0;
    m_atEnd = false;
}

void TextFile::openWrite()
{
    if (m_fd >= 0)
        throw IoError(102);
    m_fd = ::open(m_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (m_fd < 0)
        raiseFromErrno();
    m_writing = true;
    m_buffer.clear();
}

void TextFile::openReplacing()
{
    if (m_fd >= 0)
        throw IoError(102);
    m_tempPath = m_path + "." + std::to_string(::getpid()) + ".tmp";
    m_fd = ::open(m_tempPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (m_fd < 0) {
        m_tempPath.clear();
        raiseFromErrno();
    }
    m_writing = true;
    m_buffer.clear();
}

void TextFile::close()
{
    if (m_fd < 0)
        throw IoError(103); // file not open
    int error = 0;
    try {
        if (m_writing)
            flushBuffer();
        if (!m_tempPath.empty() && ::fsync(m_fd) != 0)
            raiseFromErrno();
    } catch (const IoError&) {
        ::close(m_fd);
        m_fd = -1;
        throw;
    }
    if (::close(m_fd) != 0)
        error = errno;
    m_fd = -1;
    if (error != 0)
        throw IoError(ioCodeFromErrno(error));
    if (!m_tempPath.empty())
        finishReplacing();
}

void TextFile::finishReplacing()
{
    if (::rename(m_tempPath.c_str(), m_path.c_str()) != 0)
        raiseFromErrno();
    m_tempPath.clear();
    // The rename itself reaches the disk with its directory.
    const auto slash = m_path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : m_path.substr(0, slash + 1);
    const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
}

void TextFile::requireOpen(bool forWriting) const
{
    if (m_fd < 0)
        throw IoError(103);
    if (m_writing != forWriting)
        throw IoError(forWriting ? 105 : 104);
}

void TextFile::fillBuffer()
{
    if (m_pos < m_buffer.size() || m_atEnd)
        return;
    m_buffer.resize(kChunk);
    m_pos = 0;
    for (;;) {
        const ssize_t got = ::read(m_fd, m_buffer.data(), kChunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            m_buffer.clear();
            raiseFromErrno();
        }
        m_buffer.resize(static_cast<std::size_t>(got));
        m_atEnd = got == 0;
        return;
    }
}

int TextFile::peekByte()
{
    fillBuffer();
    if (m_pos >= m_buffer.size())
        return -1;
    return static_cast<unsigned char>(m_buffer[m_pos]);
}

bool TextFile::eof()
{
    requireOpen(false);
    return peekByte() < 0;
}

std::string TextFile::readLine()
{
    requireOpen(false);
    std::string line;
    for (int c = peekByte(); c >= 0; c = peekByte()) {
        ++m_pos;
        if (c == '\n')
            break;
        if (c != '\r')
            line.push_back(static_cast<char>(c));
    }
    return line;
}

void TextFile::skipLine()
{
    requireOpen(false);
    for (int c = peekByte(); c >= 0; c = peekByte()) {
        ++m_pos;
        if (c == '\n')
            break;
    }
}

std::int32_t TextFile::readInteger()
{
    requireOpen(false);
    int c = peekByte();
    while (c >= 0 && c <= ' ') {
        ++m_pos;
        c = peekByte();
    }
    if (c < 0)
        return 0;
    std::string token;
    while (c > ' ' && token.size() < kMaxToken) {
        token.push_back(static_cast<char>(c));
        ++m_pos;
        c = peekByte();
    }
    const auto value = parseIntegerToken(token);
    if (!value)
        throw IoError(106);
    return *value;
}

void TextFile::writeLine(const std::string& text)
{
    requireOpen(true);
    m_buffer += text;
    m_buffer += "\r\n";
    if (m_buffer.size() >= kChunk)
        flushBuffer();
}

void TextFile::flushBuffer()
{
    std::size_t done = 0;
    while (done < m_buffer.size()) {
        const ssize_t put = ::write(m_fd, m_buffer.data() + done, m_buffer.size() - done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0) {
            m_buffer.clear();
            raiseFromErrno();
        }
        done += static_cast<std::size_t>(put);
    }
    m_buffer.clear();
}
