#include "cli/ConvertPlan.h"

#include <cstdint>
#include <utility>

#include "cli/NameRules.h"
#include "cli/TextEscape.h"
#include "framework/FileIdentity.h"
#include "framework/PathParts.h"
#include "util/OutputName.h"

namespace {

constexpr const char* kPrefix = "korr2ld-cli convert: ";

// Every name problem, one sentence each, in the order of the dialog's fields.
// CHECK_DATA_FILE false leaves out the data file name (a title already
// refused for the same character is not told about twice).
std::vector<std::string> CheckNames(const ConvertOptions& options, const std::string& dataFile,
                                    bool checkDataFile) {
    std::vector<std::string> problems;
    const auto check = [&](const std::string& value, const NameRole& role, bool fromTitle) {
        if (const Status checked = CheckName(value, role, fromTitle); !checked.ok()) {
            problems.push_back(checked.message());
        }
    };
    check(options.msMethod, kMSMethodRole, false);
    if (checkDataFile) {
        check(dataFile, kDataFileRole, !options.dataFile.has_value());
    }
    check(options.inletMethod, kInletMethodRole, false);
    check(options.macro, kMacroRole, false);
    return problems;
}

// The problems of JOB on its own.
std::vector<std::string> CheckJob(const ConvertOptions& options, const ConvertJob& job, bool batch,
                                  bool derived) {
    std::vector<std::string> problems;
    const Status title = CheckDerivedTitle(InputTitle(job.input));
    const bool titleRefused = derived && !title.ok();
    if (titleRefused) {
        problems.push_back(job.input + ": " + title.message() +
                           (batch ? "; rename it" : "; rename it, or give OUTPUT"));
    }
    const bool dataFileIsTheTitle = !options.dataFile.has_value();
    for (std::string& problem :
         CheckNames(options, job.dataFile, !(titleRefused && dataFileIsTheTitle))) {
        problems.push_back((batch ? job.input + ": " : "") + std::move(problem));
    }
    if (const Status text = CheckOutputText(job.output.path); !text.ok()) {
        problems.push_back("Sample List " + EscapeForTable(job.output.path) + ": " +
                           text.message());
    }
    return problems;
}

// The problems between the jobs of a batch: one list written twice, or read
// by one conversion and written by another.
std::vector<std::string> CheckBatch(const std::vector<ConvertJob>& jobs) {
    std::vector<std::string> problems;
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        const std::string input = FullPath(jobs[i].input, SIZE_MAX, PathSeparators::kSlashOnly);
        for (std::size_t j = 0; j < jobs.size(); ++j) {
            const std::string& output = jobs[j].output.path;
            if (i == j || !jobs[j].output.status.ok()) {
                continue;
            }
            if (i < j && jobs[i].output.status.ok() && jobs[i].output.path == output) {
                problems.push_back(jobs[i].input + " and " + jobs[j].input +
                                   " would both be converted into " + output +
                                   "; convert them separately");
            } else if (input == output || SameFile(jobs[i].input, output)) {
                problems.push_back(jobs[i].input + " is the Sample List " + output + " that " +
                                   jobs[j].input +
                                   " would be converted into; convert them separately");
            }
        }
    }
    return problems;
}

}  // namespace

std::optional<std::vector<ConvertJob>> PlanConversions(const ConvertOptions& options,
                                                       std::ostream& err) {
    const bool batch = !options.outputDir.empty();
    const bool derived = batch || options.files.size() < 2;
    std::vector<ConvertJob> jobs;
    std::vector<std::string> problems;
    const std::size_t inputs = batch ? options.files.size() : 1;
    for (std::size_t i = 0; i < inputs && problems.empty(); ++i) {
        ConvertJob job;
        job.input = options.files[i];
        job.dataFile = options.dataFile.value_or(InputTitle(job.input));
        if (batch) {
            job.output = BatchOutputPath(options.outputDir, job.input);
        } else {
            job.output = derived ? DefaultOutputPath(job.input) : GivenOutputPath(options.files[1]);
        }
        problems = CheckJob(options, job, batch, derived);
        jobs.push_back(std::move(job));
    }
    if (problems.empty()) {
        problems = CheckBatch(jobs);
    }
    for (const std::string& problem : problems) {
        err << kPrefix << problem << '\n';
    }
    if (!problems.empty()) {
        return std::nullopt;
    }
    return jobs;
}
