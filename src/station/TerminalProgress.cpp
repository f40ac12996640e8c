#include "TerminalProgress.h"

#include <string>
#include <unistd.h>

namespace {
constexpr int BAR_WIDTH = 40;
} // namespace

TerminalProgress::TerminalProgress(std::FILE* out, const char* caption)
    : m_out(out), m_caption(caption), m_terminal(::isatty(::fileno(out)) == 1) {}

void TerminalProgress::Show(std::int64_t done, std::int64_t total) {
    const int percent = total > 0 ? static_cast<int>(done * 100 / total) : 100;
    if (!m_terminal || percent == m_shownPercent) {
        return;
    }
    m_shownPercent = percent;
    const int filled = percent * BAR_WIDTH / 100;
    const std::string bar = std::string(static_cast<std::size_t>(filled), '#') +
                            std::string(static_cast<std::size_t>(BAR_WIDTH - filled), ' ');
    std::fprintf(m_out, "\r%s [%s] %3d%%", m_caption, bar.c_str(), percent);
    std::fflush(m_out);
}

void TerminalProgress::Finish() {
    if (m_terminal && m_shownPercent >= 0) {
        std::fputc('\n', m_out);
        std::fflush(m_out);
    }
}
