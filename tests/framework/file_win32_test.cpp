// The faults that only Windows has, at the framework's file layer, one row
// each. Built and run only in the Windows build (under Wine in CI).
#include <windows.h>

#include <cerrno>
#include <climits>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/File.h"
#include "framework/MakeDirectories.h"
#include "framework/PathParts.h"
#include "support/scratch_dir.h"

namespace {

using k2ltest::ScratchDir;

std::string ReadAll(const std::string& path) {
    Result<FileDescriptor> file = OpenRegularFile(path, kOpenRead);
    EXPECT_TRUE(file.ok()) << file.status().message();
    std::string bytes(64, '\0');
    const Result<std::size_t> got = file.ok() ? ReadSome(file.value().Get(), bytes.data(), 64)
                                              : Result<std::size_t>(file.status());
    bytes.resize(got.ok() ? got.value() : 0);
    return bytes;
}

std::string Write(const std::string& path, const std::string& bytes) {
    Result<FileDescriptor> file = CreateNewFile(path, kOpenWrite, 0666);
    EXPECT_TRUE(file.ok()) << path << ": " << file.status().message();
    if (file.ok()) {
        EXPECT_TRUE(WriteAll(file.value().Get(), bytes).ok());
    }
    return path;
}

TEST(FileWin32, WindowsOnlyFaultsAreHandledAtTheFileLayer) {
    const ScratchDir dir;
    const std::string base = dir.Path() + "\\";
    const struct {
        const char* fault;
        std::function<void()> check;
    } rows[] = {
        {"text mode: bytes are written and read as they are, never a CR added or dropped",
         [&] {
             EXPECT_EQ(ReadAll(Write(base + "lines.txt", "a\nb\r\nc\x1a")), "a\nb\r\nc\x1a");
             std::FILE* stream = OpenStream(base + "stream.txt", "wb");
             ASSERT_NE(stream, nullptr);
             std::fputs("x\n", stream);
             std::fclose(stream);
             EXPECT_EQ(ReadAll(base + "stream.txt"), "x\n");
         }},
        {"a file another program holds open without sharing is refused, and said so",
         [&] {
             const std::string path = Write(base + "held.txt", "held");
             const HANDLE held =
                 CreateFileW(L"held.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
             ASSERT_NE(held, INVALID_HANDLE_VALUE);
             const Result<FileDescriptor> opened = OpenRegularFile(path, kOpenRead);
             CloseHandle(held);
             EXPECT_EQ(opened.status().ErrorNumber(), EBUSY);
             EXPECT_EQ(opened.status().message(),
                       "Is open in another program, which does not let it be shared");
         }},
        {"the no-replace rename refuses an existing name and changes nothing",
         [&] {
             const std::string from = Write(base + "new.sdb", "new");
             const std::string to = Write(base + "old.sdb", "old");
             EXPECT_EQ(RenameNoReplace(from, to).ErrorNumber(), EEXIST);
             EXPECT_EQ(ReadAll(from), "new");
             EXPECT_EQ(ReadAll(to), "old");
             EXPECT_TRUE(RenameReplacing(from, to).ok());
             EXPECT_EQ(ReadAll(to), "new");
         }},
        {"the lock: a second holder waits its bounded time, and the content stays readable",
         [&] {
             const std::string path = Write(base + "locked.log", "entry\n");
             Result<FileDescriptor> first = OpenRegularFile(path, kOpenReadWrite);
             Result<FileDescriptor> second = OpenRegularFile(path, kOpenRead);
             ASSERT_TRUE(first.ok() && second.ok());
             ASSERT_TRUE(LockFile(first.value().Get(), LockMode::kExclusive, {}).ok());
             EXPECT_EQ(
                 LockFile(second.value().Get(), LockMode::kShared, std::chrono::milliseconds(50))
                     .ErrorNumber(),
                 EWOULDBLOCK);
             char bytes[6];
             EXPECT_EQ(ReadSome(second.value().Get(), bytes, sizeof bytes).value(), 6u);
             ASSERT_TRUE(first.value().Close().ok());
             EXPECT_TRUE(LockFile(second.value().Get(), LockMode::kShared, {}).ok());
         }},
        {"reserved device names and names ending in a dot or a space are no file names",
         [&] {
             for (const char* name : {"NUL", "nul.sdb", "CON.txt", "com1", "LPT9.x.sdb", "aux ",
                                      "plate7.", "plate7 "}) {
                 EXPECT_NE(ReservedNameFault(name), "") << name;
             }
             for (const char* name : {"null.sdb", "com10", "console.sdb", "plate7.sdb"}) {
                 EXPECT_EQ(ReservedNameFault(name), "") << name;
             }
             const Result<FileDescriptor> device = OpenRegularFile("NUL", kOpenRead);
             EXPECT_EQ(device.status().message(), "Is a character device, not a regular file");
         }},
        {"UNC paths keep their server and share",
         [&] {
             EXPECT_EQ(FullPath("\\\\server\\share\\lists\\..\\p.sdb", SIZE_MAX),
                       "\\\\server\\share\\p.sdb");
             EXPECT_EQ(FullPath("//server/share/lists/p.sdb", SIZE_MAX),
                       "//server/share/lists/p.sdb");
             EXPECT_TRUE(IsAbsolutePath("\\\\server\\share\\p.sdb"));
             EXPECT_EQ(FolderOf("\\\\server\\share\\lists\\p.sdb"), "\\\\server\\share\\lists");
         }},
        {"a path longer than 260 characters reaches its file",
         [&] {
             std::string folder = base + std::string(120, 'a');
             folder += "\\" + std::string(120, 'b') + "\\" + std::string(60, 'c');
             ASSERT_TRUE(MakeDirectories(folder).ok());
             const std::string path = Write(folder + "\\list.sdb", "long");
             EXPECT_GT(path.size(), 300u);
             EXPECT_EQ(ReadAll(path), "long");
             EXPECT_TRUE(StatusAt(path).ok());
             EXPECT_TRUE(RemoveFile(path).ok());
         }},
        {"a non-ASCII name is the same UTF-8 name in every call",
         [&] {
             const std::string name = "\xC3\x9Cn\xC3\xAF \xE5\x90\x8D.txt";  // "Üni 名.txt"
             EXPECT_EQ(ReadAll(Write(base + name, "utf-8")), "utf-8");
             const Result<std::vector<DirectoryEntry>> entries = ListDirectory(dir.Path());
             ASSERT_TRUE(entries.ok());
             bool listed = false;
             for (const DirectoryEntry& entry : entries.value()) {
                 listed = listed || entry.name == name;
             }
             EXPECT_TRUE(listed);
         }},
    };
    const std::string previous = CurrentDirectory().value();
    ASSERT_TRUE(SetCurrentDirectoryW(std::wstring(dir.Path().begin(), dir.Path().end()).c_str()));
    for (const auto& row : rows) {
        SCOPED_TRACE(row.fault);
        row.check();
    }
    SetCurrentDirectoryW(std::wstring(previous.begin(), previous.end()).c_str());
}

}  // namespace
