#pragma once

#include <string>
#include <vector>

/// What a command line asks of the program before any window exists.
enum class StartRequest { OpenWindow, PrintHelp, PrintVersion };

/// -h or --help, and --version, print and exit wherever they stand, as other
/// Linux programs do; every other line is the window's (a model whose name
/// looks like an option opens as ./--help).
StartRequest StartRequestOf(const std::vector<std::string>& arguments);

/// What `korvel --help` prints.
extern const char* const kKorvelHelp;

/// Qt's file dialog keeps its folders and history in the user's
/// QtProject.conf; after this it keeps them only while the program runs.
void KeepQtSettingsInMemory();
