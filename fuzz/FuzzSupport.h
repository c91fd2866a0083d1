// Pieces shared by the fuzz harnesses: a private scratch directory for the
// whole fuzzing process, files written from the fuzz input, and a check
// that aborts (so that libFuzzer records the input) when a property of the
// code under test does not hold.
//
// Every harness keeps the data system's settings inside its scratch
// directory (LUMENDA_HOME, HOME, XDG_CONFIG_HOME and XDG_CACHE_HOME point
// there), so that fuzzing never reads or changes the real user's files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "support/scratch_dir.h"

namespace fuzz {

// Creates the scratch directory (a k2ltest::ScratchDir) on first use and
// points LUMENDA_HOME, XDG_CONFIG_HOME, XDG_CACHE_HOME and HOME into it.
// FuzzSupport.cpp defines LLVMFuzzerInitialize for every harness: it makes
// the scratch directory, before the first input, and the process's current
// directory. It is removed when the process exits normally; one that
// libFuzzer ends with _Exit, after a failure, leaves it behind, so give each
// run a TMPDIR that is removed afterwards (scripts/run-fuzzers does).
const std::string& ScratchDir();

// A path inside the scratch directory.
std::string ScratchPath(std::string_view name);

// Replaces the file at PATH with the bytes DATA[0, SIZE) (other bytes:
// k2ltest::WriteFile). Both abort, by an exception nobody catches, when the
// file cannot be written.
void WriteFile(const std::string& path, const std::uint8_t* data, std::size_t size);

// The whole content of PATH; aborts when it cannot be read.
std::string ReadFile(const std::string& path);

// The lines of TEXT as a text file holds them: split at line feeds, a
// carriage return before a line feed dropped, a last line without a line
// feed kept unless empty.
std::vector<std::string_view> LinesOf(std::string_view text);

// Removes every entry of DIRECTORY (not DIRECTORY itself), recursively.
void EmptyDirectory(const std::string& directory);

// Reports WHAT on stderr and aborts when CONDITION is false: a property of
// the code under test was broken by the current input.
void Check(bool condition, const char* what);

}  // namespace fuzz

#define FUZZ_CHECK(condition) ::fuzz::Check((condition), #condition " at " __FILE__)
