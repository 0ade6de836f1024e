#include "display.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonObject>
#include <QPluginLoader>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <dlfcn.h>
#include <fcntl.h>
#include <poll.h>
#include <string_view>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

// How long a display server may take to answer before the program gives up on it.
constexpr int kAnswerMilliseconds = 3000;

// The platforms the toolkit tries, in order, until one starts: those named on the command line
// or in QT_QPA_PLATFORM (a list separated by ";"), or else X, after Wayland in a Wayland session.
std::vector<std::string> platformsToTry(const std::string& platform)
{
    const std::string chosen = platform.empty() ? environment("QT_QPA_PLATFORM") : platform;
    if (chosen.empty()) {
        if (environment("XDG_SESSION_TYPE") == "wayland")
            return {"wayland", "xcb"};
        return {"xcb"};
    }
    std::vector<std::string> names;
    std::string_view rest = chosen;
    while (!rest.empty()) {
        const std::string_view name = rest.substr(0, rest.find(';'));
        // A plugin may take arguments after a colon, as in "offscreen:fontengine=freetype".
        names.emplace_back(name.substr(0, name.find(':')));
        rest.remove_prefix(std::min(rest.size(), name.size() + 1));
    }
    return names;
}

// Whether a platform plugin of that name is installed where the toolkit looks for one. Its
// description is read from the file without loading it.
bool platformInstalled(const std::string& name)
{
    QStringList folders;
    for (const QString& path : QCoreApplication::libraryPaths())
        folders << path + QStringLiteral("/platforms");
    const QString own = QString::fromLocal8Bit(environment("QT_QPA_PLATFORM_PLUGIN_PATH"));
    if (!own.isEmpty())
        folders << own;
    const QString wanted = QString::fromLocal8Bit(name);
    for (const QString& folder : folders) {
        const QDir dir(folder);
        for (const QString& file : dir.entryList({QStringLiteral("*.so")}, QDir::Files)) {
            const QJsonObject meta = QPluginLoader(dir.filePath(file)).metaData();
            const QJsonArray keys = meta.value(QStringLiteral("MetaData"))
                                        .toObject()
                                        .value(QStringLiteral("Keys"))
                                        .toArray();
            for (const QJsonValue& key : keys)
                if (key.toString().compare(wanted, Qt::CaseInsensitive) == 0)
                    return true;
        }
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

// Reads what a child process writes to fd until it ends, for at most kAnswerMilliseconds; empty
// when the time ran out.
std::optional<std::string> readWithinTime(int fd)
{
    std::string text;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kAnswerMilliseconds);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd wait{fd, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&wait, 1, static_cast<int>(left.count())) == 0)
            return std::nullopt;
        char buffer[512];
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return text;
        text.append(buffer, static_cast<std::size_t>(got));
    }
}

// In a child process: connects to the X server the way the toolkit will, through libxcb, which
// its X plugin loads anyway, and writes to fd "ok" (or nothing when libxcb is missing and the
// toolkit will say why itself), "refused " and the server's reason, or "screen " and a screen
// number the server does not have.
void probeXServer(const std::string& display, int fd)
{
    void* library = ::dlopen("libxcb.so.1", RTLD_LAZY | RTLD_LOCAL);
    if (!library)
        return;
    using Connect = void* (*)(const char*, int*);
    using HasError = int (*)(void*);
    const auto connect = reinterpret_cast<Connect>(::dlsym(library, "xcb_connect"));
    const auto hasError = reinterpret_cast<HasError>(::dlsym(library, "xcb_connection_has_error"));
    if (!connect || !hasError)
        return;
    constexpr int kInvalidScreen = 6; // XCB_CONN_CLOSED_INVALID_SCREEN
    const StandardErrorCatcher catcher;
    int screen = 0;
    void* connection = connect(display.c_str(), &screen);
    const int error = hasError(connection);
    const std::string answer = error == 0                ? "ok"
                               : error == kInvalidScreen ? "screen " + std::to_string(screen)
                                                         : "refused " + catcher.caught();
    [[maybe_unused]] const ssize_t written = ::write(fd, answer.data(), answer.size());
}

// Why the X display cannot be opened, or nothing. The connection is tried in a child process,
// which is given up when the server does not answer in time.
std::optional<std::string> xProblem(const std::string& display)
{
    if (display.empty())
        return environment("WAYLAND_DISPLAY").empty()
                   ? "no display to open a window on: neither DISPLAY nor WAYLAND_DISPLAY is set"
                   : "no X display to open a window on: DISPLAY is not set";
    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0)
        return std::nullopt;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipe[0]);
        probeXServer(display, pipe[1]);
        ::_exit(0);
    }
    ::close(pipe[1]);
    const std::optional<std::string> answer =
        child > 0 ? readWithinTime(pipe[0]) : std::optional<std::string>("ok");
    ::close(pipe[0]);
    if (child > 0) {
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
    }
    const std::string where = "cannot open the display \"" + display + "\": ";
    if (!answer)
        return where + "the X server does not answer";
    if (answer->rfind("screen ", 0) == 0)
        return where + "the X server has no screen " + answer->substr(7);
    if (answer->rfind("refused ", 0) != 0)
        return std::nullopt; // connected, or nothing known against it
    const std::string reason = answer->substr(8);
    if (reason.empty())
        return where + "no X server answers there";
    return where + "the X server refused the connection (" + reason + ")";
}

// Why the Wayland display cannot be opened, or nothing: the compositor must answer a first
// request (a sync) in time.
std::optional<std::string> waylandProblem(const std::string& name)
{
    const std::string shown = name.empty() ? "wayland-0" : name;
    const std::string where = "cannot open the Wayland display \"" + shown + "\": ";
    const std::string path =
        shown.front() == '/' ? shown : environment("XDG_RUNTIME_DIR") + "/" + shown;
    sockaddr_un address{};
    if (path.size() >= sizeof address.sun_path)
        return where + "the name is too long";
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, path.size());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return std::nullopt; // nothing known against it
    std::optional<std::string> problem;
    // wl_display (object 1) sync (request 0), 12 bytes long, its callback as object 2.
    const std::uint32_t sync[3] = {1, 12u << 16, 2};
    char reply[64];
    pollfd wait{fd, POLLIN, 0};
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        problem = where + "nothing answers there";
    else if (::write(fd, sync, sizeof sync) != static_cast<ssize_t>(sizeof sync) ||
             ::poll(&wait, 1, kAnswerMilliseconds) != 1 || ::read(fd, reply, sizeof reply) <= 0)
        problem = where + "the compositor does not answer";
    ::close(fd);
    return problem;
}

} // namespace

std::optional<std::string> displayProblem(const std::string& platform, const std::string& display)
{
    const std::string x = display.empty() ? environment("DISPLAY") : display;
    std::optional<std::string> problem;
    bool problemIsInstalled = false;
    for (const std::string& name : platformsToTry(platform)) {
        const bool installed = platformInstalled(name);
        std::optional<std::string> found;
        if (!installed)
            found = "the windowing platform \"" + name + "\" is not installed";
        else if (name == "xcb")
            found = xProblem(x);
        else if (name.rfind("wayland", 0) == 0)
            found = waylandProblem(environment("WAYLAND_DISPLAY"));
        if (!found)
            return std::nullopt;
        // The reason a platform that is there could not start says more than a missing one.
        if (!problem || (installed && !problemIsInstalled)) {
            problem = found;
            problemIsInstalled = installed;
        }
    }
    return problem;
}
