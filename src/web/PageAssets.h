#pragma once

#include <string_view>
#include <vector>

// A file of the dashboard (page, script, style) built into the program, so
// that the pages need nothing from outside the station.
struct EmbeddedFile {
    std::string_view name; // "app.js"
    std::string_view bytes;
};

const std::vector<EmbeddedFile>& EmbeddedAssets();
