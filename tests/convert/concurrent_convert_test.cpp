// Two conversions in two processes at the same moment, sharing the data
// system's settings file, each into a directory of its own. The sample-list
// location in the settings file is global, but each process uses the one it
// stored itself, so each list is written where its conversion was asked to
// write it, whole.
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "convert/convert_test_support.h"
#include "framework/ProfileFile.h"

namespace {

using k2ltest::ListRead;

constexpr int kLines = 400;
constexpr int kFractions = 10;
constexpr int kRounds = 3;

TEST(ConcurrentConvertTest, EachProcessWritesItsOwnCompleteList) {
    k2ltest::ScratchDir dir;
    const k2ltest::ScopedEnv home("LUMENDA_HOME", dir.Path("lumenda"));
    const std::string input = k2ltest::WriteExport(dir, "plate.txt", kLines, kFractions);
    struct Conversion {
        std::string directory;  // with its trailing '/'
        std::string base;
    };
    const Conversion conversions[] = {{dir.Path("alpha/"), "ALPHA"}, {dir.Path("bravo/"), "BRAVO"}};
    for (const Conversion& c : conversions) {
        ASSERT_EQ(::mkdir(c.directory.c_str(), 0755), 0);
    }

    for (int round = 1; round <= kRounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        // Both start at once; same list name, so a list written at the
        // other process's location would show up there.
        k2ltest::ChildProcess probes[2];
        for (int i = 0; i < 2; ++i) {
            probes[i] = k2ltest::ChildProcess::Start(k2ltest::ConvertProbe(
                input, conversions[i].directory + "run12.sdb", conversions[i].base));
        }
        for (int i = 0; i < 2; ++i) {
            ASSERT_TRUE(probes[i].Started());
            const k2ltest::ChildResult probe = probes[i].Wait();
            EXPECT_EQ(probe.exitCode, 0);
            EXPECT_EQ(probe.out, "ok " + std::to_string(kLines * kFractions) + "\n");
        }
        for (const Conversion& c : conversions) {
            SCOPED_TRACE(c.directory);
            const ListRead list = k2ltest::ReadList(c.directory + "run12.sdb");
            EXPECT_EQ(list.status, DB3_OK);
            EXPECT_EQ(list.records.size(), static_cast<std::size_t>(kLines * kFractions));
            EXPECT_EQ(k2ltest::FirstMisnumbered(list.records, c.base), 0u);
            // Nothing else was written there: no list of the other process,
            // no temporary file, no journal.
            int entries = 0;
            for ([[maybe_unused]] const auto& entry :
                 std::filesystem::directory_iterator(c.directory)) {
                ++entries;
            }
            EXPECT_EQ(entries, 1);
        }
        // The settings file holds the location of one of them, whole.
        const CProfileFile settings(dir.Path("lumenda/Lumenda.ini"));
        const std::string stored = settings.GetString("SystemList", "SAMPLES_DB", "");
        EXPECT_TRUE(stored == conversions[0].directory + "run12.sdb" ||
                    stored == conversions[1].directory + "run12.sdb")
            << stored;
    }
}

}  // namespace
