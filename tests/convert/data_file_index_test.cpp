// The few data file names a DataFileIndex keeps of a list find, for every
// base name a conversion can have, the clash candidate all of the list's
// names find: the same lowest running number and the same data file name.
#include "convert/DataFileIndex.h"

#include <cstdint>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

// FORMAT with the numbers from FIRST to LAST, counting up or down.
std::vector<std::string> Numbered(const char* format, int first, int last) {
    std::vector<std::string> names;
    const int step = first <= last ? 1 : -1;
    for (int n = first; n != last + step; n += step) {
        char name[32];
        std::snprintf(name, sizeof name, format, n);
        names.push_back(name);
    }
    return names;
}

TEST(DataFileIndexTest, ItsNamesFindWhatAllTheListsNamesFind) {
    const std::vector<std::vector<std::string>> lists = {
        {"RUN12001", "[RUN12002]", "[RUN12003]"},
        {"OTHER001", "[plate004]", "[PLATE002]", "[Plate002]", "[PLATE003]"},
        {"[005]", "001", "[0999]", "[1000]", "[]", ""},
        {"AB1X001", "[AB12345]", "[AB999]", "[AB0042]", "AB1001", "[AB]", "AB123456789012"},
        {"[RUN007", "RUN007]", "[[RUN008]]", "RUN 009", "RUN-010", "RUN1234567890"},
        Numbered("[PLATE%03d]", 1, 1536),
        Numbered("[R%03d]", 2000, 1),
    };
    for (const std::vector<std::string>& names : lists) {
        SCOPED_TRACE(names.front());
        DataFileIndex index;
        std::set<std::string> bases = {"", "ZZZ", "run", "Run12"};
        for (const std::string& name : names) {
            index.Add(name);
            for (std::size_t skip = 0; skip <= 1 && skip <= name.size(); ++skip) {
                for (std::size_t length = 0;
                     length <= DataFileIndex::kIndexedBaseChars && skip + length <= name.size();
                     ++length) {
                    bases.insert(name.substr(skip, length));
                }
            }
        }
        ASSERT_FALSE(index.Overflowed());
        const std::vector<std::string> kept = index.Names();
        for (const std::string& base : bases) {
            LowestRunningNumber all(base);
            LowestRunningNumber fromKept(base);
            for (const std::string& name : names) {
                all.Take(name);
            }
            for (const std::string& name : kept) {
                fromKept.Take(name);
            }
            EXPECT_EQ(fromKept.GetNumber(), all.GetNumber()) << "base '" << base << "'";
            EXPECT_EQ(fromKept.GetDataFile(), all.GetDataFile()) << "base '" << base << "'";
        }
    }
}

TEST(LowestRunningNumberTest, FindsTheBaseInAnyLetterCaseFollowedByARunningNumber) {
    const struct {
        const char* base;
        std::vector<std::string> names;
        std::int64_t number;  // 0: no clash candidate
        const char* dataFile;
    } cases[] = {
        {"plate", {"[PLATE004]", "[Plate002]", "plate003", "[pLaTe002]"}, 2, "[Plate002]"},
        {"plate", {"plate0002", "plate12", "[plate]", "plat001", "plate00A", "[plate001"}, 0, ""},
        {"R", {"[R1000]", "R999", "r9999999999", "R12345678901"}, 999, "R999"},
    };
    for (const auto& c : cases) {
        LowestRunningNumber lowest(c.base);
        for (const std::string& name : c.names) {
            lowest.Take(name);
        }
        EXPECT_EQ(lowest.GetNumber(), c.number) << c.base << ", " << c.names.front();
        EXPECT_EQ(lowest.GetDataFile(), c.dataFile) << c.base << ", " << c.names.front();
    }
}

TEST(DataFileIndexTest, ItsLimitOfBaseNamesIsExact) {
    DataFileIndex index;
    for (std::size_t i = 0; i < DataFileIndex::kMaxBases; ++i) {
        // Two letters and a running number: one base name each.
        index.Add(std::string{char('A' + i / 26), char('A' + i % 26), '0', '0', '1'});
    }
    EXPECT_EQ(index.Names().size(), DataFileIndex::kMaxBases);
    index.Add("ZZ001");
    EXPECT_TRUE(index.Overflowed());
}

TEST(DataFileIndexTest, AListOfTooManyBaseNamesIsNotIndexed) {
    DataFileIndex index;
    for (const std::string& name : Numbered("B%03d001", 0, DataFileIndex::kMaxBases)) {
        index.Add(name);
    }
    EXPECT_TRUE(index.Overflowed());
    EXPECT_TRUE(index.Names().empty());
}

}  // namespace
