#pragma once

#include <stdexcept>
#include <string>

// An error that ends the running handler and is shown to the player in the error box: its
// message first, then, when there is one, a second line saying which file and what became of the
// player's data.
class GameError : public std::runtime_error {
public:
    explicit GameError(const std::string& message, std::string detail = {})
        : std::runtime_error(message), m_detail(std::move(detail))
    {
    }
    const std::string& detail() const { return m_detail; }

private:
    std::string m_detail;
};
