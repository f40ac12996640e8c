#include "Gzip.h"

#include <zlib.h>

namespace {
constexpr int GZIP_WINDOW = 15 + 16; // the largest window, with a gzip header
constexpr int MEMORY_LEVEL = 8;
} // namespace

std::string GzipCompressed(const std::string& text) {
    z_stream stream{};
    if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, GZIP_WINDOW, MEMORY_LEVEL,
                     Z_DEFAULT_STRATEGY) != Z_OK) {
        return {};
    }
    std::string compressed(deflateBound(&stream, text.size()), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
    stream.avail_in = static_cast<uInt>(text.size());
    stream.next_out = reinterpret_cast<Bytef*>(compressed.data());
    stream.avail_out = static_cast<uInt>(compressed.size());
    const int result = deflate(&stream, Z_FINISH);
    compressed.resize(stream.total_out);
    deflateEnd(&stream);
    return result == Z_STREAM_END ? compressed : std::string();
}
