#include "cli/ShowCommand.h"

#include <iostream>
#include <map>
#include <memory>

#include "cli/ExitCode.h"
#include "samplelist/SampleListReader.h"

namespace {

// Hands every record of READER to VISIT(number, row); false when a record
// cannot be read (the reader then says why).
template <typename Visit>
bool ForEachRecord(SampleListReader& reader, Visit visit) {
    SAMPLE_RECORD record;
    for (std::int32_t number = 1; number <= reader.GetRecordCount(); ++number) {
        if (!reader.Read(number, record)) {
            return false;
        }
        visit(number, ReadRecordRow(record));
    }
    return true;
}

const std::map<std::string, OutputFormat> kFormats = {{"table", OutputFormat::table},
                                                      {"tsv", OutputFormat::tsv},
                                                      {"csv", OutputFormat::csv},
                                                      {"json", OutputFormat::json}};

int CannotRead(std::ostream& err, const SampleListReader& reader) {
    err << "Cannot read the Sample List " << reader.GetPath() << ": " << reader.GetError() << '\n';
    return kExitFailure;
}

}  // namespace

void AddShowCommand(CLI::App& app, int& exitCode) {
    auto options = std::make_shared<ShowOptions>();
    CLI::App* command = app.add_subcommand("show", "Print the records of a Sample List");
    command->footer(
        "Fields: data file, fraction, MS method, inlet method, macro, running number,\n"
        "column-5 text and value, as written. table shows bytes other than printable\n"
        "ASCII as \\xNN; tsv escapes backslash, tab, LF and CR as \\\\ \\t \\n \\r; csv\n"
        "quotes after RFC 4180; json writes every byte as the code point of the same\n"
        "value (\\u00NN for controls and from 0x7F on): encoded as latin-1 it gives\n"
        "the bytes back.\n"
        "Exit status: 0 shown; 1 the file is missing or not a Sample List; 2 usage.");
    command->add_option("LIST", options->list, "Sample List file")->required();
    command
        ->add_option_function<std::string>(
            "--format", [options](const std::string& name) { options->format = kFormats.at(name); },
            "table (default), tsv, csv or json")
        ->type_name("FORMAT")
        ->check(CLI::IsMember({"table", "tsv", "csv", "json"}));
    command->callback([options, &exitCode] { exitCode = RunShow(*options, std::cout, std::cerr); });
}

int RunShow(const ShowOptions& options, std::ostream& out, std::ostream& err) {
    SampleListReader reader;
    if (!reader.Open(options.list)) {
        return CannotRead(err, reader);
    }
    const std::unique_ptr<RecordPrinter> printer = MakeRecordPrinter(options.format);
    if (printer->NeedsMeasuring() &&
        !ForEachRecord(reader,
                       [&](std::int32_t, const RecordRow& row) { printer->Measure(row); })) {
        return CannotRead(err, reader);
    }
    printer->Begin(out);
    if (!ForEachRecord(reader, [&](std::int32_t number, const RecordRow& row) {
            printer->Row(out, number, row);
        })) {
        out.flush();
        return CannotRead(err, reader);
    }
    printer->End(out);
    out.flush();
    if (!out) {
        err << "Cannot write the records of " << reader.GetPath() << '\n';
        return kExitFailure;
    }
    return kExitOk;
}
