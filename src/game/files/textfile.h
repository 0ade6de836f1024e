#pragma once

#include "game/files/descriptor.h"

#include <cstdint>
#include <memory>
#include <string>

class ReplacementFile;

// A line-oriented text file, opened either for reading or for writing. Every failure raises an
// IoError with its numbered code; a file is open only between an open and its close.
class TextFile {
public:
    // No line the game reads may hold more bytes than this: a longer one is damage, not data.
    static constexpr std::size_t kMaxLineBytes = 1024;

    explicit TextFile(std::string path);
    ~TextFile();
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;

    const std::string& path() const { return m_path; }

    // Opens the file for reading (IoError 2 when it does not exist, 5 when access is denied).
    // Never blocks: anything but a regular file (a FIFO, a device, a folder) raises
    // "Not a regular file".
    void openRead();
    // Opens text already in memory for reading, exactly as if it were the file's content.
    void openText(std::string text);
    // Opens for writing a new file that replaces this one only when it is closed (see
    // ReplacementFile). A failure, or destruction without close(), leaves the old file.
    void openReplacing();
    // Closes the file; a write still buffered is flushed first and its failure reported.
    void close();

    // The text up to the next LF, the line end consumed. Every CR is dropped from the text, so
    // CR LF ends a line like LF. At the end of the file: an empty line. A line whose text (its
    // CRs not counted) is longer than kMaxLineBytes raises "Line <n> is longer than 1024 bytes".
    std::string readLine();
    // True when no byte is left to read.
    bool eof();
    // Skips bytes of value 32 or less (line ends included), then converts the token that runs up
    // to the next such byte (at most 32 characters): an optional sign and decimal digits, or a
    // "$", "x", "X", "0x", "0X" prefix and hexadecimal digits. At the end of the file: 0.
    // A token that does not convert or fit in 32 signed bits raises IoError 106.
    std::int32_t readInteger();
    // Skips the rest of the current line, its line end included; limited like readLine.
    void skipLine();
    // The number of the line the next byte read belongs to, 1 for the first.
    int lineNumber() const { return m_lineNumber; }

    // Writes the text followed by CR LF.
    void writeLine(const std::string& text);

private:
    bool isOpen() const;
    int peekByte();
    // Consumes the byte just peeked, counting line ends.
    void advance(int byte);
    void fillBuffer();
    void requireOpen(bool forWriting) const;
    [[noreturn]] void rejectLongLine() const;

    std::string m_path;
    Descriptor m_fd; // open while a file on disk is read
    bool m_inMemory = false;
    std::unique_ptr<ReplacementFile> m_replacement; // set while a replacement is being written
    bool m_writing = false;
    std::string m_buffer;
    std::size_t m_pos = 0;
    bool m_atEnd = false;
    int m_lineNumber = 1;
};
