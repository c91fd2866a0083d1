// Checks of a conversion's names and of the Sample Lists beside its output,
// made before the list is written; each adds warnings (or candidates for
// them) to a ConversionReport and never stops the conversion.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "convert/ClashCache.h"
#include "convert/DataFileIndex.h"
#include "util/ConversionReport.h"

// The three names every record carries, with the settings key of the
// folder that holds their files.
struct MethodName {
    const char* what;  // "MS method", for messages
    const char* key;   // its location key in the data system's settings
    const std::string& name;
};

// Warns when NAME is empty, or when its location is configured and none of
// its method files (convert/MethodFiles.h) has NAME as its name (compared
// without regard to ASCII case, as the instrument's file system does).
// OUTPUT is the file the warning is about.
void CheckMethodName(ConversionReport& report, const std::string& output, const MethodName& name);

// Adds a clash candidate for every other Sample List in the folder of
// LIST_PATH (a regular file with its extension, not hidden, not LIST_PATH
// itself) that holds a record whose data file name is BASE_NAME followed by
// a running number, as the conversion names its records: the list, the
// lowest such number and the first data file name that carries it, lists
// in the order of their names. Lists the record library cannot identify,
// open or read to their end are named, each with the reason it gave, in
// one notice (NoticeKind::kListsNotChecked); the check goes on. Reads the lists through the record
// library; must not be called while a list is open in this process.
//
// What it learns of a list's data file names is kept in a ClashCache, so
// that a list that did not change since is not read again: the folder is
// listed once, and an unchanged list costs a stat of the list and of its
// journal's name (an unfinished write makes it unreadable). The cache never
// changes what is found, and a cache that cannot be read or written
// changes nothing but the time taken.
//
// With KEEP, the cache is not saved but handed over there, to be given the
// list once it is written (KeepWrittenList).
void CollectDataFileClashes(ConversionReport& report, const std::string& listPath,
                            const std::string& baseName, std::optional<ClashCache>* keep = nullptr);

// Puts the list at LIST_PATH, which this process has just written and
// committed with the data file names WRITTEN gives, into CACHE (a list
// that is not indexed is left out), then saves CACHE and empties it.
// Must be called right after the commit: nothing reads the list.
void KeepWrittenList(std::optional<ClashCache>& cache, const std::string& listPath,
                     const DataFileIndex& written);

// The running number that DATA_FILE (brackets allowed) carries after
// BASE_NAME, the way the conversion writes it ("%.3lld"); 0 when it is no
// such name.
std::int64_t RunningNumberOf(std::string_view dataFile, std::string_view baseName);

// TRUE when two base names give the same data file names on the instrument.
bool SameDataFileBase(const std::string& a, const std::string& b);

// BASE as it compares: two base names are the same (SameDataFileBase)
// exactly when their folded forms are equal.
std::string FoldedDataFileBase(std::string_view base);
