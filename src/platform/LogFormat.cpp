#include "LogFormat.h"

#include <cinttypes>
#include <cstdio>
#include <sys/stat.h>

namespace {
const char* JournalPrefix(LogLevel level) {
    switch (level) {
    case LogLevel::Debug: return "<7>";
    case LogLevel::Info: return "<6>";
    case LogLevel::Warning: return "<4>";
    case LogLevel::Error: return "<3>";
    }
    return "";
}

std::string TerminalPrefix(LogLevel level, std::string_view program) {
    switch (level) {
    case LogLevel::Warning: return std::string(program) + ": warning: ";
    case LogLevel::Error: return std::string(program) + ": ";
    default: return {};
    }
}
} // namespace

std::string FormatLogLines(LogLevel level, bool toJournal, std::string_view program,
                           std::string_view text) {
    if (!text.empty() && text.back() == '\n') {
        text.remove_suffix(1);
    }
    const std::string prefix = toJournal ? JournalPrefix(level) : TerminalPrefix(level, program);
    std::string lines;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find('\n', start);
        lines += prefix;
        lines += text.substr(start, end - start);
        lines += '\n';
        if (end == std::string_view::npos) {
            return lines;
        }
        start = end + 1;
    }
}

bool IsJournalStream(int fd, const char* journalStream) {
    std::uintmax_t device = 0;
    std::uintmax_t inode = 0;
    struct stat info {};
    return journalStream != nullptr &&
           std::sscanf(journalStream, "%" SCNuMAX ":%" SCNuMAX, &device, &inode) == 2 &&
           fstat(fd, &info) == 0 && info.st_dev == device && info.st_ino == inode;
}
