#include "textfile.h"

#include "game/errors.h"
#include "game/files/integertoken.h"
#include "game/files/ioerror.h"
#include "game/files/replacementfile.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

constexpr std::size_t kChunk = 64 * 1024;
constexpr std::size_t kMaxToken = 32;

} // namespace

TextFile::TextFile(std::string path) : m_path(std::move(path)) {}

TextFile::~TextFile() = default;

bool TextFile::isOpen() const
{
    return m_fd || m_inMemory || m_replacement;
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
        const std::unique_ptr<ReplacementFile> replacement = std::move(m_replacement);
        replacement->write(std::exchange(m_buffer, {}));
        replacement->commit();
        return;
    }
    m_fd.close();
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
    m_pos = 0;
    readSome(m_fd, m_buffer, kChunk);
    m_atEnd = m_buffer.empty();
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
        const std::size_t from = line.size();
        line.append(start, taken);
        if (std::memchr(start, '\r', taken))
            line.erase(
                std::remove(line.begin() + static_cast<std::ptrdiff_t>(from), line.end(), '\r'),
                line.end());
        // The limit counts the text, not the CR of its line end.
        if (line.size() > kMaxLineBytes)
            rejectLongLine();
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
        if (c != '\n' && c != '\r' && ++length > kMaxLineBytes)
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
        m_replacement->write(std::exchange(m_buffer, {}));
}
