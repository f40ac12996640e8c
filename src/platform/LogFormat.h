#pragma once

#include "Log.h"

#include <string>
#include <string_view>

// The text written for one message: a line per line of text, each with the
// syslog priority prefix ("<4>") when the journal reads it, else a warning
// or error names the program ("heliowatch: warning: ...", "heliowatch: ...").
std::string FormatLogLines(LogLevel level, bool toJournal, std::string_view program,
                           std::string_view text);

// Whether fd is the stream systemd named in JOURNAL_STREAM ("device:inode").
// The variable alone says nothing: children and terminals inherit it.
bool IsJournalStream(int fd, const char* journalStream);
