#pragma once

#include <optional>
#include <string>

// Data carried inside the executable, looked up by name ("r_pitanja", "r_1", ...).
class ResourceProvider {
public:
    virtual ~ResourceProvider() = default;
    // The resource's bytes, or nothing when no resource has that name.
    virtual std::optional<std::string> find(const std::string& name) const = 0;
};

// The named resource's bytes; raises "Resource <name> not found" when it is missing.
std::string loadResource(const ResourceProvider& resources, const std::string& name);
