#include "ioerror.h"

#include <cerrno>

IoError::IoError(int code, std::string detail)
    : GameError(ioErrorMessage(code), std::move(detail)), m_code(code)
{
}

std::string ioErrorMessage(int code)
{
    switch (code) {
    case 2:
        return "File not found";
    case 3:
        return "Invalid filename";
    case 4:
        return "Too many open files";
    case 5:
        return "File access denied";
    case 100:
        return "Read beyond end of file";
    case 101:
        return "Disk full";
    case 106:
        return "Invalid numeric input";
    default:
        return "I/O error " + std::to_string(code);
    }
}

int ioCodeFromErrno(int error)
{
    switch (error) {
    case ENOENT:
        return 2;
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
    case ELOOP:
        return 3;
    case EMFILE:
    case ENFILE:
        return 4;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
    case EBUSY:
        return 5;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return 101;
    default:
        return 1000 + error;
    }
}

void raiseFromErrno()
{
    throw IoError(ioCodeFromErrno(errno));
}

void rethrowWithDetail(const std::string& detail)
{
    try {
        throw;
    } catch (const IoError& error) {
        throw IoError(error.code(), detail);
    } catch (const GameError& error) {
        throw GameError(error.what(), detail);
    }
}
