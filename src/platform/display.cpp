#include "display.h"

#include <algorithm>
#include <cstdlib>
#include <dlfcn.h>
#include <fcntl.h>
#include <string_view>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

// Whether the platforms named in QT_QPA_PLATFORM (a list separated by ";") need a display
// server; with none named the toolkit picks X or Wayland.
bool platformNeedsDisplay(const std::string& platform)
{
    const std::string chosen = platform.empty() ? environment("QT_QPA_PLATFORM") : platform;
    if (chosen.empty())
        return true;
    std::string_view rest = chosen;
    while (!rest.empty()) {
        const std::string_view name = rest.substr(0, rest.find(';'));
        // A plugin may take arguments after a colon, as in "offscreen:fontengine=freetype".
        const std::string_view plugin = name.substr(0, name.find(':'));
        if (plugin == "xcb" || plugin.rfind("wayland", 0) == 0)
            return true;
        rest.remove_prefix(std::min(rest.size(), name.size() + 1));
    }
    return false;
}

// Standard error led into a pipe for as long as it lives: libxcb writes the reason an X server
// gives for refusing a connection straight there, and the program tells it in its own line.
class StandardErrorCatcher {
public:
    StandardErrorCatcher()
    {
        if (::pipe2(m_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
            return;
        m_saved = ::dup(STDERR_FILENO);
        ::dup2(m_pipe[1], STDERR_FILENO);
        ::close(m_pipe[1]);
    }
    ~StandardErrorCatcher()
    {
        if (m_saved >= 0) {
            ::dup2(m_saved, STDERR_FILENO);
            ::close(m_saved);
        }
        if (m_pipe[0] >= 0)
            ::close(m_pipe[0]);
    }
    StandardErrorCatcher(const StandardErrorCatcher&) = delete;
    StandardErrorCatcher& operator=(const StandardErrorCatcher&) = delete;

    // What was written so far, on one line.
    std::string caught() const
    {
        std::string text(512, '\0');
        const ssize_t got = m_pipe[0] >= 0 ? ::read(m_pipe[0], text.data(), text.size()) : -1;
        text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
        std::replace(text.begin(), text.end(), '\n', ' ');
        text.erase(text.find_last_not_of(' ') + 1);
        return text;
    }

private:
    int m_pipe[2] = {-1, -1};
    int m_saved = -1;
};

// Connects to the X server the way the toolkit will, through libxcb, which its X plugin loads
// anyway. Nothing when the server accepts the connection, or when libxcb is missing and the
// toolkit will say why itself; otherwise the server's reason, empty when none answered.
std::optional<std::string> xServerRefusal(const std::string& display)
{
    void* library = ::dlopen("libxcb.so.1", RTLD_LAZY | RTLD_LOCAL);
    if (!library)
        return std::nullopt;
    using Connect = void* (*)(const char*, int*);
    using HasError = int (*)(void*);
    using Disconnect = void (*)(void*);
    const auto connect = reinterpret_cast<Connect>(::dlsym(library, "xcb_connect"));
    const auto hasError = reinterpret_cast<HasError>(::dlsym(library, "xcb_connection_has_error"));
    const auto disconnect = reinterpret_cast<Disconnect>(::dlsym(library, "xcb_disconnect"));
    std::optional<std::string> refusal;
    if (connect && hasError && disconnect) {
        const StandardErrorCatcher catcher;
        void* connection = connect(display.c_str(), nullptr);
        if (hasError(connection) != 0)
            refusal = catcher.caught();
        disconnect(connection); // also frees a connection that failed
    }
    // Left loaded: the toolkit's X plugin opens it next.
    return refusal;
}

// Whether a Wayland compositor listens on the socket that WAYLAND_DISPLAY names.
bool waylandAnswers(const std::string& name)
{
    const std::string path =
        name.front() == '/' ? name : environment("XDG_RUNTIME_DIR") + "/" + name;
    sockaddr_un address{};
    if (path.size() >= sizeof address.sun_path)
        return false;
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, path.size());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return true; // nothing known against it
    const bool answers =
        ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return answers;
}

} // namespace

std::optional<std::string> displayProblem(const std::string& platform, const std::string& display)
{
    if (!platformNeedsDisplay(platform))
        return std::nullopt;
    const std::string x = display.empty() ? environment("DISPLAY") : display;
    const std::string wayland = environment("WAYLAND_DISPLAY");
    if (x.empty() && wayland.empty())
        return "no display to open a window on: neither DISPLAY nor WAYLAND_DISPLAY is set";
    if (!wayland.empty() && waylandAnswers(wayland))
        return std::nullopt;
    if (x.empty())
        return "cannot open the Wayland display \"" + wayland + "\": nothing answers there";
    const auto refusal = xServerRefusal(x);
    if (!refusal)
        return std::nullopt;
    if (refusal->empty())
        return "cannot open the display \"" + x + "\": no X server answers there";
    return "cannot open the display \"" + x + "\": the X server refused the connection (" +
           *refusal + ")";
}
