#include "stats/stat_format.h"

#include <cctype>
#include <vector>

namespace pelko {

namespace {

struct TSpec {
    std::size_t End = 0; // one past the type letter
    int Index = -1;      // explicit "n:" index
    bool Left = false;
    int Width = -1;
    int Precision = -1;
    char Type = 0;
};

// Parses the specifier that starts at tmpl[at] == '%' (not "%%"); false when malformed.
bool ParseSpec(std::string_view tmpl, std::size_t at, TSpec& spec) {
    std::size_t i = at + 1;
    auto readNumber = [&](int& out) {
        if (i >= tmpl.size() || !std::isdigit(static_cast<unsigned char>(tmpl[i])))
            return false;
        out = 0;
        while (i < tmpl.size() && std::isdigit(static_cast<unsigned char>(tmpl[i])) && out < 100000)
            out = out * 10 + (tmpl[i++] - '0');
        return true;
    };
    const std::size_t save = i;
    int n = 0;
    if (readNumber(n) && i < tmpl.size() && tmpl[i] == ':')
        spec.Index = n, ++i;
    else
        i = save;
    if (i < tmpl.size() && tmpl[i] == '-')
        spec.Left = true, ++i;
    readNumber(spec.Width);
    if (i < tmpl.size() && tmpl[i] == '.') {
        ++i;
        if (!readNumber(spec.Precision))
            spec.Precision = 0;
    }
    if (i >= tmpl.size())
        return false;
    const char t = static_cast<char>(std::tolower(static_cast<unsigned char>(tmpl[i])));
    if (t != 'd' && t != 's' && t != 'u' && t != 'x')
        return false;
    spec.Type = t;
    spec.End = i + 1;
    return true;
}

std::string Render(const TSpec& spec, const TFormatArg& arg) {
    std::string body;
    if (const auto* v = std::get_if<std::int64_t>(&arg)) {
        const bool neg = *v < 0;
        const std::uint64_t mag = neg ? 0 - static_cast<std::uint64_t>(*v) : static_cast<std::uint64_t>(*v);
        std::string digits;
        if (spec.Type == 'x') {
            const char* hex = "0123456789ABCDEF";
            std::uint64_t m = static_cast<std::uint64_t>(*v);
            do {
                digits.insert(digits.begin(), hex[m & 15]);
                m >>= 4;
            } while (m);
        } else {
            digits = std::to_string(mag);
        }
        if (spec.Precision > 0 && static_cast<int>(digits.size()) < spec.Precision)
            digits.insert(0, static_cast<std::size_t>(spec.Precision) - digits.size(), '0');
        body = (neg && spec.Type != 'x' ? "-" : "") + digits;
    } else {
        body = std::get<std::string>(arg);
        if (spec.Precision >= 0 && static_cast<int>(body.size()) > spec.Precision)
            body.resize(static_cast<std::size_t>(spec.Precision));
    }
    if (spec.Width > 0 && static_cast<int>(body.size()) < spec.Width) {
        const std::string pad(static_cast<std::size_t>(spec.Width) - body.size(), ' ');
        body = spec.Left ? body + pad : pad + body;
    }
    return body;
}

} // namespace

std::string FormatTemplate(std::string_view tmpl, std::initializer_list<TFormatArg> args) {
    const std::vector<TFormatArg> list(args);
    std::string out;
    out.reserve(tmpl.size() + 16);
    int next = 0;
    for (std::size_t i = 0; i < tmpl.size();) {
        if (tmpl[i] != '%') {
            out += tmpl[i++];
            continue;
        }
        if (i + 1 < tmpl.size() && tmpl[i + 1] == '%') {
            out += '%';
            i += 2;
            continue;
        }
        TSpec spec;
        if (!ParseSpec(tmpl, i, spec)) {
            out += tmpl[i++];
            continue;
        }
        const int index = spec.Index >= 0 ? spec.Index : next;
        if (index >= 0 && index < static_cast<int>(list.size())) {
            out += Render(spec, list[static_cast<std::size_t>(index)]);
            next = index + 1;
        } else {
            out.append(tmpl.substr(i, spec.End - i));
        }
        i = spec.End;
    }
    return out;
}

bool HasPlaceholder(std::string_view tmpl) {
    for (std::size_t i = 0; i < tmpl.size(); ++i) {
        if (tmpl[i] != '%')
            continue;
        if (i + 1 < tmpl.size() && tmpl[i + 1] == '%') {
            ++i;
            continue;
        }
        TSpec spec;
        if (ParseSpec(tmpl, i, spec))
            return true;
    }
    return false;
}

} // namespace pelko
