#pragma once

#include <cstddef>
#include <functional>
#include <string>

// An open file descriptor the object owns: moved, never copied, and closed when the object goes.
class Descriptor {
public:
    Descriptor() = default;
    // Takes what a system call returned; a negative number stands for no descriptor.
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor();
    Descriptor(Descriptor&& other) noexcept;
    Descriptor& operator=(Descriptor&& other) noexcept;

    int get() const { return m_fd; }
    explicit operator bool() const { return m_fd >= 0; }
    // Closes now, raising the IoError of a failed close; the descriptor is gone either way.
    void close();

private:
    int m_fd = -1;
};

// Opens a file for reading without ever blocking. Raises the input/output error of the failure
// ("File not found", "File access denied", ...) and "Not a regular file" for a FIFO, a device or
// a folder.
Descriptor openRegularFile(const std::string& path);

// True when the descriptor is open on a regular file, not a FIFO, device or folder.
bool isRegularFile(const Descriptor& fd);

// Replaces `into` with the next bytes read, at most `most`; empty at the end of the file. A failed
// read leaves `into` empty and raises its IoError.
void readSome(const Descriptor& fd, std::string& into, std::size_t most);

// Reads on to the end of the file, handing each piece read to `take` in order.
void readToEnd(const Descriptor& fd, const std::function<void(const std::string&)>& take);

// Writes every one of the bytes, raising the IoError of a failed write.
void writeAll(const Descriptor& fd, const std::string& bytes);
