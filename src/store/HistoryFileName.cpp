#include "HistoryFileName.h"

#include <algorithm>
#include <filesystem>

namespace {
constexpr std::string_view EXTENSION = ".csv";
constexpr char HEX_DIGITS[] = "0123456789ABCDEF";

bool IsPlain(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_' || c == '.';
}

int HexValue(char c) {
    const std::string_view digits(HEX_DIGITS, 16);
    const auto position = digits.find(c);
    return position == std::string_view::npos ? -1 : static_cast<int>(position);
}

// The escapes of "%XX" decoded; nothing when one is malformed.
std::optional<std::string> Unescaped(std::string_view text) {
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            bytes += text[i];
            continue;
        }
        const int high = i + 2 < text.size() ? HexValue(text[i + 1]) : -1;
        const int low = high >= 0 ? HexValue(text[i + 2]) : -1;
        if (low < 0) {
            return std::nullopt;
        }
        bytes += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return bytes;
}
} // namespace

std::string HistoryFileName(const std::string& serialNo) {
    if (serialNo.empty()) {
        return std::string(UNKNOWN_SERIAL_FILE_NAME);
    }
    std::string name;
    for (std::size_t i = 0; i < serialNo.size(); ++i) {
        const auto byte = static_cast<unsigned char>(serialNo[i]);
        if (IsPlain(serialNo[i]) && !(i == 0 && serialNo[i] == '.')) {
            name += serialNo[i];
        } else {
            name += '%';
            name += HEX_DIGITS[byte >> 4];
            name += HEX_DIGITS[byte & 0x0F];
        }
    }
    return name + std::string(EXTENSION);
}

std::optional<std::string> SerialOfHistoryFileName(std::string_view fileName) {
    if (fileName == UNKNOWN_SERIAL_FILE_NAME) {
        return std::string();
    }
    if (fileName.size() <= EXTENSION.size() || !fileName.ends_with(EXTENSION)) {
        return std::nullopt;
    }
    auto serialNo = Unescaped(fileName.substr(0, fileName.size() - EXTENSION.size()));
    // Only the one spelling HistoryFileName gives counts.
    if (!serialNo || HistoryFileName(*serialNo) != fileName) {
        return std::nullopt;
    }
    return serialNo;
}

std::vector<std::string> HistoryFiles(const std::string& histLogDirectory) {
    std::vector<std::string> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(histLogDirectory, error)) {
        std::error_code typeError;
        if (entry.is_regular_file(typeError) && entry.path().extension() == EXTENSION) {
            files.push_back(entry.path().filename().string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}
