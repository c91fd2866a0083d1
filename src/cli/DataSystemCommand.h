// `korr2ld-cli data-system`: where the programs load the data system's own
// libraries from (convert/DataSystemLoader.h). Without a subcommand it
// prints the folder and how it was chosen, or that the stand-ins built into
// the program are used; `set FOLDER` stores the folder in Korr2LD.INI (an
// empty FOLDER forgets it). It loads nothing itself, so that a folder that
// cannot be used can be put right with it.
#pragma once

#include <ostream>
#include <string>

#include <CLI/CLI.hpp>

// Adds `data-system` to APP; it runs after parsing and leaves its exit
// status in EXIT_CODE. Its name, for the program's start-up to skip the
// loading: kDataSystemCommand.
void AddDataSystemCommand(CLI::App& app, int& exitCode);

inline constexpr const char* kDataSystemCommand = "data-system";

int RunDataSystemShow(const std::string& option, std::ostream& out);
int RunDataSystemSet(const std::string& folder, std::ostream& out, std::ostream& err);
