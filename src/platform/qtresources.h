#pragma once

#include "game/resourceprovider.h"

// Resources compiled into the executable with the Qt resource system, looked up by name
// without regard to case.
class QtResourceProvider : public ResourceProvider {
public:
    std::optional<std::string> find(const std::string& name) const override;
};
