#pragma once

#include <memory>

class QtResourceProvider;
class SystemClock;
class TForm1;
struct PlayedFile;

// The running program: its resources, its clock and the five windows, created in order (the
// main window first, which loads the bank and the Top 10 and starts a game) and alive until it
// ends. A QApplication must exist first. A question file, when given, is played in place of the
// built-in bank.
class Kvizomir {
public:
    explicit Kvizomir(const PlayedFile* questions = nullptr);
    ~Kvizomir();

    TForm1& mainWindow() { return *m_form1; }

private:
    std::unique_ptr<QtResourceProvider> m_resources;
    std::unique_ptr<SystemClock> m_clock;
    std::unique_ptr<TForm1> m_form1; // and the four dialogs it parents
};

// Sets up the application object: its title and icon.
void setUpApplication();

// Starts the program as its command line asks: answers --help, --version and
// --check-questions without a window, says so in one line when no display can be opened, and
// otherwise runs the message loop until the main window closes. Returns the process exit code.
int runKvizomir(int argc, char** argv);
