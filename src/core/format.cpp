#include "core/format.h"

#include <cstdarg>
#include <cstdio>

namespace pelko {

std::string Format(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    va_list copy;
    va_copy(copy, args);
    const int size = std::vsnprintf(nullptr, 0, fmt, copy);
    va_end(copy);
    std::string out;
    if (size > 0) {
        out.resize(static_cast<std::size_t>(size));
        std::vsnprintf(out.data(), out.size() + 1, fmt, args);
    }
    va_end(args);
    return out;
}

std::string PercentText(const std::string& prefix, double done, double total,
                        const std::string& suffix) {
    const double pct = total > 0 ? 100.0 * done / total : 100.0;
    return prefix + Format(" ( завершено %.0f %% ", pct) + suffix;
}

} // namespace pelko
