// `korr2ld-cli show`: the records of a Sample List with their fields by name.
#pragma once

#include <ostream>
#include <string>

#include <CLI/CLI.hpp>

#include "cli/RecordPrinter.h"

struct ShowOptions {
    std::string list;
    OutputFormat format = OutputFormat::table;
};

// Adds the subcommand to APP; when it is chosen, it runs after parsing and
// leaves its exit status in EXIT_CODE.
void AddShowCommand(CLI::App& app, int& exitCode);

// Reads every record of the list through the record library and prints it
// on OUT; a list that cannot be read is reported on ERR, naming the file and
// the record library's reason. Returns the exit status.
int RunShow(const ShowOptions& options, std::ostream& out, std::ostream& err);
