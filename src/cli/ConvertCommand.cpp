#include "cli/ConvertCommand.h"

#include <exception>
#include <filesystem>
#include <iostream>
#include <memory>
#include <system_error>
#include <vector>

#include "cli/ExitCode.h"
#include "cli/NameRules.h"
#include "cli/OutputPaths.h"
#include "convert/SLConvert.h"

namespace {

namespace fs = std::filesystem;

bool Exists(const std::string& path) {
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    return fs::equivalent(a, b, error) && !error;
}

// Every name problem, one sentence each, in the order of the dialog's fields.
std::vector<std::string> CheckNames(const ConvertOptions& options, const std::string& dataFile) {
    std::vector<std::string> problems;
    const auto check = [&](const std::string& value, const NameRole& role, bool fromTitle) {
        if (auto problem = CheckName(value, role, fromTitle)) {
            problems.push_back(*problem);
        }
    };
    check(options.msMethod, kMSMethodRole, false);
    check(dataFile, kDataFileRole, !options.dataFile.has_value());
    check(options.inletMethod, kInletMethodRole, false);
    check(options.macro, kMacroRole, false);
    return problems;
}

int Failed(std::ostream& err, const std::string& output, const std::string& cause) {
    err << "Sample List " << output << " could not be created\n" << cause << '\n';
    return kExitFailure;
}

}  // namespace

void AddConvertCommand(CLI::App& app, int& exitCode) {
    auto options = std::make_shared<ConvertOptions>();
    CLI::App* command = app.add_subcommand(
        "convert", "Convert a Korrin export into a new Sample List, as the dialog's Convert does");
    command->footer(
        "OUTPUT defaults to the input's directory and title with the extension sdb;\n"
        "--data defaults to the input's title. Names take at most 8 printable ASCII\n"
        "characters and no '/' or '\\'. OUTPUT's directory and extension become the\n"
        "data system's sample-list location, as with the dialog.\n"
        "The list appears only when it is complete; a conversion that fails leaves\n"
        "what was at OUTPUT as it was.\n"
        "Exit status: 0 created; 1 not created (an existing OUTPUT without\n"
        "--overwrite is left as it is); 2 usage error, nothing touched.");
    command->add_option("INPUT", options->input, "Korrin export (tab-delimited text)")->required();
    command->add_option("OUTPUT", options->output, "Sample List to create");
    command->add_option("--ms", options->msMethod, "MS method name");
    command->add_option("--inlet", options->inletMethod, "inlet method name");
    command->add_option("--macro", options->macro, "macro name");
    command->add_option_function<std::string>(
        "--data", [options](const std::string& value) { options->dataFile = value; },
        "data file base name (default: the input's title)");
    command->add_flag("--overwrite", options->overwrite, "replace an existing OUTPUT");
    command->callback(
        [options, &exitCode] { exitCode = RunConvert(*options, std::cout, std::cerr); });
}

int RunConvert(const ConvertOptions& options, std::ostream& out, std::ostream& err) {
    const std::string dataFile = options.dataFile.value_or(InputTitle(options.input));
    const std::vector<std::string> problems = CheckNames(options, dataFile);
    if (!problems.empty()) {
        for (const std::string& problem : problems) {
            err << "korr2ld-cli convert: " << problem << '\n';
        }
        return kExitUsage;
    }

    const std::string output = options.output.empty() ? DefaultOutputPath(options.input)
                                                      : AbsoluteOutputPath(options.output);
    if (output.empty()) {
        return Failed(err, options.output.empty() ? options.input : options.output,
                      "The output path cannot be made absolute, or is longer than 259 "
                      "characters.");
    }
    // An OUTPUT the record library would write under another name is
    // refused by the conversion before anything is touched; any other
    // OUTPUT is the file the library writes, so it is the one checked here.
    if (Exists(output)) {
        if (SameFile(options.input, output)) {
            return Failed(err, output,
                          "It is the input file " + options.input + "; give another OUTPUT.");
        }
        if (!options.overwrite) {
            err << "Sample List " << output
                << " already exists; nothing was changed. Give --overwrite to replace it.\n";
            return kExitFailure;
        }
    }

    CSLConvert conversion(options.input, output);
    conversion.m_strMSFile = options.msMethod;
    conversion.m_strInletFile = options.inletMethod;
    conversion.m_strMacro = options.macro;
    conversion.m_strDataFile = dataFile;
    conversion.m_bReplaceExisting = options.overwrite ? TRUE : FALSE;
    try {
        const BOOL converted = conversion.Convert();
        for (const std::string& warning : conversion.GetWarnings()) {
            err << "korr2ld-cli convert: warning: " << warning << '\n';
        }
        if (!converted) {
            return Failed(err, output, conversion.GetFailureReason());
        }
    } catch (const std::exception& error) {
        // A read error of the input (CFileException, whose text names the
        // file and line), or running out of memory: the new list was given
        // up, and what was at OUTPUT before is left as it was.
        return Failed(err, output, error.what());
    }

    const ConvertSummary& summary = conversion.GetSummary();
    out << "Sample List " << output << " created successfully\n"
        << summary.recordsWritten << " records written, " << summary.sampleLines
        << " sample lines read, " << summary.skippedLines << " other lines skipped\n";
    return kExitOk;
}
