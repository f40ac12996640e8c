#include "SettingsStore.h"

#include "IniSyntax.h"
#include "ReplaceFile.h"
#include "SettingsCheck.h"
#include "WholeNumber.h"
#include "platform/DataDirectory.h"
#include "platform/MakeDirectories.h"
#include "platform/SystemError.h"
#include "platform/Warning.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

namespace {
enum class FileState { ABSENT, READ, UNREADABLE };

// Why a file was unreadable goes in problem, with the system's words.
FileState ReadText(const std::string& path, std::string& text, std::string* problem = nullptr) {
    const auto unreadable = [&](int error) {
        if (problem != nullptr) {
            *problem = SystemError("cannot read settings file " + path, error);
        }
        return FileState::UNREADABLE;
    };
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return errno == ENOENT ? FileState::ABSENT : unreadable(errno);
    }
    if (!S_ISREG(status.st_mode)) {
        return unreadable(EISDIR);
    }
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return unreadable(errno);
    }
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return in.bad() ? unreadable(errno) : FileState::READ;
}

IniDocument Load(const std::string& path) {
    std::string text;
    return ReadText(path, text) == FileState::READ ? IniDocument(text) : IniDocument();
}

std::string Directory(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}
} // namespace

SettingsStore::SettingsStore(const std::string& path) : m_path(path), m_document(Load(path)) {}

std::string SettingsStore::Problem() const {
    std::string text;
    std::string problem;
    switch (ReadText(m_path, text, &problem)) {
    case FileState::ABSENT: return {};
    case FileState::UNREADABLE: return problem;
    case FileState::READ: break;
    }
    const std::string syntax = IniSyntaxProblem(text);
    return syntax.empty() ? std::string() : "settings file " + m_path + " is malformed: " + syntax;
}

int SettingsStore::GetInt(const std::string& section, const std::string& key, int defaultValue,
                          SettingRange range) const {
    const auto value = m_document.Find(section, key);
    if (!value) {
        return defaultValue;
    }
    const auto number = WholeNumber(value->text);
    if (number && *number >= range.min && *number <= range.max) {
        return static_cast<int>(*number);
    }
    return defaultValue;
}

std::vector<std::string> SettingsStore::KeyProblems() const {
    return SettingsKeyProblems(m_path, m_document);
}

std::string SettingsStore::GetString(const std::string& section, const std::string& key,
                                     const std::string& defaultValue) const {
    const auto value = m_document.Find(section, key);
    return value ? value->text : defaultValue;
}

bool SettingsStore::WriteInt(const std::string& section, const std::string& key, int value) {
    return WriteValues(section, {{key, std::to_string(value)}});
}

// Read again first, so that an edit made while the station runs is kept.
bool SettingsStore::WriteValues(const std::string& section, const KeyValues& values) {
    std::string text;
    std::string reason;
    if (ReadText(m_path, text, &reason) != FileState::UNREADABLE &&
        MakeDirectories(Directory(m_path), DATA_FOLDER_MODE, &reason)) {
        IniDocument document(text);
        for (const auto& [key, value] : values) {
            document.Set(section, key, value);
        }
        if (ReplaceFile(m_path, document.Text(), &reason) == ReplaceOutcome::WRITTEN) {
            m_document = document;
            m_writeProblem.clear();
            return true;
        }
    }
    m_writeProblem = reason;
    Warning("settings not saved: %s", reason.c_str());
    return false;
}
