#include "cli/ConvertCommand.h"

#include <cstring>
#include <exception>
#include <filesystem>
#include <iostream>
#include <memory>
#include <system_error>
#include <utility>

#include "cli/ExitCode.h"
#include "cli/NameRules.h"
#include "cli/OutputPaths.h"
#include "cli/ReportJson.h"
#include "convert/ConversionChecks.h"
#include "convert/ConversionLog.h"
#include "convert/SLConvert.h"
#include "framework/FileIdentity.h"
#include "util/ReportText.h"

namespace {

namespace fs = std::filesystem;

bool Exists(const std::string& path) {
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

// Every name problem, one sentence each, in the order of the dialog's fields.
std::vector<std::string> CheckNames(const ConvertOptions& options, const std::string& dataFile) {
    std::vector<std::string> problems;
    const auto check = [&](const std::string& value, const NameRole& role, bool fromTitle) {
        if (const Status checked = CheckName(value, role, fromTitle); !checked.ok()) {
            problems.push_back(checked.message());
        }
    };
    check(options.msMethod, kMSMethodRole, false);
    check(dataFile, kDataFileRole, !options.dataFile.has_value());
    check(options.inletMethod, kInletMethodRole, false);
    check(options.macro, kMacroRole, false);
    return problems;
}

// One conversion of the command.
struct Job {
    std::string input;
    Result<std::string> output = std::string();  // absolute, or why it cannot be made so
    std::string dataFile;
};

// The lists of a dry-run batch are not written, so the folder holds none
// of them: the ones checked before are added as clash candidates.
void AddPlannedLists(CSLConvert& conversion, const std::vector<ConversionOutcome>& done,
                     const std::vector<Job>& jobs) {
    const std::string base = jobs[done.size()].dataFile.substr(0, conversion.m_nBaseLength);
    for (std::size_t i = 0; i < done.size(); ++i) {
        const std::string other = jobs[i].dataFile.substr(0, conversion.m_nBaseLength);
        if (done[i].status.ok() && done[i].report.records > 0 && SameDataFileBase(base, other)) {
            conversion.GetReport().AddClashCandidate(
                ClashCandidate{done[i].output, 1, other + "001"});
        }
    }
}

ConversionOutcome Convert(const ConvertOptions& options, const Job& job,
                          const std::vector<ConversionOutcome>& done,
                          const std::vector<Job>& jobs) {
    ConversionOutcome outcome;
    outcome.input = job.input;
    outcome.dryRun = options.dryRun;
    if (!job.output.ok()) {
        outcome.output = job.input;
        outcome.status = job.output.status();
        return outcome;
    }
    const std::string& output = job.output.value();
    outcome.output = output;
    // An OUTPUT the record library would write under another name is
    // refused by the conversion before anything is touched; any other
    // OUTPUT is the file the library writes, so it is the one checked here.
    if (Exists(output)) {
        if (SameFile(job.input, output)) {
            outcome.status =
                Status::Error("It is the input file " + job.input + "; give another OUTPUT.");
            return outcome;
        }
        if (!options.overwrite) {
            outcome.status = Status::Error(
                "It already exists; nothing was changed. Give --overwrite to "
                "replace it.");
            return outcome;
        }
    }

    CSLConvert conversion(job.input, output);
    conversion.m_strMSFile = options.msMethod;
    conversion.m_strInletFile = options.inletMethod;
    conversion.m_strMacro = options.macro;
    conversion.m_strDataFile = job.dataFile;
    conversion.m_bReplaceExisting = options.overwrite ? TRUE : FALSE;
    conversion.m_bDryRun = options.dryRun ? TRUE : FALSE;
    conversion.m_bStrict = options.strict ? TRUE : FALSE;
    if (options.dryRun) {
        AddPlannedLists(conversion, done, jobs);
    }
    try {
        outcome.status =
            conversion.Convert() ? Status::Ok() : Status::Error(conversion.GetFailureReason());
    } catch (const std::exception& error) {
        // A read error of the input (CFileException, whose text names the
        // file and line), or running out of memory: the new list was given
        // up, and what was at OUTPUT before is left as it was.
        outcome.status = Status::Error(error.what());
    }
    outcome.notices = conversion.GetWarnings();
    outcome.report = conversion.GetReport();
    return outcome;
}

// Counts, warnings and the result of OUTCOME, as lines for a person.
void PrintOutcome(const ConversionOutcome& outcome, bool batch, bool json, std::ostream& out,
                  std::ostream& err) {
    for (const std::string& line : ReportWarningLines(outcome.report)) {
        err << line << '\n';
    }
    for (const std::string& notice : outcome.notices) {
        err << "korr2ld-cli convert: warning: " << notice << '\n';
    }
    if (!outcome.status.ok()) {
        err << "Sample List " << outcome.output << " could not be created" << (batch ? ": " : "\n")
            << outcome.status.message() << '\n';
        return;
    }
    err << ReportCountsLine(outcome.report, outcome.dryRun) << '\n';
    std::ostream& result = json ? err : out;
    if (outcome.dryRun) {
        result << "Sample List " << outcome.output
               << " checked: a conversion would create it; nothing was written\n";
    } else {
        result << "Sample List " << outcome.output << " created successfully\n";
    }
}

// Notes OUTCOME of JOB in the conversion log; a log that cannot be written
// is said once and changes nothing else.
void Log(const ConvertOptions& options, const Job& job, const ConversionOutcome& outcome,
         std::ostream& err) {
    ConversionLogEntry entry;
    entry.input = job.input;
    entry.output = outcome.output;
    entry.msMethod = options.msMethod;
    entry.inletMethod = options.inletMethod;
    entry.macro = options.macro;
    entry.dataFile = job.dataFile;
    entry.TakeCounts(outcome.report, outcome.notices.size());
    entry.created = outcome.status.ok();
    entry.reason = outcome.status.message();
    if (const Status logged = AppendConversionLog(entry); !logged.ok()) {
        err << "korr2ld-cli convert: note: " << logged.message() << '\n';
    }
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
        "With --output-dir, every FILE is an export, converted into DIR/<title>.sdb.\n"
        "The list appears only when it is complete; a conversion that fails leaves\n"
        "what was at OUTPUT as it was. Warnings (file:line:column: warning: ...) and\n"
        "the counts go to standard error.\n"
        "Exit status: 0 created (or checked); 1 not created (an existing OUTPUT\n"
        "without --overwrite is left as it is), for any FILE of a batch; 2 usage\n"
        "error, nothing touched.");
    command
        ->add_option("FILES", options->files,
                     "INPUT [OUTPUT]: the Korrin export and the Sample List to create; with "
                     "--output-dir, the exports")
        ->required();
    command->add_option("--output-dir", options->outputDir,
                        "convert every FILE into DIR/<title>.sdb");
    command->add_option("--ms", options->msMethod, "MS method name");
    command->add_option("--inlet", options->inletMethod, "inlet method name");
    command->add_option("--macro", options->macro, "macro name");
    command->add_option_function<std::string>(
        "--data", [options](const std::string& value) { options->dataFile = value; },
        "data file base name (default: the input's title)");
    command->add_flag("--overwrite", options->overwrite, "replace an existing OUTPUT");
    command->add_flag("--dry-run", options->dryRun,
                      "read, check and report; write nothing (no list, no location change)");
    command->add_flag("--strict", options->strict,
                      "treat any warning as a failure: nothing is written");
    command->add_option("--report", options->report, "json: the report as JSON on standard output")
        ->check(CLI::IsMember({"json"}));
    command->callback(
        [options, &exitCode] { exitCode = RunConvert(*options, std::cout, std::cerr); });
}

int RunConvert(const ConvertOptions& options, std::ostream& out, std::ostream& err) {
    const bool batch = !options.outputDir.empty();
    if (!batch && options.files.size() > 2) {
        err << "korr2ld-cli convert: give INPUT [OUTPUT], or --output-dir DIR to convert several "
               "exports\n";
        return kExitUsage;
    }

    std::vector<Job> jobs;
    const std::size_t inputs = batch ? options.files.size() : 1;
    for (std::size_t i = 0; i < inputs; ++i) {
        Job job;
        job.input = options.files[i];
        job.dataFile = options.dataFile.value_or(InputTitle(job.input));
        const std::vector<std::string> problems = CheckNames(options, job.dataFile);
        if (!problems.empty()) {
            for (const std::string& problem : problems) {
                err << "korr2ld-cli convert: " << (batch ? job.input + ": " : "") << problem
                    << '\n';
            }
            return kExitUsage;
        }
        if (batch) {
            job.output = AbsoluteOutputPath(
                (fs::path(options.outputDir) / (InputTitle(job.input) + ".sdb")).string());
        } else {
            job.output = options.files.size() < 2 ? DefaultOutputPath(job.input)
                                                  : AbsoluteOutputPath(options.files[1]);
        }
        jobs.push_back(std::move(job));
    }

    const bool json = options.report == "json";
    std::vector<ConversionOutcome> outcomes;
    bool failed = false;
    for (const Job& job : jobs) {
        ConversionOutcome outcome = Convert(options, job, outcomes, jobs);
        PrintOutcome(outcome, batch, json, out, err);
        if (!options.dryRun) {
            Log(options, job, outcome, err);
        }
        failed = failed || !outcome.status.ok();
        outcomes.push_back(std::move(outcome));
    }
    if (json) {
        WriteReportJson(out, outcomes);
    }
    return failed ? kExitFailure : kExitOk;
}
