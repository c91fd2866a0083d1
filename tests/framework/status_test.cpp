#include "framework/Status.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

TEST(Status, OkAndFailuresCarryTheirMessageAndErrno) {
    EXPECT_TRUE(Status::Ok().ok());
    EXPECT_TRUE(Status::Ok().message().empty());

    const Status plain = Status::Error("the name holds a '/'");
    EXPECT_FALSE(plain.ok());
    EXPECT_EQ(plain.message(), "the name holds a '/'");
    EXPECT_EQ(plain.ErrorNumber(), 0);

    const Status system = Status::FromErrno("cannot create the directory /x", ENOENT);
    EXPECT_EQ(system.message(), "cannot create the directory /x: No such file or directory");
    EXPECT_EQ(system.ErrorNumber(), ENOENT);
    EXPECT_EQ(Status::FromErrno(ENOENT).message(), "No such file or directory");
    EXPECT_EQ(Status::FromErrno(ENOENT).ErrorNumber(), ENOENT);

    EXPECT_EQ(system.WithContext("/x/settings.ini").message(),
              "/x/settings.ini: cannot create the directory /x: No such file or directory");
    EXPECT_EQ(system.WithContext("/x").ErrorNumber(), ENOENT);
    EXPECT_TRUE(Status::Ok().WithContext("/x").ok());
}

TEST(Status, ResultHoldsAValueOrTheReason) {
    Result<std::string> value = std::string("run12");
    ASSERT_TRUE(value.ok());
    EXPECT_EQ(value.value(), "run12");
    EXPECT_TRUE(value.status().ok());

    const Result<std::string> failed = Status::Error("too long");
    EXPECT_FALSE(failed.ok());
    EXPECT_EQ(failed.status().message(), "too long");
}
