#pragma once

#include <string>

// A fresh directory under HELIOWATCH_TEST_TMP (or /tmp), removed with its
// contents when the object goes.
class TempDirectory {
public:
    TempDirectory();
    ~TempDirectory();
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};
