#include "TempDirectory.h"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

TempDirectory::TempDirectory() {
    const char* base = std::getenv("HELIOWATCH_TEST_TMP");
    const std::filesystem::path parent = base != nullptr ? base : "/tmp";
    std::filesystem::create_directories(parent);
    std::string pattern = (parent / "dialogs-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) {
        m_path = pattern;
    }
}

TempDirectory::~TempDirectory() {
    if (!m_path.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
}
