#pragma once

#include <optional>
#include <string>

// Why no window can be opened, in one plain sentence, or nothing when one can; within a few
// seconds. Asks without aborting what the toolkit would abort or hang on, for each platform it
// will try (named in QT_QPA_PLATFORM, or X): a platform not installed, a missing display, an X
// server that cannot be reached, refuses the connection, lacks the screen asked for or does not
// answer, a Wayland compositor that does not answer. A platform that needs no display (offscreen,
// minimal, a frame buffer) is never in doubt. A platform or X display named on the command line
// (empty when none) wins over the environment.
std::optional<std::string> displayProblem(const std::string& platform, const std::string& display);
