#include "core/draw_csv.h"

#include "core/draw_archive.h"
#include "core/record_helpers.h"
#include "core/text_forms.h"

#include <stdexcept>

namespace pelko {

namespace {

bool IsBlankOrControl(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 1 && u <= ' ';
}

// Reads a quoted field starting at text[i] == '"'; leaves i after the closing quote.
std::string ReadQuoted(std::string_view text, std::size_t& i) {
    std::string field;
    ++i;
    while (i < text.size()) {
        if (text[i] == '"') {
            if (i + 1 < text.size() && text[i + 1] == '"') {
                field.push_back('"');
                i += 2;
                continue;
            }
            ++i;
            return field;
        }
        field.push_back(text[i++]);
    }
    return field;
}

void SkipBlanks(std::string_view text, std::size_t& i) {
    while (i < text.size() && IsBlankOrControl(text[i]))
        ++i;
}

std::vector<std::string_view> SplitLines(std::string_view content) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < content.size(); ++i) {
        if (content[i] != '\r' && content[i] != '\n')
            continue;
        lines.push_back(content.substr(start, i - start));
        if (content[i] == '\r' && i + 1 < content.size() && content[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < content.size())
        lines.push_back(content.substr(start));
    return lines;
}

std::string Quote(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"')
            out.push_back('"');
        out.push_back(c);
    }
    out.push_back('"');
    return out;
}

} // namespace

std::vector<std::string> SplitDrawCsvFields(std::string_view line) {
    std::vector<std::string> fields;
    std::size_t i = 0;
    SkipBlanks(line, i);
    while (i < line.size() && line[i] != '\0') {
        if (line[i] == '"') {
            fields.push_back(ReadQuoted(line, i));
        } else {
            const std::size_t start = i;
            while (i < line.size() && !IsBlankOrControl(line[i]) && line[i] != ';' &&
                   line[i] != '\0')
                ++i;
            fields.emplace_back(line.substr(start, i - start));
        }
        SkipBlanks(line, i);
        if (i < line.size() && line[i] == ';') {
            if (i + 1 >= line.size())
                fields.emplace_back();
            ++i;
            SkipBlanks(line, i);
        }
    }
    return fields;
}

std::string DrawToCsvLine(const TDrawData& draw) {
    std::string line = std::to_string(draw.Number) + ";" + Quote(draw.RawDate());
    for (const int n : draw.Nums)
        line += ";" + std::to_string(n);
    return line;
}

std::string DrawsToCsv(const TDrawsArray& draws) {
    std::string out;
    out.reserve(draws.size() * 48);
    for (const auto& d : draws)
        out += DrawToCsvLine(d) + "\r\n";
    return out;
}

TDrawsImport ImportDrawsCsv(std::string_view content, TDrawsArray& draws) {
    const std::vector<std::string_view> lines = SplitLines(WithoutUtf8Bom(content));
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i].size() > MAX_TEXT_LINE_BYTES)
            throw std::runtime_error(LongLineText(i + 1));
    TDrawsImport result;
    for (const auto line : lines) {
        if (TrimText(line).empty())
            continue;
        const auto fields = SplitDrawCsvFields(line);
        if (fields.size() != 7 && fields.size() != 8)
            continue;
        const std::size_t first = fields.size() - 7; // index of the date field
        int numbers[LOTTO_COUNT];
        for (int i = 0; i < LOTTO_COUNT; ++i)
            numbers[i] = StrToIntDef(fields[first + 1 + i], 0);
        if (!ValidLotteryValues(numbers, LOTTO_COUNT)) {
            ++result.Refused;
            continue;
        }
        TDrawData draw;
        draw.Number = first == 0 ? static_cast<std::int32_t>(draws.size()) + 1
                                 : StrToIntDef(fields[0], 0);
        draw.SetRawDate(std::string_view(fields[first]).substr(0, DRAW_DATE_LEN));
        for (int i = 0; i < LOTTO_COUNT; ++i)
            draw.Nums[i] = static_cast<std::uint8_t>(numbers[i]);
        if (draw.Number <= 0 || FindDraw(draws, draw.Number) >= 0)
            continue;
        draws.push_back(draw);
        ++result.Added;
    }
    return result;
}

} // namespace pelko
