#include "publish/SendFailures.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

std::size_t Lines(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

TEST(SendFailuresTest, RefusedMessagesCountAsDroppedAndAreToldOncePerRun) {
    SendFailures failures;
    ::testing::internal::CaptureStderr();
    failures.Failed(3, "The client is not currently connected.");
    failures.Failed(5, "The client is not currently connected.");
    const std::string firstRun = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(failures.Dropped(), 8U);
    EXPECT_EQ(Lines(firstRun), 1U) << firstRun;
    EXPECT_NE(firstRun.find("refused 3 messages (The client is not currently connected.)"),
              std::string::npos)
        << firstRun;

    failures.Succeeded();
    ::testing::internal::CaptureStderr();
    failures.Failed(1, "Out of memory.");
    EXPECT_EQ(Lines(::testing::internal::GetCapturedStderr()), 1U);
    EXPECT_EQ(failures.Dropped(), 9U);
}

} // namespace
