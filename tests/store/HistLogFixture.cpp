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
    m_temp = std::make_unique<TempDirectory>();
    m_dataDirectory = m_temp->Path();
    ASSERT_TRUE(fs::create_directory(HistLog()));
    SetDataDirectory(m_dataDirectory);
}

void HistLogFixture::TearDown() {
    m_temp.reset();
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
