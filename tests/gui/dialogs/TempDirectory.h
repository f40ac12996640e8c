#pragma once

#include <string>

// A fresh directory under the test's temporary area, removed again at the end.
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
