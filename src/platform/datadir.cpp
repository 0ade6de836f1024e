#include "datadir.h"

#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string homeDirectory()
{
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir)
        return entry->pw_dir;
    return "/tmp";
}

void makeFolders(const std::string& path)
{
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1))
        ::mkdir(path.substr(0, slash).c_str(), 0700);
    ::mkdir(path.c_str(), 0700);
}

} // namespace

std::string dataDirectory()
{
    const char* xdg = std::getenv("XDG_DATA_HOME");
    const std::string base =
        (xdg && xdg[0] == '/') ? std::string(xdg) : homeDirectory() + "/.local/share";
    const std::string folder = base + "/MudracQ";
    makeFolders(folder);
    return folder;
}
