#pragma once

#include <string>

// A fresh directory under the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return m_path; }
    std::string file(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

// The whole content of a file; empty when it cannot be read.
std::string readBytes(const std::string& path);

// How many files stand in the folder of the Top 10 file, its lock file not counted.
std::size_t filesBeside(const std::string& highscorePath);
