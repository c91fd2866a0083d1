// Scratch directories, whole-file reads and writes and directory listings,
// for the tests, the benchmarks and the fuzz harnesses alike.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace k2ltest {

// A directory of its own under $TMPDIR (or /tmp), with a unique name,
// removed with everything in it at destruction. Its path has symbolic links
// resolved, so that it is what the process sees as its current directory
// once it has changed there. Throws std::runtime_error when it cannot be
// made.
class ScratchDir {
public:
    // PREFIX starts the directory's name, telling whose a directory left
    // behind by a killed process is.
    explicit ScratchDir(std::string_view prefix = "k2l-test");
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::string& Path() const { return m_path; }
    // RELATIVE inside the directory.
    std::string Path(const std::filesystem::path& relative) const;

    // Writes BYTES, exactly, as the file RELATIVE inside the directory
    // (making the directories above it) and returns the file's path.
    std::string Write(const std::filesystem::path& relative, std::string_view bytes) const;

private:
    std::string m_path;
};

// PATH as the program composes its paths on this system: on Windows with
// every '/' a '\\', elsewhere as it is.
std::string NativePath(std::string path);

// The bytes of the file at PATH; "" when it cannot be read.
std::string ReadFile(const std::filesystem::path& path);

// Replaces the file at PATH with BYTES, exactly. Throws std::runtime_error
// when it cannot be written.
void WriteFile(const std::filesystem::path& path, std::string_view bytes);

// The names in DIRECTORY, sorted. Throws std::filesystem::filesystem_error
// when it cannot be listed.
std::vector<std::string> Entries(const std::filesystem::path& directory);

}  // namespace k2ltest
