#include "site_archive.h"

#include "core/codec.h"
#include "core/draw_csv.h"

#include <charconv>
#include <fstream>
#include <optional>
#include <sstream>
#include <stdexcept>

namespace pelko::site {

namespace {

std::optional<int> ParseInt(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

std::string_view ChopLineEnd(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

bool IsBlank(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

TSiteDraw ParseDrawLine(std::string_view line, std::size_t lineNo) {
    const std::vector<std::string> fields = SplitDrawCsvFields(line);
    const auto fail = [&](const std::string& why) {
        return std::runtime_error("archive line " + std::to_string(lineNo) + ": " + why);
    };
    if (fields.size() < 2) throw fail("expected number;\"date\";numbers");
    TSiteDraw draw;
    const std::optional<int> number = ParseInt(fields[0]);
    if (!number) throw fail("draw number '" + fields[0] + "' is not an integer");
    draw.Number = *number;
    draw.Date = Cp1251ToUtf8(fields[1]);
    for (std::size_t i = 2; i < fields.size(); ++i) {
        if (fields[i].empty()) continue; // a ";" ending the line
        const std::optional<int> ball = ParseInt(fields[i]);
        if (!ball) throw fail("number '" + fields[i] + "' is not an integer");
        draw.Balls.push_back(*ball);
    }
    return draw;
}

} // namespace

TSiteArchive TSiteArchive::FromCsv(std::string_view content) {
    TSiteArchive archive;
    std::size_t lineNo = 0;
    while (!content.empty()) {
        const std::size_t end = content.find('\n');
        const std::string_view line = ChopLineEnd(content.substr(0, end));
        content.remove_prefix(end == std::string_view::npos ? content.size() : end + 1);
        ++lineNo;
        if (!IsBlank(line)) archive.draws_.push_back(ParseDrawLine(line, lineNo));
    }
    return archive;
}

TSiteArchive TSiteArchive::FromFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open the archive " + file.string());
    std::ostringstream content;
    content << in.rdbuf();
    return FromCsv(content.str());
}

std::vector<const TSiteDraw*> TSiteArchive::NewestFirstInRange(int first, int last) const {
    std::vector<const TSiteDraw*> found;
    for (auto it = draws_.rbegin(); it != draws_.rend(); ++it)
        if (it->Number >= first && it->Number <= last) found.push_back(&*it);
    return found;
}

const TSiteDraw* TSiteArchive::Find(int number) const {
    for (auto it = draws_.rbegin(); it != draws_.rend(); ++it)
        if (it->Number == number) return &*it;
    return nullptr;
}

} // namespace pelko::site
