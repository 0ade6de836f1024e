#pragma once

#include <functional>
#include <string>

// The application title, caption of every message and error box.
inline constexpr const char* kApplicationTitle = "MudracQ";

// Modal box centred on the screen: the application title, the text, no icon, one "OK" button.
void showMessageBox(const std::string& text);
// Modal "Confirm" box with a question mark, "&Yes" (default) and "&No" (cancel). True only when
// "&Yes" was chosen; closing the box otherwise counts as no.
bool askConfirmation(const std::string& text);
// The error box: the message, with "." added when its last character sorts after ".", then the
// detail line when there is one, a stop icon and one "OK" button. Every box shows its text as
// plain text, never as markup.
void showErrorBox(const std::string& message, const std::string& detail = {});
// The error box's text for a message and its detail line.
std::string errorBoxText(const std::string& message, const std::string& detail = {});

// Runs one handler to its end; an error it raises ends it and is shown in the error box, so no
// exception ever reaches the event loop.
void runHandler(const std::function<void()>& handler);
