#include "ScratchFiles.h"

#include "FuzzCheck.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {
class Scratch {
public:
    Scratch() {
        const char* base = std::getenv("TMPDIR");
        std::string pattern =
            std::string(base != nullptr ? base : "/tmp") + "/heliowatch-fuzz-XXXXXX";
        Require(::mkdtemp(pattern.data()) != nullptr, "a scratch directory can be made");
        m_path = pattern;
    }
    ~Scratch() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};
} // namespace

const std::string& ScratchDirectory() {
    static const Scratch scratch;
    return scratch.Path();
}

void WriteWholeFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    Require(out.good(), "a scratch file can be written");
}
