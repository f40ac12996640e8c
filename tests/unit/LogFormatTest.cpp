#include "platform/LogFormat.h"

#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct FormatCase {
    LogLevel level;
    bool toJournal;
    std::string text;
    std::string lines;
};

TEST(LogFormatTest, PrefixesNameTheLevel) {
    const std::vector<FormatCase> cases{
        {LogLevel::Debug, false, "'Receive': NULL handle !\n", "'Receive': NULL handle !\n"},
        {LogLevel::Info, false, "started", "started\n"},
        {LogLevel::Warning, false, "disk full", "heliowatch: warning: disk full\n"},
        {LogLevel::Error, false, "no port", "heliowatch: no port\n"},
        {LogLevel::Debug, true, "\n trace", "<7>\n<7> trace\n"},
        {LogLevel::Info, true, "two\nlines\n", "<6>two\n<6>lines\n"},
        {LogLevel::Warning, true, "disk full", "<4>disk full\n"},
        {LogLevel::Error, true, "no port", "<3>no port\n"},
    };
    for (const FormatCase& format : cases) {
        EXPECT_EQ(FormatLogLines(format.level, format.toJournal, "heliowatch", format.text),
                  format.lines);
    }
}

TEST(LogFormatTest, TheJournalIsTheStreamItsVariableNames) {
    int first[2];
    int second[2];
    ASSERT_EQ(pipe(first), 0);
    ASSERT_EQ(pipe(second), 0);
    struct stat info {};
    ASSERT_EQ(fstat(first[1], &info), 0);
    const std::string named = std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino);

    EXPECT_TRUE(IsJournalStream(first[1], named.c_str()));
    EXPECT_FALSE(IsJournalStream(second[1], named.c_str()));
    EXPECT_FALSE(IsJournalStream(first[1], nullptr));
    EXPECT_FALSE(IsJournalStream(first[1], "journal"));
    for (const int fd : {first[0], first[1], second[0], second[1]}) {
        close(fd);
    }
}

} // namespace
