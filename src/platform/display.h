#pragma once

#include <optional>
#include <string>

// Why no window can be opened, in one plain sentence, or nothing when one can. Asks without
// aborting what the toolkit would abort on: a missing DISPLAY and WAYLAND_DISPLAY, or an X
// server that cannot be reached or refuses the connection. A platform chosen through
// QT_QPA_PLATFORM that needs no display (offscreen, minimal, a frame buffer) is never in doubt.
// A platform or X display named on the command line (empty when none) wins over the environment.
std::optional<std::string> displayProblem(const std::string& platform, const std::string& display);
