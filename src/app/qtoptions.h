#pragma once

#include <string>
#include <vector>

// A command line with the toolkit's own options taken out. The toolkit reads every argument that
// begins with one or two dashes and names one of its options (-platform, -style, -reverse,
// -session, -display, ...), wherever it stands, and takes the argument after it as its value
// when it has one; the program reads what is left.
struct QtOptions {
    std::vector<std::string> rest; // argv[0] and the arguments left for the program, as bytes
    std::string platform;          // the value of -platform, empty when not given
    std::string display;           // the value of -display, empty when not given
    std::string missingValue;      // a toolkit option given last without its value
    std::string unknownSingleDash; // the first other word after one dash, without it
};

// Splits argv (argv[0] first) as described above. A word after one dash that is not the
// toolkit's and not one of the program's single letters (-h, -v) is unknown: the program's own
// options are written with two dashes.
QtOptions splitQtOptions(int argc, char** argv);
