#pragma once

#include <cstdint>
#include <cstdio>

// A progress bar redrawn in place on a terminal; nothing when the stream is
// not a terminal.
class TerminalProgress {
public:
    TerminalProgress(std::FILE* out, const char* caption);
    void Show(std::int64_t done, std::int64_t total);
    // Ends the bar's line.
    void Finish();

private:
    std::FILE* m_out;
    const char* m_caption;
    bool m_terminal;
    int m_shownPercent = -1;
};
