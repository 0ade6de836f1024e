#include "qtoptions.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

struct QtOption {
    std::string_view name;
    bool takesValue;
};

// Every option QGuiApplication, QApplication and their X platform read from the command line.
constexpr std::array kQtOptions{
    QtOption{"platform", true},        QtOption{"platformpluginpath", true},
    QtOption{"platformtheme", true},   QtOption{"plugin", true},
    QtOption{"qwindowgeometry", true}, QtOption{"qwindowtitle", true},
    QtOption{"qwindowicon", true},     QtOption{"geometry", true},
    QtOption{"title", true},           QtOption{"icon", true},
    QtOption{"session", true},         QtOption{"style", true},
    QtOption{"stylesheet", true},      QtOption{"qmljsdebugger", true},
    QtOption{"display", true},         QtOption{"name", true},
    QtOption{"visual", true},          QtOption{"reverse", false},
    QtOption{"testability", false},    QtOption{"widgetcount", false},
    QtOption{"qdevel", false},         QtOption{"qdebug", false},
    QtOption{"nograb", false},         QtOption{"dograb", false},
    QtOption{"sync", false},
};

// These three may also carry their value after "=".
bool takesValueAfterEquals(std::string_view name)
{
    return name == "style" || name == "stylesheet" || name == "qmljsdebugger";
}

const QtOption* qtOption(std::string_view name)
{
    const auto found = std::find_if(kQtOptions.begin(), kQtOptions.end(),
                                    [name](const QtOption& option) { return option.name == name; });
    return found == kQtOptions.end() ? nullptr : &*found;
}

} // namespace

QtOptions splitQtOptions(int argc, char** argv)
{
    QtOptions split;
    split.rest.emplace_back(argc > 0 && argv[0] ? argv[0] : "mudracq");
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i] ? argv[i] : "";
        if (argument.size() < 2 || argument[0] != '-') {
            split.rest.emplace_back(argument);
            continue;
        }
        const bool twoDashes = argument[1] == '-';
        const std::string_view word = argument.substr(twoDashes ? 2 : 1);
        const std::string_view name = word.substr(0, word.find('='));
        const QtOption* option = qtOption(name);
        if (option && name.size() < word.size() && takesValueAfterEquals(name))
            continue;
        if (option && name.size() == word.size()) {
            if (!option->takesValue)
                continue;
            if (i + 1 == argc) {
                split.missingValue = argument;
                continue;
            }
            const std::string value = argv[++i];
            if (name == "platform")
                split.platform = value;
            else if (name == "display")
                split.display = value;
            continue;
        }
        if (!twoDashes && argument.size() > 2) {
            if (split.unknownSingleDash.empty())
                split.unknownSingleDash = word;
            continue;
        }
        split.rest.emplace_back(argument);
    }
    return split;
}
