#include "cli/ShowCommand.h"

#include <iostream>
#include <map>
#include <memory>

#include "cli/ExitCode.h"
#include "samplelist/SampleListReader.h"

namespace {

// Hands every record of READER to VISIT(number, row); a failure when a
// record cannot be read.
template <typename Visit>
Status ForEachRecord(SampleListReader& reader, Visit visit) {
    SAMPLE_RECORD record;
    for (std::int32_t number = 1; number <= reader.GetRecordCount(); ++number) {
        if (Status read = reader.Read(number, record); !read.ok()) {
            return read;
        }
        visit(number, ReadRecordRow(record));
    }
    return Status::Ok();
}

const std::map<std::string, OutputFormat> kFormats = {{"table", OutputFormat::table},
                                                      {"tsv", OutputFormat::tsv},
                                                      {"csv", OutputFormat::csv},
                                                      {"json", OutputFormat::json}};

int CannotRead(std::ostream& err, const SampleListReader& reader, const Status& why) {
    err << "Cannot read the Sample List " << reader.GetPath() << ": " << why.message() << '\n';
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
        "Records after the first show their data file, MS method, inlet method,\n"
        "macro and number in brackets ([plate002]): the data system expects a\n"
        "list's later rows in that form, so the conversion writes them so\n"
        "(docs/sample-list-format.md).\n"
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
    if (const Status opened = reader.Open(options.list); !opened.ok()) {
        return CannotRead(err, reader, opened);
    }
    const std::unique_ptr<RecordPrinter> printer = MakeRecordPrinter(options.format);
    if (printer->NeedsMeasuring()) {
        const Status measured = ForEachRecord(
            reader, [&](std::int32_t, const RecordRow& row) { printer->Measure(row); });
        if (!measured.ok()) {
            return CannotRead(err, reader, measured);
        }
    }
    printer->Begin(out);
    const Status shown = ForEachRecord(
        reader, [&](std::int32_t number, const RecordRow& row) { printer->Row(out, number, row); });
    if (!shown.ok()) {
        out.flush();
        return CannotRead(err, reader, shown);
    }
    printer->End(out);
    out.flush();
    if (!out) {
        err << "Cannot write the records of " << reader.GetPath() << '\n';
        return kExitFailure;
    }
    return kExitOk;
}
