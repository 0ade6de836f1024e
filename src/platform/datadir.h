#pragma once

#include <string>

// The per-user folder that keeps the Top 10 file and the tune being played:
// $XDG_DATA_HOME/MudracQ, or ~/.local/share/MudracQ when XDG_DATA_HOME is unset or relative.
// Created with its parents when missing; a folder that cannot be created is still returned, and
// the first file operation in it reports the failure.
std::string dataDirectory();
