#include "WholeNumber.h"

#include <charconv>

std::optional<long long> WholeNumber(const std::string& text) {
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+') {
        ++first;
    }
    long long number = 0;
    const auto [end, error] = std::from_chars(first, last, number);
    if (first == last || error != std::errc() || end != last) {
        return std::nullopt;
    }
    return number;
}
