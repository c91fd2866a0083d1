// Throughput of reading an exported sample file: bytes of export text per
// second through CSourceListFile::ReadEntry (the conversion's input path),
// and through CDelimitFile::ReadRecord alone.
//
// The export (about 64 MB of sample lines after a header) is generated once
// into a temporary directory and removed at the end.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "source/DelimitFile.h"
#include "source/SourceListFile.h"
#include "support/scratch_dir.h"

namespace {

constexpr std::int64_t kTargetBytes = 64LL * 1000 * 1000;

// The generated export, made on first use and removed at exit.
class ExportFile {
public:
    ExportFile();
    const std::string& Path() const { return m_path; }
    std::int64_t Bytes() const { return m_bytes; }

private:
    k2ltest::ScratchDir m_dir{"k2l-bench"};
    std::string m_path;
    std::int64_t m_bytes = 0;
};

const ExportFile& Export() {
    static const ExportFile file;
    return file;
}

// Writes a realistic export: a header line, then sample lines such as
// "12\tS12\t1.5\t2\tA1M2.5\tR1:3:7\tx\ty" with varying values, CR-LF ended.
ExportFile::ExportFile() {
    m_path = m_dir.Path("export.txt");
    std::FILE* out = std::fopen(m_path.c_str(), "wb");
    if (out == nullptr) {
        std::perror(m_path.c_str());
        std::exit(1);
    }
    std::string text = "Pos\tName\tVolume\tConc\tMethod\tFractions\tOperator\tComment\r\n";
    std::uint32_t state = 1;
    char line[160];
    for (std::int64_t n = 1; m_bytes < kTargetBytes; ++n) {
        state = state * 1664525u + 1013904223u;
        const unsigned r = state >> 8;
        const int length = std::snprintf(
            line, sizeof line, "%lld\tS%lld\t%u.%u\t%u\tA%uM%u.%u\tR%u:%u:%u\t%s\t%s\r\n",
            static_cast<long long>(n), static_cast<long long>(n), r % 50, r % 10, r % 8 + 1,
            r % 96 + 1, r % 20, r % 10, r % 4 + 1, r % 5 + 1, r % 5 + 6, (r & 1) ? "x" : "operator",
            (r & 2) ? "y" : "rerun after pressure alarm");
        text.append(line, static_cast<std::size_t>(length));
        if (text.size() > (1u << 20)) {
            std::fwrite(text.data(), 1, text.size(), out);
            m_bytes += static_cast<std::int64_t>(text.size());
            text.clear();
        }
    }
    std::fwrite(text.data(), 1, text.size(), out);
    m_bytes += static_cast<std::int64_t>(text.size());
    if (std::fclose(out) != 0) {
        std::perror(m_path.c_str());
        std::exit(1);
    }
}

void BM_SourceListReadEntry(benchmark::State& state) {
    const ExportFile& file = Export();
    std::int64_t entries = 0;
    for (auto _ : state) {
        CSourceListFile reader(file.Path());
        SOURCE_ENTRY entry;
        while (reader.ReadEntry(entry)) {
            ++entries;
        }
        benchmark::DoNotOptimize(entry);
    }
    state.SetBytesProcessed(state.iterations() * file.Bytes());
    state.counters["entries"] =
        benchmark::Counter(static_cast<double>(entries), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SourceListReadEntry)->Unit(benchmark::kMillisecond);

void BM_DelimitReadRecord(benchmark::State& state) {
    const ExportFile& file = Export();
    for (auto _ : state) {
        CDelimitFile reader;
        reader.Open(file.Path(), CStdioFile::modeRead);
        std::vector<std::string> fields;
        while (reader.ReadRecord(fields)) {
            benchmark::DoNotOptimize(fields.data());
        }
    }
    state.SetBytesProcessed(state.iterations() * file.Bytes());
}
BENCHMARK(BM_DelimitReadRecord)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
