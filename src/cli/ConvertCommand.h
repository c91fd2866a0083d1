// `korr2ld-cli convert`: the conversion dialog's Convert, headless.
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include <CLI/CLI.hpp>

struct ConvertOptions {
    std::string input;
    std::string output;  // empty: derived from the input
    std::string msMethod;
    std::string inletMethod;
    std::string macro;
    std::optional<std::string> dataFile;  // nothing: the input's title
    bool overwrite = false;
};

// Adds the subcommand to APP; when it is chosen, it runs after parsing and
// leaves its exit status in EXIT_CODE.
void AddConvertCommand(CLI::App& app, int& exitCode);

// Checks the names, derives the output path, refuses an existing output
// without OVERWRITE and the input itself as output, converts, and reports
// on OUT (success) or ERR (everything else). Returns the exit status.
int RunConvert(const ConvertOptions& options, std::ostream& out, std::ostream& err);
