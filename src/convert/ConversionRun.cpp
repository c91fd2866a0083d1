#include "convert/ConversionRun.h"

#include <cstdint>
#include <exception>
#include <utility>

#include "convert/ConversionLog.h"
#include "convert/SLConvert.h"
#include "framework/FileException.h"
#include "framework/FileIdentity.h"
#include "framework/PathParts.h"

namespace {

ConversionOutcome Begin(const CSLConvert& convert) {
    ConversionOutcome outcome;
    outcome.input = convert.m_strInput;
    outcome.output = convert.m_strOutput;
    outcome.dryRun = convert.m_bDryRun != FALSE;
    return outcome;
}

// Notes OUTCOME of CONVERT in the conversion log, unless it was a dry run.
void Log(const CSLConvert& convert, ConversionOutcome& outcome) {
    if (outcome.dryRun) {
        return;
    }
    ConversionLogEntry entry;
    // An audit trail names the input whatever the current folder was.
    entry.input = FullPath(convert.m_strInput, SIZE_MAX, PathSeparators::kSlashOnly);
    if (entry.input.empty()) {
        entry.input = convert.m_strInput;
    }
    entry.output = convert.m_strOutput;
    entry.msMethod = convert.m_strMSFile;
    entry.inletMethod = convert.m_strInletFile;
    entry.macro = convert.m_strMacro;
    entry.dataFile = convert.m_strDataFile;
    entry.records = outcome.report.records;
    entry.sampleLines = outcome.report.sampleLines;
    entry.skippedLines = outcome.report.skippedLines;
    entry.warnings = outcome.report.TotalWarningCount();
    entry.created = outcome.status.ok();
    entry.reason = outcome.status.message();
    outcome.logProblem = AppendConversionLog(entry).message();
}

bool EntryExists(const std::string& path) {
    return Exists(path, Links::kDoNotFollow);
}

}  // namespace

ConversionOutcome RunConversion(CSLConvert& convert, const RunWording& wording) {
    ConversionOutcome outcome = Begin(convert);
    if (SameFile(convert.m_strInput, convert.m_strOutput)) {
        outcome.status = Status::Error("It is the input file " + convert.m_strInput + "; " +
                                       wording.otherOutput);
    } else if (!wording.keepExisting.empty() && !convert.m_bReplaceExisting &&
               EntryExists(convert.m_strOutput)) {
        outcome.status =
            Status::Error("It already exists; nothing was changed. " + wording.keepExisting);
    } else {
        try {
            outcome.status =
                convert.Convert() ? Status::Ok() : Status::Error(convert.GetFailureReason());
        } catch (const CFileException& error) {
            outcome.readError = true;
            outcome.status = Status::Error(error.what());
        } catch (const std::exception& error) {
            // Running out of memory, say: the new list was given up as well.
            outcome.status = Status::Error(error.what());
        }
        outcome.report = convert.GetReport();
    }
    Log(convert, outcome);
    return outcome;
}

ConversionOutcome RefuseConversion(const CSLConvert& convert, Status why) {
    ConversionOutcome outcome = Begin(convert);
    outcome.status = std::move(why);
    Log(convert, outcome);
    return outcome;
}
