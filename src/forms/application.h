#pragma once

// Starts the program: the application title, the five windows in order, then the message loop
// until the main window closes. Returns the process exit code.
int runKvizomir(int argc, char** argv);
