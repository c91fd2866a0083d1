// What the clash check must know of one Sample List's data file names, and
// how it finds a list's clash candidate among them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The first of the data file names given to it, in record order, that
// carries the lowest running number after one base name (RunningNumberOf):
// what the clash check reports of one list.
class LowestRunningNumber {
public:
    explicit LowestRunningNumber(std::string baseName) : m_strBase(std::move(baseName)) {}

    void Take(std::string_view dataFile);

    bool Found() const { return m_nNumber != 0; }
    // No later name can carry a lower number.
    bool IsLowestPossible() const { return m_nNumber == 1; }
    std::int64_t GetNumber() const { return m_nNumber; }
    const std::string& GetDataFile() const { return m_strDataFile; }

private:
    std::string m_strBase;
    std::int64_t m_nNumber = 0;
    std::string m_strDataFile;
};

// The few data file names of a list that stand for all of them: for every
// base name of up to kIndexedBaseChars characters that the list's records
// carry with a running number, the name of the first record with the
// lowest such number. Given these names in record order, a
// LowestRunningNumber of such a base finds what it finds given every name
// of the list, and it finds nothing in them for a base that no record
// carries.
class DataFileIndex {
public:
    // The conversion cuts data file names to this many characters.
    static constexpr std::size_t kIndexedBaseChars = 5;
    // A list with more base names than this is not indexed: so few names
    // no longer stand for all, and memory stays small.
    static constexpr std::size_t kMaxBases = 128;

    // Takes the data file name of the list's next record.
    void Add(std::string_view dataFile);

    bool Overflowed() const { return m_bOverflowed; }

    // The names that stand for all given so far, in record order; empty
    // once overflowed.
    std::vector<std::string> Names() const;

private:
    struct Lowest {
        std::int64_t number = 0;
        std::int64_t record = 0;  // its position among the names given
        std::string dataFile;
    };

    // By base name, as FoldedDataFileBase gives it.
    std::unordered_map<std::string, Lowest> m_bases;
    std::int64_t m_nRecords = 0;
    bool m_bOverflowed = false;
};
