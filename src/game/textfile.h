#pragma once

#include <cstdint>
#include <string>

// A line-oriented text file, opened either for reading or for writing. Every failure raises an
// IoError with its numbered code; a file is open only between an open and its close.
class TextFile {
public:
    explicit TextFile(std::string path);
    ~TextFile();
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;

    const std::string& path() const { return m_path; }

    // Opens the file for reading (IoError 2 when it does not exist, 5 when access is denied).
    void openRead();
    // Creates the file, or truncates an existing one, and opens it for writing.
    void openWrite();
    // Opens for writing a new file that replaces this one only when it is closed: the text goes
    // to a temporary file beside it, which close() flushes to disk and renames over the path. A
    // failure, or destruction without close(), removes the temporary file and leaves the old one.
    void openReplacing();
    // Closes the file; a write still buffered is flushed first and its failure reported.
    void close();

    // The text up to the next LF, the line end consumed. Every CR is dropped from the text, so
    // CR LF ends a line like LF. At the end of the file: an empty line.
    std::string readLine();
    // True when no byte is left to read.
    bool eof();
    // Skips bytes of value 32 or less (line ends included), then converts the token that runs up
    // to the next such byte (at most 32 characters): an optional sign and decimal digits, or a
    // "$", "x", "X", "0x", "0X" prefix and hexadecimal digits. At the end of the file: 0.
    // A token that does not convert or fit in 32 signed bits raises IoError 106.
    std::int32_t readInteger();
    // Skips the rest of the current line, its line end included.
    void skipLine();

    // Writes the text followed by CR LF.
    void writeLine(const std::string& text);

private:
    int peekByte();
    void fillBuffer();
    void flushBuffer();
    void requireOpen(bool forWriting) const;

    void finishReplacing();

    std::string m_path;
    std::string m_tempPath; // set while a replacement is being written
    int m_fd = -1;
    bool m_writing = false;
    std::string m_buffer;
    std::size_t m_pos = 0;
    bool m_atEnd = false;
};
