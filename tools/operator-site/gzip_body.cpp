#include "gzip_body.h"

#include <stdexcept>
#include <zlib.h>

namespace pelko::site {

std::string GzipCompress(std::string_view body) {
    z_stream stream{};
    // 15 window bits + 16: a gzip header and trailer rather than the zlib ones.
    if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) !=
        Z_OK)
        throw std::runtime_error("zlib: deflateInit2 failed");
    std::string out(deflateBound(&stream, static_cast<uLong>(body.size())) + 32, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(body.data()));
    stream.avail_in = static_cast<uInt>(body.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    const int result = deflate(&stream, Z_FINISH);
    deflateEnd(&stream);
    if (result != Z_STREAM_END) throw std::runtime_error("zlib: deflate failed");
    out.resize(stream.total_out);
    return out;
}

} // namespace pelko::site
