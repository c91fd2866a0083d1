#include "convert/DataFileIndex.h"

#include <algorithm>

#include "convert/ConversionChecks.h"

void LowestRunningNumber::Take(std::string_view dataFile) {
    const std::int64_t number = RunningNumberOf(dataFile, m_strBase);
    if (number != 0 && (m_nNumber == 0 || number < m_nNumber)) {
        m_nNumber = number;
        m_strDataFile.assign(dataFile);
    }
}

void DataFileIndex::Add(std::string_view dataFile) {
    const std::int64_t record = m_nRecords++;
    if (m_bOverflowed) {
        return;
    }
    // A base name that RunningNumberOf finds in DATA_FILE starts it, or
    // follows its opening bracket, and a digit follows it: every such prefix
    // is tried, and the rule itself decides.
    for (const std::size_t skip : {std::size_t{0}, std::size_t{1}}) {
        for (std::size_t length = 0; length <= kIndexedBaseChars && skip + length < dataFile.size();
             ++length) {
            const char next = dataFile[skip + length];
            if (next < '0' || next > '9') {
                continue;
            }
            const std::string_view base = dataFile.substr(skip, length);
            const std::int64_t number = RunningNumberOf(dataFile, base);
            if (number == 0) {
                continue;
            }
            Lowest& lowest = m_bases[FoldedDataFileBase(base)];
            if (lowest.number == 0 || number < lowest.number) {
                lowest = Lowest{number, record, std::string(dataFile)};
            }
        }
    }
    if (m_bases.size() > kMaxBases) {
        m_bOverflowed = true;
        m_bases.clear();
    }
}

std::vector<std::string> DataFileIndex::Names() const {
    std::vector<const Lowest*> chosen;
    chosen.reserve(m_bases.size());
    for (const auto& [base, lowest] : m_bases) {
        chosen.push_back(&lowest);
    }
    std::sort(chosen.begin(), chosen.end(),
              [](const Lowest* a, const Lowest* b) { return a->record < b->record; });
    std::vector<std::string> names;
    for (std::size_t i = 0; i < chosen.size(); ++i) {
        // One record can be the lowest of several bases.
        if (i == 0 || chosen[i]->record != chosen[i - 1]->record) {
            names.push_back(chosen[i]->dataFile);
        }
    }
    return names;
}
