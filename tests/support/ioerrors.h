#pragma once

#include "game/files/ioerror.h"

#include <functional>

// The code of the input/output error the action raises; 0 when it raises none.
inline int ioCodeOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const IoError& error) {
        return error.code();
    }
    return 0;
}
