#include "util/Sha256.h"

#include <sys/stat.h>

#include <string>

#include <gtest/gtest.h>

#include "support/scratch_dir.h"

namespace {

using k2ltest::ScratchDir;

struct Vector {
    std::string message;
    const char* digest;
};

// The FIPS 180-4 examples, and the lengths around a block's end where the
// padding takes one block or two.
const Vector kVectors[] = {
    {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
    {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
    {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
     "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
    {"abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrlmn"
     "opqrsmnopqrstnopqrstu",
     "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1"},
    {std::string(55, 'a'), "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318"},
    {std::string(56, 'a'), "b35439a4ac6f0948b6d6f9e3c6af0f5f590ce20f1bde7090ef7970686ec6738a"},
    {std::string(63, 'a'), "7d3e74a05d7db15bce4ad9ec0658ea98e3f06eeecf16b4c6fff2da457ddc2f34"},
    {std::string(64, 'a'), "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb"},
    {std::string(65, 'a'), "635361c48bb9eab14198e76ea8ab7f1a41685d6ad62aa9146d301d4f17eb0ae0"},
    {std::string(119, 'a'), "31eba51c313a5c08226adf18d4a359cfdfd8d2e816b13f4af952f7ea6584dcfb"},
    {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
};

// 200003 bytes of a repeating pattern: three 64 KiB pieces and a short one.
std::string PatternBytes() {
    std::string bytes;
    for (int i = 0; i < 200003; ++i) {
        bytes += static_cast<char>((i * 31) % 251);
    }
    return bytes;
}
constexpr const char* kPatternDigest =
    "1b748c393f1aa5267d14c0703595e88c455739c3c3d99d9e91ecd92456d47335";

TEST(Sha256, HashesTheStandardVectorsInMemoryAndInAFile) {
    ScratchDir dir;
    for (const Vector& vector : kVectors) {
        EXPECT_EQ(Sha256OfBytes(vector.message), vector.digest)
            << vector.message.size() << " bytes";
        const Result<std::string> digest = Sha256OfFile(dir.Write("vector", vector.message));
        ASSERT_TRUE(digest.ok()) << digest.status().message();
        EXPECT_EQ(digest.value(), vector.digest) << vector.message.size() << " bytes";
    }
}

TEST(Sha256OfFile, HashesAFileInChunks) {
    ScratchDir dir;
    const Result<std::string> pattern = Sha256OfFile(dir.Write("pattern", PatternBytes()));
    ASSERT_TRUE(pattern.ok()) << pattern.status().message();
    EXPECT_EQ(pattern.value(), kPatternDigest);
}

TEST(Sha256OfFile, GivesNoDigestAndTheReasonForWhatCannotBeRead) {
    ScratchDir dir;
#ifdef _WIN32
    // Windows has no FIFO in its file system; a device name opens a device.
    const std::string fifo = "NUL";
    const char* const fifoReason = "Is a character device, not a regular file";
#else
    const std::string fifo = dir.Path() + "/fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const char* const fifoReason = "Is a named pipe (FIFO), not a regular file";
#endif
    const struct {
        std::string path;
        const char* reason;
    } cases[] = {
        {dir.Path() + "/missing", "No such file or directory"},
        {dir.Path(), "Is a directory"},
        // Opening a FIFO that nobody writes must not hang.
        {fifo, fifoReason},
    };
    for (const auto& c : cases) {
        const Result<std::string> digest = Sha256OfFile(c.path);
        EXPECT_FALSE(digest.ok()) << c.path;
        EXPECT_EQ(digest.status().message(), c.reason) << c.path;
    }
}

}  // namespace
