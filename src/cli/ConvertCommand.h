// `korr2ld-cli convert`: the conversion dialog's Convert, headless, for one
// export or a batch of them.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

struct ConvertOptions {
    // INPUT [OUTPUT], or with outputDir every export of the batch.
    std::vector<std::string> files;
    std::string outputDir;  // empty: no batch
    std::string msMethod;
    std::string inletMethod;
    std::string macro;
    std::optional<std::string> dataFile;  // nothing: each input's title
    bool overwrite = false;
    bool dryRun = false;
    bool strict = false;
    std::string report;  // "" or "json"
};

// Adds the subcommand to APP; when it is chosen, it runs after parsing and
// leaves its exit status in EXIT_CODE.
void AddConvertCommand(CLI::App& app, int& exitCode);

// Checks the names, derives each output path, refuses an existing output
// without OVERWRITE, converts (or, in a dry run, only reads and checks), and
// reports: a result line per conversion on OUT, counts and warnings on ERR,
// or with report "json" the whole report as JSON on OUT and the rest on
// ERR. Returns the exit status: 1 when any conversion failed.
int RunConvert(const ConvertOptions& options, std::ostream& out, std::ostream& err);
