// Appends records to a new Sample List through the record library, the way
// a conversion does (modes 5, 3, 2, then appends and DB3Close), and prints
// the time taken up to the durable commit, the write rate and the peak
// memory of the process.
//
//   sample_list_append [DIRECTORY] [RECORDS]
//
// DIRECTORY (default: $TMPDIR, else /tmp) receives the list
// "k2l_bench_append.sdb", which is removed afterwards; RECORDS defaults to
// 200000 (about 850 MB). Compare with
//   dd if=/dev/zero of=DIRECTORY/x bs=1M count=813 conv=fsync
// on the same directory. The location is used in this process only; no
// settings file is written.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "datasystem/ferrox.h"
#include "datasystem/ostrel.h"

namespace {

constexpr const char* kName = "k2l_bench_append";

int Fail(const char* what, int32_t status) {
    std::fprintf(stderr, "sample_list_append: %s: %s (%d)\n", what, DB3StatusText(status), status);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    const char* tmp = std::getenv("TMPDIR");
    std::string directory = argc > 1 ? argv[1] : (tmp != nullptr && *tmp ? tmp : "/tmp");
    if (directory.back() != '/') {
        directory += '/';
    }
    const long records = argc > 2 ? std::strtol(argv[2], nullptr, 10) : 200000;
    if (records <= 0 || records > 2000000000L || directory.size() >= 260) {
        std::fprintf(stderr, "usage: sample_list_append [DIRECTORY] [RECORDS]\n");
        return 2;
    }

    GLOBAL_FILE_INFO info;
    std::memset(&info, 0, sizeof info);
    std::memcpy(info.szDirectory, directory.c_str(), directory.size());
    std::memcpy(info.szExtension, "sdb", 4);
    if (UseGlobalFileInProcess("SystemList", "SAMPLES_DB", &info) != OSTREL_OK) {
        std::fprintf(stderr, "sample_list_append: %s\n", OstrelLastError());
        return 1;
    }

    // A record like a converted one: preset fields and a running number.
    std::vector<unsigned char> record(DB3_SAMPLE_RECORD_SIZE, 0);
    for (int offset : {0, 260, 380, 640, 900, 1160, 1433, 1904}) {
        std::memcpy(record.data() + offset, "[]", 3);
    }
    std::memcpy(record.data() + 380, "MSMETH", 7);

    const auto start = std::chrono::steady_clock::now();
    int32_t status = DB3Open(DB3_SAMPLE_LIST, kName, DB3_MODE_CHECK);
    if (status != DB3_OK) {
        return Fail("the location", status);
    }
    DB3Open(DB3_SAMPLE_LIST, kName, DB3_MODE_REPLACE);
    status = DB3Open(DB3_SAMPLE_LIST, kName, DB3_MODE_CREATE);
    if (status != DB3_OK) {
        return Fail("create", status);
    }
    for (long n = 1; n <= records; ++n) {
        std::snprintf(reinterpret_cast<char*>(record.data()), 260, "BENCH%03ld", n % 1000);
        std::snprintf(reinterpret_cast<char*>(record.data() + 1433), 20, "%ld", n);
        status = DB3HandleRecord(DB3_SAMPLE_LIST, static_cast<int32_t>(n), record.data(),
                                 DB3_OP_STORE, DB3_FLAG_APPEND);
        if (status != DB3_OK) {
            DB3Close(DB3_SAMPLE_LIST);
            return Fail("append", status);
        }
    }
    status = DB3Close(DB3_SAMPLE_LIST);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (status != DB3_OK) {
        return Fail("close", status);
    }
    const std::string path = directory + kName + ".sdb";
    long long fileBytes = 0;
    if (FILE* file = std::fopen(path.c_str(), "rb")) {
        std::fseek(file, 0, SEEK_END);
        fileBytes = std::ftell(file);
        std::fclose(file);
    }
    std::remove(path.c_str());

    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    const double dataMB = static_cast<double>(records) * DB3_SAMPLE_RECORD_SIZE / 1e6;
    std::printf("records           %ld\n", records);
    std::printf("record bytes      %.1f MB\n", dataMB);
    std::printf("file bytes        %.1f MB (%.2f%% overhead)\n", fileBytes / 1e6,
                100.0 * (fileBytes / 1e6 - dataMB) / dataMB);
    std::printf("time to commit    %.2f s\n", seconds);
    std::printf("rate              %.1f MB/s of records\n", dataMB / seconds);
    std::printf("peak memory       %.1f MB (maximum resident set size)\n",
                usage.ru_maxrss / 1024.0);
    return 0;
}
