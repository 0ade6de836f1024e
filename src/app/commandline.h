#pragma once

#include <string>

// What the command line asks of the program.
struct CommandLine {
    enum class Action { Play, CheckQuestions, Help, Version, Mistake };
    Action action = Action::Play;
    // The file of --questions or of a plain argument (to play) or of --check-questions (to
    // check), its name byte for byte as given; empty for the bank.
    std::string questionFile;
    // The file to play came as a plain argument, as a file manager passes it: when it cannot be
    // played, the built-in questions are played without asking.
    bool plainArgument = false;
    // What to print for Help, Version and Mistake, ready with its line ends.
    std::string text;
    // The toolkit's -platform and -display, which the toolkit reads itself; empty when not given.
    std::string platform;
    std::string display;
};

// Reads the arguments (argv[0] first) without needing an application object, leaving the
// toolkit's own options (see qtoptions.h) to the toolkit. --help and --version win over
// everything else; an unknown option, a missing file name, a second file, an argument beside
// --check-questions or both file options together are a Mistake that says so and points at
// --help; an empty file name is a Mistake of one line.
CommandLine readCommandLine(int argc, char** argv);

// Carries out what needs no window: prints the help, the version or the mistake, or checks a
// question file. Returns the process exit status.
int runWithoutWindow(const CommandLine& command, int argc, char** argv);
