// The one listing of a location's method files: which files, in which
// order, under which names.
#include "convert/MethodFiles.h"

#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/scratch_dir.h"

namespace {

std::vector<std::string> Listed(const MethodFolder& folder, bool names) {
    std::vector<std::string> listed;
    for (const MethodFile& file : ListMethodFiles(folder)) {
        listed.push_back(names ? file.name : file.fileName);
    }
    return listed;
}

TEST(ListMethodFiles, TakesRegularFilesWithTheExtensionWhateverTheirBytesInOrder) {
    k2ltest::ScratchDir dir;
    for (const char* name : {"b.ms", "A.MS", ".ms", "c.ms.bak", "d.msx", "e[1].ms", "f.m", "_u.ms",
                             "ESI2.x.ms", "M\xE9th.ms", "Z.ms", "a.ms"}) {
        dir.Write(std::string("m/") + name, "x");
    }
    ASSERT_EQ(::mkdir(dir.Path("m/sub.ms").c_str(), 0700), 0);
    ASSERT_EQ(::symlink(dir.Path("m/b.ms").c_str(), dir.Path("m/link.ms").c_str()), 0);
    ASSERT_EQ(::symlink(dir.Path("nowhere").c_str(), dir.Path("m/dangling.ms").c_str()), 0);
    ASSERT_EQ(::mkfifo(dir.Path("m/pipe.ms").c_str(), 0600), 0);

    const std::string m = dir.Path("m");
    const struct {
        MethodFolder folder;
        bool names;
        std::vector<std::string> listed;
    } cases[] = {
        // Case ignored, then byte order; '_' before letters; a Latin-1 name too.
        {{m + "/", "ms"},
         false,
         {".ms", "_u.ms", "A.MS", "a.ms", "b.ms", "e[1].ms", "ESI2.x.ms", "link.ms", "M\xE9th.ms",
          "Z.ms"}},
        // The name ends at the first '.' past the start; an extension given with its dot.
        {{m + "\\", ".MS"},
         true,
         {".ms", "_u", "A", "a", "b", "e[1]", "ESI2", "link", "M\xE9th", "Z"}},
        {{m, "m"}, false, {"f.m"}},
        {{m + "/", ""},
         false,
         {".ms", "_u.ms", "A.MS", "a.ms", "b.ms", "c.ms.bak", "d.msx", "e[1].ms", "ESI2.x.ms",
          "f.m", "link.ms", "M\xE9th.ms", "Z.ms"}},
        {{dir.Path("missing/"), "ms"}, false, {}},
        {{"", "ms"}, false, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Listed(c.folder, c.names), c.listed)
            << c.folder.directory << " " << c.folder.extension;
    }
}

}  // namespace
