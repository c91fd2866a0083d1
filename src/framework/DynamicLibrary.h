// Loading a library at run time by its full path, and finding its entries.
//
// The library's own dependencies are looked for in its own folder and in
// the system's folder only: never in the current folder or along PATH, so
// that a file planted there cannot be loaded in their place (Windows:
// LoadLibraryExW with LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR |
// LOAD_LIBRARY_SEARCH_SYSTEM32; POSIX: dlopen of the path, with the
// dependencies the library names through its own run path). A loaded
// library stays loaded for the life of the process: entries found in it may
// be kept anywhere.
#pragma once

#include <cstdint>
#include <string>

#include "framework/Status.h"

class DynamicLibrary {
public:
    // Loads the library at PATH (absolute). A failure is a clause with the
    // system's reason ("cannot be loaded: ..."), naming a missing
    // dependency where the system does.
    static Result<DynamicLibrary> Load(const std::string& path);

    // The entry exported under NAME, or nullptr.
    void* Entry(const char* name) const;
    // The entry exported under the number ORDINAL, or nullptr. Shared
    // objects have no numbered entries: POSIX looks up NAME instead, which
    // a shared object standing in for such a library exports.
    void* EntryByNumber(std::uint16_t ordinal, const char* name) const;

private:
    explicit DynamicLibrary(void* handle) : m_handle(handle) {}
    void* m_handle;
};

// The file name of the library STEM on this system: "Ferrox.dll" on
// Windows, "libFerrox.so" elsewhere.
std::string DynamicLibraryFileName(const std::string& stem);

// The machine a Windows library (a PE file) at PATH is built for: "x86",
// "x64", "arm64" or "machine 0xNNNN"; a failure when the file is not one
// (or cannot be read). Read from the file's header without loading it.
Result<std::string> LibraryMachine(const std::string& path);

// The machine this program is built for, named as LibraryMachine names it.
const char* ProgramMachine();

// The folder of the running program's executable, with its trailing
// separator; empty when the system does not say.
std::string ProgramFolder();

#if defined(_WIN32) && defined(__i386__)
// Calls ENTRY with the COUNT 32-bit ARGS whichever of __cdecl and
// __stdcall it uses (the stack pointer is restored from a saved register
// after the call); its 32-bit result. Elsewhere there is one convention.
std::uint32_t CallEitherConvention(void* entry, const std::uint32_t* args, std::uint32_t count);
#endif
