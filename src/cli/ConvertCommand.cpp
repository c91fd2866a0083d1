#include "cli/ConvertCommand.h"

#include <iostream>
#include <memory>
#include <utility>

#include "cli/ConvertPlan.h"
#include "cli/ExitCode.h"
#include "cli/ReportJson.h"
#include "convert/ConversionChecks.h"
#include "convert/ConversionRun.h"
#include "convert/SLConvert.h"
#include "util/ReportText.h"

namespace {

// The lists of a dry-run batch are not written, so the folder holds none
// of them: the ones checked before are added as clash candidates.
void AddPlannedLists(CSLConvert& conversion, const std::vector<ConversionOutcome>& done,
                     const std::vector<ConvertJob>& jobs) {
    const std::string base = jobs[done.size()].dataFile.substr(0, conversion.m_nBaseLength);
    for (std::size_t i = 0; i < done.size(); ++i) {
        const std::string other = jobs[i].dataFile.substr(0, conversion.m_nBaseLength);
        if (done[i].status.ok() && done[i].report.records > 0 && SameDataFileBase(base, other)) {
            conversion.GetReport().AddClashCandidate(
                ClashCandidate{done[i].output, 1, other + "001"});
        }
    }
}

ConversionOutcome Convert(const ConvertOptions& options, const ConvertJob& job,
                          const std::vector<ConversionOutcome>& done,
                          const std::vector<ConvertJob>& jobs) {
    CSLConvert conversion(job.input, job.output.path);
    conversion.m_strMSFile = options.msMethod;
    conversion.m_strInletFile = options.inletMethod;
    conversion.m_strMacro = options.macro;
    conversion.m_strDataFile = job.dataFile;
    conversion.m_bReplaceExisting = options.overwrite ? TRUE : FALSE;
    conversion.m_bDryRun = options.dryRun ? TRUE : FALSE;
    conversion.m_bStrict = options.strict ? TRUE : FALSE;
    if (!job.output.status.ok()) {
        return RefuseConversion(conversion, job.output.status);
    }
    if (options.dryRun) {
        AddPlannedLists(conversion, done, jobs);
    }
    RunWording wording;
    wording.otherOutput = "give another OUTPUT.";
    wording.keepExisting = "Give --overwrite to replace it.";
    return RunConversion(conversion, wording);
}

// Counts, warnings and the result of OUTCOME, as lines for a person.
void PrintOutcome(const ConversionOutcome& outcome, bool batch, bool json, std::ostream& out,
                  std::ostream& err) {
    for (const std::string& line : ReportWarningLines(outcome.report)) {
        err << line << '\n';
    }
    for (const ReportNotice& notice : outcome.report.Notices()) {
        err << "korr2ld-cli convert: warning: " << VisibleText(notice.sentence) << '\n';
    }
    if (!outcome.status.ok()) {
        err << "Sample List " << outcome.output << " could not be created" << (batch ? ": " : "\n")
            << outcome.status.message() << '\n';
    } else {
        err << ReportCountsLine(outcome.report, outcome.dryRun) << '\n';
        std::ostream& result = json ? err : out;
        if (outcome.dryRun) {
            result << "Sample List " << outcome.output
                   << " checked: a conversion would create it; nothing was written\n";
        } else {
            result << "Sample List " << outcome.output << " created successfully\n";
        }
    }
    // A log that cannot be written is said once and changes nothing else.
    if (!outcome.logProblem.empty()) {
        err << "korr2ld-cli convert: note: " << outcome.logProblem << '\n';
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
        "A batch in which two exports would give the same list, or one export is\n"
        "the list of another, is refused before anything is written.\n"
        "Exit status: 0 created (or checked); 1 not created (an existing OUTPUT\n"
        "without --overwrite is left as it is), for any FILE of a batch; 2 usage\n"
        "error (names, an export whose name holds '\\' without OUTPUT, a path\n"
        "holding a control character, a batch refused as above), nothing touched.");
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
    const std::optional<std::vector<ConvertJob>> jobs = PlanConversions(options, err);
    if (!jobs) {
        return kExitUsage;
    }

    const bool json = options.report == "json";
    std::vector<ConversionOutcome> outcomes;
    bool failed = false;
    for (const ConvertJob& job : *jobs) {
        ConversionOutcome outcome = Convert(options, job, outcomes, *jobs);
        PrintOutcome(outcome, batch, json, out, err);
        failed = failed || !outcome.status.ok();
        outcomes.push_back(std::move(outcome));
    }
    if (json) {
        WriteReportJson(out, outcomes);
    }
    return failed ? kExitFailure : kExitOk;
}
