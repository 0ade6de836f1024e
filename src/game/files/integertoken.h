#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// Converts a score token: an optional "+" or "-" and decimal digits, or one of the prefixes
// "$", "x", "X", "0x", "0X" and hexadecimal digits (no sign; the 32 bits are taken as they
// stand, so "$FFFFFFFF" is -1). Empty when the token does not convert or does not fit.
std::optional<std::int32_t> parseIntegerToken(std::string_view token);
