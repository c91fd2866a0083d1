// A conversion in a process of its own, for the tests that kill a
// conversion, run two at once, or measure one:
//
//   convert_probe INPUT OUTPUT [DATAFILE]
//
// converts INPUT into the Sample List OUTPUT with the MS method MSMETH1,
// the inlet method LC30, the macro ACQ and the data file base name DATAFILE
// (RUN12 when not given), through the real data system libraries, and
// prints one line:
//   "ok RECORDS"          exit 0
//   "failed: REASON"      exit 1 (CSLConvert::Convert returned FALSE)
//   "exception: MESSAGE"  exit 3 (a read error of the input)
// Usage errors exit 2.
#include <cstdio>
#include <exception>
#include <string>

#include "convert/SLConvert.h"

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: convert_probe INPUT OUTPUT [DATAFILE]\n");
        return 2;
    }
    CSLConvert convert(argv[1], argv[2]);
    convert.m_strMSFile = "MSMETH1";
    convert.m_strInletFile = "LC30";
    convert.m_strMacro = "ACQ";
    convert.m_strDataFile = argc == 4 ? argv[3] : "RUN12";
    try {
        if (!convert.Convert()) {
            std::printf("failed: %s\n", convert.GetFailureReason().c_str());
            return 1;
        }
    } catch (const std::exception& error) {
        std::printf("exception: %s\n", error.what());
        return 3;
    }
    std::printf("ok %lld\n", static_cast<long long>(convert.GetReport().records));
    return 0;
}
