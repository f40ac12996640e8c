#include "HistLogFixture.h"

#include "platform/DataDirectory.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

void HistLogFixture::SetUp() {
    const char* base = std::getenv("HELIOWATCH_TEST_TMP");
    const fs::path parent = base != nullptr && *base != '\0' ? base : "/tmp";
    std::error_code ignored;
    fs::create_directories(parent, ignored);
    std::string pattern = (parent / "store-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    m_dataDirectory = pattern;
    ASSERT_TRUE(fs::create_directory(HistLog()));
    SetDataDirectory(m_dataDirectory);
}

void HistLogFixture::TearDown() {
    std::error_code ignored;
    fs::remove_all(m_dataDirectory, ignored);
}

std::vector<std::string> HistLogFixture::FilesBelowDataDirectory() const {
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(m_dataDirectory)) {
        if (entry.is_regular_file()) {
            files.push_back(fs::relative(entry.path(), m_dataDirectory).string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string HistLogFixture::ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void HistLogFixture::WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}
