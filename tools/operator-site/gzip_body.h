#pragma once
// The site compresses its replies itself, so that the request log can say for certain which
// replies went out gzipped.

#include <string>
#include <string_view>

namespace pelko::site {

// The gzip form of `body`; throws std::runtime_error when zlib fails.
std::string GzipCompress(std::string_view body);

} // namespace pelko::site
