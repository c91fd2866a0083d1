#include "samplelist/SampListFile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "samplelist/fake_data_system.h"

namespace {

using ::testing::ElementsAre;

class SampListFileTest : public ::testing::Test {
protected:
    void SetUp() override { fake::Reset(); }

    static std::vector<std::int32_t> OpenModes() {
        std::vector<std::int32_t> modes;
        for (const fake::Call& call : fake::Get().calls) {
            if (call.function == "DB3Open") {
                modes.push_back(call.mode);
            }
        }
        return modes;
    }

    static const fake::Call& Store() {
        const fake::Call& call = fake::Get().calls.at(0);
        EXPECT_EQ(call.function, "StoreGlobalFile");
        return call;
    }
};

TEST_F(SampListFileTest, CreatePublishesTheLocationAndCreatesByBaseName) {
    CSampListFile file("C:\\Lists\\run12.sdb", TRUE);
    EXPECT_TRUE(file.IsOpen());
    EXPECT_EQ(file.GetError(), 0);
    EXPECT_EQ(file.GetName(), "run12");
    EXPECT_EQ(file.GetRecordCount(), 0);

    const fake::Call& store = Store();
    EXPECT_EQ(store.section, "SystemList");
    EXPECT_EQ(store.key, "SAMPLES_DB");
    EXPECT_EQ(store.flag, 1);
    EXPECT_STREQ(store.info.szDirectory, "C:\\Lists\\");
    EXPECT_STREQ(store.info.szName, "run12");
    EXPECT_STREQ(store.info.szExtension, "sdb");
    EXPECT_EQ(store.info.reserved[0], 0);
    EXPECT_EQ(store.info.reserved[1], 0);

    // Creating: check, remove, create, and no count is read.
    EXPECT_THAT(fake::Get().Functions(),
                ElementsAre("StoreGlobalFile", "DB3Open", "DB3Open", "DB3Open"));
    EXPECT_THAT(OpenModes(), ElementsAre(5, 3, 2));
    for (std::size_t i = 1; i < fake::Get().calls.size(); ++i) {
        EXPECT_EQ(fake::Get().calls[i].database, 5);
        EXPECT_EQ(fake::Get().calls[i].name, "run12");
    }
}

TEST_F(SampListFileTest, LocationFieldsAreZeroBeyondTheirTexts) {
    CSampListFile file("/data/lists/plate7.sdb", TRUE);
    const GLOBAL_FILE_INFO& info = Store().info;
    EXPECT_STREQ(info.szDirectory, "/data/lists/");
    const auto* bytes = reinterpret_cast<const unsigned char*>(&info);
    for (std::size_t i = 2 + sizeof("/data/lists/") - 1; i < 262; ++i) {
        ASSERT_EQ(bytes[i], 0) << "offset " << i;
    }
    for (std::size_t i = 262 + sizeof("plate7") - 1; i < 518; ++i) {
        ASSERT_EQ(bytes[i], 0) << "offset " << i;
    }
    for (std::size_t i = 518 + sizeof("sdb") - 1; i < 784; ++i) {
        ASSERT_EQ(bytes[i], 0) << "offset " << i;
    }
}

TEST_F(SampListFileTest, PathWithoutExtensionPublishesAnEmptyExtension) {
    CSampListFile file("C:\\Lists\\run12", TRUE);
    EXPECT_STREQ(Store().info.szName, "run12");
    EXPECT_STREQ(Store().info.szExtension, "");
}

TEST_F(SampListFileTest, OnlyTheLastDotStartsTheExtension) {
    CSampListFile file("/x/plate.7.sdb", TRUE);
    EXPECT_STREQ(Store().info.szDirectory, "/x/");
    EXPECT_STREQ(Store().info.szName, "plate.7");
    EXPECT_STREQ(Store().info.szExtension, "sdb");
}

TEST_F(SampListFileTest, OpenExistingChecksOpensAndReadsTheCount) {
    fake::Get().records = 7;
    CSampListFile file("C:\\Lists\\run12.sdb", FALSE);
    EXPECT_TRUE(file.IsOpen());
    EXPECT_EQ(file.GetRecordCount(), 7);
    EXPECT_THAT(fake::Get().Functions(),
                ElementsAre("StoreGlobalFile", "DB3Open", "DB3Open", "DB3GetRecordsInDB"));
    EXPECT_THAT(OpenModes(), ElementsAre(5, 0));
}

TEST_F(SampListFileTest, OnlyBitZeroOfCreateCounts) {
    CSampListFile file("C:\\Lists\\run12.sdb", 2);  // bit 0 clear: open
    EXPECT_THAT(OpenModes(), ElementsAre(5, 0));
    fake::Reset();
    CSampListFile other("C:\\Lists\\run12.sdb", 3);  // bit 0 set: create
    EXPECT_THAT(OpenModes(), ElementsAre(5, 3, 2));
}

TEST_F(SampListFileTest, AppendsUseRunningRecordNumbersAndTheRecordBuffer) {
    CSampListFile file("C:\\Lists\\run12.sdb", TRUE);
    CSampListRecord record;
    record.Reset(FALSE);
    fake::Get().calls.clear();
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(file.AppendRecord(record));
    }
    EXPECT_EQ(file.GetRecordCount(), 3);

    std::vector<std::int32_t> numbers;
    for (const fake::Call& call : fake::Get().calls) {
        if (call.function == "DB3HandleRecord") {
            numbers.push_back(call.number);
            EXPECT_EQ(call.database, 5);
            EXPECT_EQ(call.operation, 3);
            EXPECT_EQ(call.flag, 1);
            EXPECT_EQ(call.record, &record.m_record);
        }
    }
    EXPECT_THAT(numbers, ElementsAre(1, 2, 3));
    EXPECT_THAT(fake::Get().Functions(),
                ElementsAre("DB3HandleRecord", "DB3GetRecordsInDB", "DB3HandleRecord",
                            "DB3GetRecordsInDB", "DB3HandleRecord", "DB3GetRecordsInDB"));
}

TEST_F(SampListFileTest, RefusedAppendKeepsTheCountAndItsStatus) {
    CSampListFile file("C:\\Lists\\run12.sdb", TRUE);
    CSampListRecord record;
    record.Reset(FALSE);
    fake::Get().storeStatus = [](std::int32_t, std::int64_t attempt) {
        return attempt == 2 ? DB3_E_BUSY : DB3_OK;
    };
    EXPECT_TRUE(file.AppendRecord(record));
    EXPECT_FALSE(file.AppendRecord(record));
    EXPECT_EQ(file.GetError(), DB3_E_BUSY);
    EXPECT_EQ(file.GetRecordCount(), 1);
    EXPECT_TRUE(file.AppendRecord(record));
    EXPECT_EQ(file.GetError(), 0);
    EXPECT_EQ(file.GetRecordCount(), 2);
    EXPECT_EQ(fake::Get().calls.back().function, "DB3GetRecordsInDB");
}

TEST_F(SampListFileTest, Status13FromTheCheckFailsButTheLocationIsStored) {
    fake::Get().openStatus[5] = 13;
    CSampListFile file("C:\\Lists\\run12.sdb", TRUE);
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(file.GetError(), 13);
    EXPECT_THAT(fake::Get().Functions(), ElementsAre("StoreGlobalFile", "DB3Open"));
    EXPECT_STREQ(Store().info.szName, "run12");
}

TEST_F(SampListFileTest, OtherStatusFromTheCheckIsOnlyRecorded) {
    fake::Get().openStatus[5] = DB3_E_NOT_FOUND;
    CSampListFile file("C:\\Lists\\run12.sdb", TRUE);
    EXPECT_TRUE(file.IsOpen());
    EXPECT_EQ(file.GetError(), 0);
    EXPECT_THAT(OpenModes(), ElementsAre(5, 3, 2));
}

TEST_F(SampListFileTest, FailedCreateOrOpenLeavesTheFileClosedWithItsStatus) {
    fake::Get().openStatus[3] = DB3_E_NOT_FOUND;  // ignored
    fake::Get().openStatus[2] = DB3_E_READ_ONLY;
    {
        CSampListFile file("C:\\Lists\\run12.sdb", TRUE);
        EXPECT_FALSE(file.IsOpen());
        EXPECT_EQ(file.GetError(), DB3_E_READ_ONLY);
        CSampListRecord record;
        record.Reset(FALSE);
        EXPECT_FALSE(file.AppendRecord(record));
    }
    // No append, no close and no count for a list that did not open.
    EXPECT_THAT(fake::Get().Functions(),
                ElementsAre("StoreGlobalFile", "DB3Open", "DB3Open", "DB3Open"));

    fake::Reset();
    fake::Get().openStatus[0] = DB3_E_NOT_FOUND;
    CSampListFile file("C:\\Lists\\run12.sdb", FALSE);
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(file.GetError(), DB3_E_NOT_FOUND);
    EXPECT_THAT(fake::Get().Functions(), ElementsAre("StoreGlobalFile", "DB3Open", "DB3Open"));
}

TEST_F(SampListFileTest, CloseClosesOnceAndRecordsItsStatus) {
    {
        CSampListFile file("C:\\Lists\\run12.sdb", TRUE);
        fake::Get().closeStatus = DB3_E_FULL;
        file.Close();
        EXPECT_FALSE(file.IsOpen());
        EXPECT_EQ(file.GetError(), DB3_E_FULL);
        file.Close();
    }
    EXPECT_EQ(fake::Get().calls.back().function, "DB3Close");
    EXPECT_EQ(fake::Get().calls.back().database, 5);
    std::size_t closes = 0;
    for (const std::string& function : fake::Get().Functions()) {
        closes += function == "DB3Close";
    }
    EXPECT_EQ(closes, 1u);
}

TEST_F(SampListFileTest, DestructionCloses) {
    { CSampListFile file("C:\\Lists\\run12.sdb", TRUE); }
    EXPECT_EQ(fake::Get().calls.back().function, "DB3Close");
    EXPECT_FALSE(fake::Get().open);
}

TEST_F(SampListFileTest, KeepingAnExistingListLeavesOutTheReplaceAndAbandonCommitsNothing) {
    {
        CSampListFile file("C:\\Lists\\run12.sdb", TRUE, FALSE);
        EXPECT_THAT(OpenModes(), ElementsAre(5, 2));
        file.Abandon();
        EXPECT_FALSE(file.IsOpen());
        file.Abandon();
    }
    // Abandoned once, never closed: the list does not appear.
    const std::vector<std::string> functions = fake::Get().Functions();
    EXPECT_EQ(std::count(functions.begin(), functions.end(), "DB3Abandon"), 1);
    EXPECT_EQ(std::count(functions.begin(), functions.end(), "DB3Close"), 0);
}

TEST_F(SampListFileTest, PartsThatFitTheirFieldsExactlyArePublished) {
    const std::string directory = "/" + std::string(257, 'd') + "/";  // 259 characters
    const std::string name(255, 'n');
    const std::string extension(265, 'e');
    CSampListFile file(directory + name + "." + extension, TRUE);
    EXPECT_TRUE(file.IsOpen());
    EXPECT_EQ(std::string(Store().info.szDirectory), directory);
    EXPECT_EQ(std::string(Store().info.szName), name);
    EXPECT_EQ(std::string(Store().info.szExtension), extension);
}

TEST_F(SampListFileTest, PartsTooLongForTheirFieldsAreRefusedBeforeAnyCall) {
    struct Case {
        std::string path;
        const char* part;
    };
    const Case cases[] = {
        {"/" + std::string(258, 'd') + "/run12.sdb", "directory"},
        {"C:\\" + std::string(256, 'd') + "\\run12.sdb", "directory"},
        {"/lists/" + std::string(256, 'n') + ".sdb", "name"},
        {"/lists/run12." + std::string(266, 'e'), "extension"},
        {std::string("/lists/run\0"
                     "12.sdb",
                     16),
         "path"},
    };
    for (const Case& c : cases) {
        fake::Reset();
        CSampListFile file(c.path, TRUE);
        EXPECT_FALSE(file.IsOpen()) << c.part;
        EXPECT_EQ(file.GetError(), DB3_E_INVALID) << c.part;
        ASSERT_NE(file.GetTooLongPart(), nullptr) << c.part;
        EXPECT_STREQ(file.GetTooLongPart(), c.part);
        EXPECT_TRUE(fake::Get().calls.empty()) << c.part;
    }
}

TEST_F(SampListFileTest, AppendBeyondTheLargestRecordNumberIsRefused) {
    fake::Get().records = INT32_MAX;
    CSampListFile file("C:\\Lists\\run12.sdb", FALSE);
    ASSERT_EQ(file.GetRecordCount(), INT32_MAX);
    fake::Get().calls.clear();
    CSampListRecord record;
    record.Reset(FALSE);
    EXPECT_FALSE(file.AppendRecord(record));
    EXPECT_EQ(file.GetError(), DB3_E_TOO_LARGE);
    EXPECT_TRUE(fake::Get().calls.empty());
}

}  // namespace
