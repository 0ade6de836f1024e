#include "textfile.h"

#include "game/errors.h"
#include "game/files/fileimage.h"
#include "game/files/integertoken.h"
#include "game/files/ioerror.h"
#include "game/files/replacementfile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
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
}

bool TextFile::isOpen() const
{
    return m_fd >= 0 || m_inMemory || m_replacement;
}

void TextFile::openRead()
{
    if (isOpen())
        throw IoError(102); // already open
    m_fd = openRegularFile(m_path);
    m_writing = false;
    m_buffer.clear();
    m_pos = 0;
    m_atEnd = false;
    m_lineNumber = 1;
}

void TextFile::openText(std::string text)
{
    if (isOpen())
        throw IoError(102);
    m_inMemory = true;
    m_writing = false;
    m_buffer = std::move(text);
    m_pos = 0;
    m_atEnd = true; // nothing beyond the buffer
    m_lineNumber = 1;
}

void TextFile::openWrite()
{
    if (isOpen())
        throw IoError(102);
    m_fd = ::open(m_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (m_fd < 0)
        raiseFromErrno();
    m_writing = true;
    m_buffer.clear();
}

void TextFile::openReplacing()
{
    if (isOpen())
        throw IoError(102);
    m_replacement = std::make_unique<ReplacementFile>(m_path);
    m_writing = true;
    m_buffer.clear();
}

void TextFile::close()
{
    if (!isOpen())
        throw IoError(103); // file not open
    if (m_inMemory) {
        m_inMemory = false;
        m_buffer.clear();
        return;
    }
    if (m_replacement) {
        // Closed whatever happens; a failure discards the new file.
        struct Release {
            std::unique_ptr<ReplacementFile>& file;
            ~Release() { file.reset(); }
        } release{m_replacement};
        flushBuffer();
        m_replacement->commit();
        return;
    }
    try {
        if (m_writing)
            flushBuffer();
    } catch (const IoError&) {
        ::close(m_fd);
        m_fd = -1;
        throw;
    }
    const int closed = ::close(m_fd);
    m_fd = -1;
    if (closed != 0)
        raiseFromErrno();
}

void TextFile::requireOpen(bool forWriting) const
{
    if (!isOpen())
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

void TextFile::advance(int byte)
{
    ++m_pos;
    if (byte == '\n')
        ++m_lineNumber;
}

void TextFile::rejectLongLine() const
{
    throw GameError("Line " + std::to_string(m_lineNumber) + " is longer than " +
                    std::to_string(kMaxLineBytes) + " bytes");
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
    std::size_t length = 0;
    for (;;) {
        fillBuffer();
        if (m_pos >= m_buffer.size())
            return line; // the end of the file ends the line
        // The line's bytes in this buffer, found at once rather than byte by byte.
        const char* start = m_buffer.data() + m_pos;
        const auto* end =
            static_cast<const char*>(std::memchr(start, '\n', m_buffer.size() - m_pos));
        const std::size_t taken =
            end ? static_cast<std::size_t>(end - start) : m_buffer.size() - m_pos;
        length += taken;
        if (length > kMaxLineBytes)
            rejectLongLine();
        const std::size_t from = line.size();
        line.append(start, taken);
        if (std::memchr(start, '\r', taken))
            line.erase(
                std::remove(line.begin() + static_cast<std::ptrdiff_t>(from), line.end(), '\r'),
                line.end());
        m_pos += taken;
        if (end) {
            advance('\n');
            return line;
        }
    }
}

void TextFile::skipLine()
{
    requireOpen(false);
    std::size_t length = 0;
    for (int c = peekByte(); c >= 0; c = peekByte()) {
        if (c != '\n' && ++length > kMaxLineBytes)
            rejectLongLine();
        advance(c);
        if (c == '\n')
            break;
    }
}

std::int32_t TextFile::readInteger()
{
    requireOpen(false);
    int c = peekByte();
    while (c >= 0 && c <= ' ') {
        advance(c);
        c = peekByte();
    }
    if (c < 0)
        return 0;
    std::string token;
    while (c > ' ' && token.size() < kMaxToken) {
        token.push_back(static_cast<char>(c));
        advance(c);
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
    if (m_replacement) {
        std::string pending;
        pending.swap(m_buffer);
        m_replacement->write(pending);
        return;
    }
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
