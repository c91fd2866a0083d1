// Fuzzes `korr2ld-cli show` (RunShow) with the input as a Sample List file:
// damaged SQLite files, files that are not SQLite at all, and lists of ours
// with wrong record sizes or gaps in the numbering.
//
// Properties checked, in every output format:
// - RunShow returns success or failure, never anything else; a failure is
//   reported on the error stream naming the file, a success prints the
//   records and nothing on the error stream;
// - reading never changes the file;
// - a list that shows in one format shows in every other one too.
#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "cli/ExitCode.h"
#include "cli/ShowCommand.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string directory = fuzz::ScratchPath("lists");
    static const std::string path = directory + "/run12.sdb";
    fuzz::EmptyDirectory(directory);
    ::mkdir(directory.c_str(), 0700);
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    k2ltest::WriteFile(path, content);

    int firstStatus = -1;
    for (const OutputFormat format :
         {OutputFormat::table, OutputFormat::tsv, OutputFormat::csv, OutputFormat::json}) {
        ShowOptions options;
        options.list = path;
        options.format = format;
        std::ostringstream out;
        std::ostringstream err;
        const int status = RunShow(options, out, err);
        FUZZ_CHECK(status == kExitOk || status == kExitFailure);
        if (status == kExitOk) {
            FUZZ_CHECK(err.str().empty());
            FUZZ_CHECK(!out.str().empty() || format == OutputFormat::tsv);
        } else {
            FUZZ_CHECK(err.str().find(path) != std::string::npos);
        }
        FUZZ_CHECK(firstStatus == -1 || status == firstStatus);
        firstStatus = status;
        FUZZ_CHECK(fuzz::ReadFile(path) == content);
    }
    return 0;
}
