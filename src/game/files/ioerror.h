#pragma once

#include "game/errors.h"

#include <string>

// An input/output error of the text-file layer, carrying its numbered code.
class IoError : public GameError {
public:
    explicit IoError(int code, std::string detail = {});
    int code() const { return m_code; }

private:
    int m_code;
};

// The message for an input/output error code: 2 "File not found", 3 "Invalid filename",
// 4 "Too many open files", 5 "File access denied", 100 "Read beyond end of file",
// 101 "Disk full", 106 "Invalid numeric input", any other "I/O error <code>".
std::string ioErrorMessage(int code);

// The input/output error code for a failed system call's errno. Codes without a meaning of
// their own become 1000 + errno, so they never pose as one of the named codes.
int ioCodeFromErrno(int error);

// Raises the IoError of the errno a system call just left.
[[noreturn]] void raiseFromErrno();

// Raises the error being handled again, of the same kind and message, with the detail line
// given. Call only inside a catch block.
[[noreturn]] void rethrowWithDetail(const std::string& detail);
