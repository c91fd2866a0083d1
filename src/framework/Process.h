// What the program asks the system about its own process. One
// implementation per system (ProcessPosix.cpp, ProcessWin32.cpp).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The process's number, as the system shows it.
unsigned long ProcessId();

// The largest file the process may write (ulimit -f), in bytes; nothing
// when there is no such limit (always so on Windows).
std::optional<std::uint64_t> FileSizeLimit();

// The program's arguments as UTF-8: ARGC and ARGV as they are on POSIX
// systems; on Windows the command line's own UTF-16 arguments
// (GetCommandLineW), so that no name is lost to the ANSI code page.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// Makes standard output and standard error take bytes as they are (binary:
// no '\r' is ever added) and, on Windows, a console show them as UTF-8.
// Call at the very start of main.
void PrepareStandardStreams();
