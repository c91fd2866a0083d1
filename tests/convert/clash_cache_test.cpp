// A ClashCache entry serves a list only while every field of its file status
// is the one it was read with, and is kept only for a list that had settled
// when it was read: a wrong entry would hide a clash.
#include "convert/ClashCache.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "convert/DataFileIndex.h"
#include "support/scratch_dir.h"

namespace {

constexpr DB3_LIST_IDENTITY kRead = {1, 2, 4096, 1000, 5, 1000, 7, 3, 0};

timespec ChangedPlus(std::time_t seconds, long nanoseconds) {
    return {static_cast<std::time_t>(kRead.changedSeconds) + seconds,
            static_cast<long>(kRead.changedNanoseconds) + nanoseconds};
}

TEST(ClashCacheTest, AnEntryServesOnlyTheFileStatusItWasReadWith) {
    const k2ltest::ScratchDir dir;
    const std::string file = dir.Path("cache");
    // As many names as a list's index holds: they load back.
    const std::vector<std::string> names(DataFileIndex::kMaxBases, "PLATE001");
    ClashCache kept(file, "/lists/", ".sdb");
    kept.Put("a.sdb", kRead, kRead, ChangedPlus(ClashCache::kSettledSeconds, 1), names);
    kept.Save();

    const struct {
        const char* what;
        std::int64_t DB3_LIST_IDENTITY::*field;  // null: nothing changed
    } changes[] = {{"nothing", nullptr},
                   {"size", &DB3_LIST_IDENTITY::size},
                   {"modified", &DB3_LIST_IDENTITY::modifiedSeconds},
                   {"modified ns", &DB3_LIST_IDENTITY::modifiedNanoseconds},
                   {"changed", &DB3_LIST_IDENTITY::changedSeconds},
                   {"changed ns", &DB3_LIST_IDENTITY::changedNanoseconds}};
    for (const auto& change : changes) {
        DB3_LIST_IDENTITY now = kRead;
        if (change.field != nullptr) {
            ++(now.*change.field);
        }
        ClashCache loaded(file, "/lists/", ".sdb");
        const std::vector<std::string>* found = loaded.Find("a.sdb", now);
        if (change.field == nullptr) {
            ASSERT_NE(found, nullptr);
            EXPECT_EQ(*found, names);
        } else {
            EXPECT_EQ(found, nullptr) << change.what;
        }
    }
    for (std::uint64_t DB3_LIST_IDENTITY::*field :
         {&DB3_LIST_IDENTITY::device, &DB3_LIST_IDENTITY::inode}) {
        DB3_LIST_IDENTITY now = kRead;
        ++(now.*field);
        EXPECT_EQ(ClashCache(file, "/lists/", ".sdb").Find("a.sdb", now), nullptr);
    }
}

TEST(ClashCacheTest, AListJustWrittenIsKeptAtOnceWhileItsChangeCounterStays) {
    const k2ltest::ScratchDir dir;
    const std::string file = dir.Path("cache");
    ClashCache written(file, "/lists/", ".sdb");
    written.PutWritten("out.sdb", kRead, {"PLATE001"});  // its times not settled
    written.Save();
    DB3_LIST_IDENTITY counted = kRead;
    ++counted.changeCounter;
    EXPECT_TRUE(ClashCache(file, "/lists/", ".sdb").NeedsCounter("out.sdb"));
    EXPECT_NE(ClashCache(file, "/lists/", ".sdb").Find("out.sdb", kRead), nullptr);
    EXPECT_EQ(ClashCache(file, "/lists/", ".sdb").Find("out.sdb", counted), nullptr);
}

TEST(ClashCacheTest, AListIsKeptOnlyOnceItsLastChangeLiesTheSettlingTimeBack) {
    DB3_LIST_IDENTITY modifiedLater = kRead;
    modifiedLater.modifiedSeconds = kRead.changedSeconds + 1;
    DB3_LIST_IDENTITY counted = kRead;
    ++counted.changeCounter;
    const std::time_t settled = ClashCache::kSettledSeconds;
    const struct {
        timespec readAt;
        DB3_LIST_IDENTITY before;
        DB3_LIST_IDENTITY after;
        bool kept;
    } rows[] = {
        {ChangedPlus(settled, 1), kRead, kRead, true},
        {ChangedPlus(settled, 0), kRead, kRead, false},
        {ChangedPlus(settled - 1, 999999999), kRead, kRead, false},
        {ChangedPlus(1, 0), kRead, kRead, false},
        {ChangedPlus(settled, 1), modifiedLater, modifiedLater, false},
        {ChangedPlus(settled, 1), kRead, counted, false},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        ClashCache cache("/nonexistent/cache", "/lists/", ".sdb");
        cache.Put("a.sdb", rows[i].before, rows[i].after, rows[i].readAt, {"PLATE001"});
        EXPECT_EQ(cache.Find("a.sdb", rows[i].before) != nullptr, rows[i].kept) << "row " << i;
    }
}

}  // namespace
