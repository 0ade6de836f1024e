#pragma once

#include "game/clock.h"
#include "game/resourceprovider.h"

#include <map>

// A clock that always reads the same time of day.
class FixedClock : public Clock {
public:
    explicit FixedClock(std::uint32_t milliseconds = 45296789) : m_milliseconds(milliseconds) {}
    std::uint32_t millisecondsSinceMidnightUtc() const override { return m_milliseconds; }
    void set(std::uint32_t milliseconds) { m_milliseconds = milliseconds; }

private:
    std::uint32_t m_milliseconds;
};

// Resources held in a map, by name.
class MapResources : public ResourceProvider {
public:
    std::map<std::string, std::string> items;
    std::optional<std::string> find(const std::string& name) const override
    {
        const auto found = items.find(name);
        if (found == items.end())
            return std::nullopt;
        return found->second;
    }
};
