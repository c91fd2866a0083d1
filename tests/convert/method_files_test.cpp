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

TEST(ListMethodFiles, TakesRegularFilesWithTheExtensionWhateverTheirBytesInOrder) {
    k2ltest::ScratchDir dir;
    for (const char* name : {"b.ms", "A.MS", ".ms", "c.ms.bak", "d.msx", "e[1].ms", "f.m", "_u.ms",
                             "ESI2.x.ms", "M\xE9th.ms", "a.ms"}) {
        dir.Write(std::string("m/") + name, "x");
    }
    ASSERT_EQ(::mkdir(dir.Path("m/sub.ms").c_str(), 0700), 0);
    ASSERT_EQ(::symlink(dir.Path("m/b.ms").c_str(), dir.Path("m/link.ms").c_str()), 0);
    ASSERT_EQ(::symlink(dir.Path("nowhere").c_str(), dir.Path("m/dangling.ms").c_str()), 0);
    ASSERT_EQ(::mkfifo(dir.Path("m/pipe.ms").c_str(), 0600), 0);
    const std::string m = dir.Path("m");
    const struct {
        MethodFolder folder;
        std::vector<std::string> fileNames;  // "file name=name" where they differ
    } cases[] = {
        // Case ignored, then byte order; '_' before letters; a Latin-1 name too.
        {{m + "/", "ms"},
         {".ms", "_u.ms=_u", "A.MS=A", "a.ms=a", "b.ms=b", "e[1].ms=e[1]", "ESI2.x.ms=ESI2",
          "link.ms=link", "M\xE9th.ms=M\xE9th"}},
        // Either separator ends the directory; an extension given with its dot.
        {{m + "\\", ".M"}, {"f.m=f"}},
        {{m, ""},
         {".ms", "_u.ms=_u", "A.MS=A", "a.ms=a", "b.ms=b", "c.ms.bak=c", "d.msx=d", "e[1].ms=e[1]",
          "ESI2.x.ms=ESI2", "f.m=f", "link.ms=link", "M\xE9th.ms=M\xE9th"}},
        {{dir.Path("missing/"), "ms"}, {}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> listed;
        for (const MethodFile& file : ListMethodFiles(c.folder)) {
            listed.push_back(file.fileName + (file.name == file.fileName ? "" : "=" + file.name));
        }
        EXPECT_EQ(listed, c.fileNames) << c.folder.directory;
    }
}

}  // namespace
