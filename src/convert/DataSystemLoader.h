// Where Korr2LD finds the data system's own record library and settings
// library (Ferrox and Ostrel), and loading them into the table the rest of
// the program calls (datasystem/DataSystemEntries.h).
//
// The folder is, in this order: the one given with --data-system, the one
// in the environment variable KORR2LD_DATA_SYSTEM, the one stored in
// Korr2LD.INI (section "DataSystem", key "Folder"; `korr2ld-cli data-system
// set`), and on Windows the program's own folder. Only that folder is looked in: never the current
// folder or PATH, where a planted library could be found first
// (framework/DynamicLibrary.h). On Linux, without a folder given, the
// program uses the stand-ins it is built with.
//
// A library that is missing, is built for another machine (read from its
// header before it is loaded), cannot be loaded (a library it needs is
// missing from its folder, say) or lacks one of the six entries Korr2LD
// needs gives one sentence naming the file, the folder and what to do.
// Entries are found by name, the location store by its number 13. Both
// libraries exporting Korr2LD's stand-in markers makes the table `ours`,
// and only then are the optional entries looked up.
//
// Calling convention: the six entries of a data system's own libraries are
// called so that __cdecl and __stdcall both work (on 32-bit Windows the
// stack pointer is restored after each call, whatever the entry popped);
// Korr2LD's own libraries are __cdecl.
#pragma once

#include <optional>
#include <string>

#include "datasystem/DataSystemEntries.h"
#include "framework/Status.h"

inline constexpr const char* kDataSystemVariable = "KORR2LD_DATA_SYSTEM";
inline constexpr const char* kDataSystemSection = "DataSystem";
inline constexpr const char* kDataSystemKey = "Folder";

// Korr2LD.INI in the user's configuration folder, or a failure saying why
// there is none.
Result<std::string> Korr2ldSettingsPath();

// Stores FOLDER (made absolute; it must be a folder; empty: forget the
// stored one) in Korr2LD.INI. A failure is a clause naming the cause.
Status StoreDataSystemFolder(const std::string& folder);

struct DataSystemFolder {
    std::string folder;
    std::string how;  // "given with --data-system", ...
};

// The folder to load from, from OPTION (--data-system, empty when not
// given) and the environment; nothing when the linked stand-ins are used.
std::optional<DataSystemFolder> ChooseDataSystemFolder(const std::string& option);

// Loads both libraries from WHERE; PROGRAM names the program in advice
// ("korr2ld-cli").
Result<DataSystemEntries> LoadDataSystem(const DataSystemFolder& where, const std::string& program);
