#pragma once

#include <string>

// The text in gzip form, as HTTP's "Content-Encoding: gzip" carries it.
std::string GzipCompressed(const std::string& text);
