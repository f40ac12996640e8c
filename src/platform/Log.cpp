#include "Log.h"

#include "LogFormat.h"

#include <QLoggingCategory>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {
bool TraceRequested() {
    const char* value = std::getenv("HELIOWATCH_TRACE");
    return value != nullptr && std::strcmp(value, "1") == 0;
}

const QLoggingCategory& StationCategory() {
    static const QLoggingCategory category("heliowatch", QtInfoMsg);
    return category;
}

const QLoggingCategory& TraceCategory() {
    static const QLoggingCategory category("heliowatch.trace",
                                           TraceRequested() ? QtDebugMsg : QtWarningMsg);
    return category;
}

const QLoggingCategory& CategoryOf(LogLevel level) {
    return level == LogLevel::Debug ? TraceCategory() : StationCategory();
}

QtMsgType MessageType(LogLevel level) {
    switch (level) {
    case LogLevel::Debug: return QtDebugMsg;
    case LogLevel::Info: return QtInfoMsg;
    case LogLevel::Warning: return QtWarningMsg;
    case LogLevel::Error: return QtCriticalMsg;
    }
    return QtCriticalMsg;
}

LogLevel LevelOf(QtMsgType type) {
    switch (type) {
    case QtDebugMsg: return LogLevel::Debug;
    case QtInfoMsg: return LogLevel::Info;
    case QtWarningMsg: return LogLevel::Warning;
    default: return LogLevel::Error;
    }
}

// Whole lines in one write, so lines of different threads never interleave.
void WriteToStderr(const std::string& lines) {
    std::size_t written = 0;
    while (written < lines.size()) {
        const ssize_t result = write(STDERR_FILENO, lines.data() + written, lines.size() - written);
        if (result < 0 && errno == EINTR) {
            continue;
        }
        if (result <= 0) {
            return;
        }
        written += static_cast<std::size_t>(result);
    }
}

void WriteMessage(QtMsgType type, const QMessageLogContext&, const QString& message) {
    static const bool toJournal = IsJournalStream(STDERR_FILENO, std::getenv("JOURNAL_STREAM"));
    WriteToStderr(FormatLogLines(LevelOf(type), toJournal, program_invocation_short_name,
                                 message.toStdString()));
}
} // namespace

void StartLogging() {
    static const bool installed = [] {
        qInstallMessageHandler(WriteMessage);
        return true;
    }();
    (void)installed;
}

bool LogEnabled(LogLevel level) {
    return CategoryOf(level).isEnabled(MessageType(level));
}

void WriteReportLine(std::FILE* out, LogLevel level, const std::string& line) {
    const bool toJournal = IsJournalStream(fileno(out), std::getenv("JOURNAL_STREAM"));
    const std::string text = toJournal ? FormatLogLines(level, true, {}, line) : line + "\n";
    std::fputs(text.c_str(), out);
    std::fflush(out);
}

void Log(LogLevel level, const std::string& text) {
    if (!LogEnabled(level)) {
        return;
    }
    StartLogging();
    const QMessageLogger logger(nullptr, 0, nullptr, CategoryOf(level).categoryName());
    switch (level) {
    case LogLevel::Debug: logger.debug("%s", text.c_str()); break;
    case LogLevel::Info: logger.info("%s", text.c_str()); break;
    case LogLevel::Warning: logger.warning("%s", text.c_str()); break;
    case LogLevel::Error: logger.critical("%s", text.c_str()); break;
    }
}
