#include "resourceprovider.h"

#include "game/errors.h"

std::string loadResource(const ResourceProvider& resources, const std::string& name)
{
    auto bytes = resources.find(name);
    if (!bytes)
        throw GameError("Resource " + name + " not found");
    return std::move(*bytes);
}
