#include "TempDirectory.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <unistd.h>

TempDirectory::TempDirectory() {
    const char* base = std::getenv("HELIOWATCH_TEST_TMP");
    std::filesystem::path parent = base != nullptr && *base != '\0' ? base : "/tmp";
    std::error_code ignored;
    std::filesystem::create_directories(parent, ignored);
    std::string pattern = (parent / "heliowatch-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) {
        m_path = pattern;
    }
}

TempDirectory::~TempDirectory() {
    if (!m_path.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
}
