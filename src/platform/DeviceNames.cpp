#include "DeviceNames.h"

#include <charconv>
#include <dirent.h>

std::vector<std::string> EntryNames(const std::string& directory) {
    std::vector<std::string> names;
    DIR* listing = opendir(directory.c_str());
    if (listing == nullptr) {
        return names;
    }
    while (const dirent* entry = readdir(listing)) {
        names.emplace_back(entry->d_name);
    }
    closedir(listing);
    return names;
}

int NumberAfter(const std::string& name, const std::string& prefix) {
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) {
        return -1;
    }
    const char* first = name.data() + prefix.size();
    const char* last = name.data() + name.size();
    int number = -1;
    const auto [end, error] = std::from_chars(first, last, number);
    if (error != std::errc() || end != last || std::to_string(number) != first) {
        return -1;
    }
    return number;
}
