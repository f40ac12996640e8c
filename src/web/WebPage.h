#pragma once

#include <string>

// The dashboard document with the first live update in it.
std::string PageHtml(const std::string& liveJson);
