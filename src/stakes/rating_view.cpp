#include "stakes/rating_view.h"

#include "core/arithmetic.h"
#include "core/codec.h"
#include "core/format.h"
#include "core/text_forms.h"
#include "stakes/ratings.h"

#include <cmath>

namespace pelko {

namespace {

constexpr const char* CAPTIONS[rcColumnCount] = {
    "Комментарий", "Ставок", "Угадано", "Среднее", "Профит", "Ср. профит", "0",  "1",  "2",  "3",
    "4",           "5",      "6",       "E0",      "E1",     "E2",         "E3", "E4", "E5", "E6"};

TExpectedMatches MakeExpectedMatches() {
    TExpectedMatches e;
    const double total = static_cast<double>(Binomial(LOTTO_MAX, LOTTO_COUNT));
    for (int i = 0; i <= LOTTO_COUNT; ++i) {
        e.Combs[i] = CombsWithMatches(LOTTO_MAX, LOTTO_COUNT, i);
        e.Probability[i] = static_cast<double>(e.Combs[i]) / total;
    }
    return e;
}

std::string Money2(TMoney money) {
    return Format("%.2f", MoneyToDouble(money));
}

// Profit per stake in money units, rounded to four decimals first.
double AverageProfit(const TRatingData& row) {
    return std::round(static_cast<double>(row.Profit) / row.Stakes) / MONEY_SCALE;
}

std::string WithDecimalPoint(std::string text, char point) {
    for (char& c : text)
        if (c == '.') c = point;
    return text;
}

std::string Quoted(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

} // namespace

const TExpectedMatches& ExpectedMatches() {
    static const TExpectedMatches expected = MakeExpectedMatches();
    return expected;
}

const char* RatingColumnCaption(int column) {
    return column >= 0 && column < rcColumnCount ? CAPTIONS[column] : "";
}

int RatingColumnWidth(int column) {
    if (column == rcComment) return 200;
    if (column == rcProfit || column == rcAvgProfit) return 80;
    if (column >= rcHits0 && column < rcExpected0) return 30;
    if (column >= rcExpected0) return 70;
    return 60;
}

std::optional<double> RatingEfficiency(const TRatingData& row, int i, int mode) {
    if (row.Stakes == 0 || i < 0 || i > LOTTO_COUNT) return std::nullopt;
    const double s = row.Stakes;
    const double p = ExpectedMatches().Probability[i];
    switch (mode) {
    case emExpected:
        return std::round(s * p);
    case emAbsolute:
        return 100.0 * row.Hits[i] / s - 100.0 * p;
    case emRelative:
        return 100.0 * row.Hits[i] / (s * p);
    default:
        return std::nullopt;
    }
}

std::string RatingCellText(const TRatingData& row, int column, int mode) {
    const bool any = row.Stakes > 0;
    switch (column) {
    case rcComment:
        return row.CommentText();
    case rcStakes:
        return std::to_string(row.Stakes);
    case rcMatched:
        return std::to_string(row.Matched);
    case rcAverage:
        return any ? Format("%.3f", static_cast<double>(row.Matched) / row.Stakes) : "";
    case rcProfit:
        return Money2(row.Profit);
    case rcAvgProfit:
        return any ? Format("%.2f", AverageProfit(row)) : "";
    default:
        break;
    }
    if (column >= rcHits0 && column < rcExpected0)
        return std::to_string(row.Hits[column - rcHits0]);
    if (column >= rcExpected0 && column < rcColumnCount) {
        const auto e = RatingEfficiency(row, column - rcExpected0, mode);
        if (!e) return {};
        // "%.d" prints nothing for a zero expectation, as the list always did.
        return mode == emExpected ? Format("%.d", static_cast<int>(*e)) : Format("%.3f%%", *e);
    }
    return {};
}

std::string RatingsCountText(std::size_t rows) {
    return Format("Рейтинг: %zu", rows);
}

std::string RatingsToCsv(const TRatingsArray& rows, char decimalPoint) {
    std::string out;
    for (int c = 0; c < rcColumnCount; ++c) {
        if (c > 0) out += ';';
        out += Quoted(CAPTIONS[c]);
    }
    out += "\r\n";
    for (const TRatingData& row : rows) {
        const bool any = row.Stakes > 0;
        std::string numbers = ';' + std::to_string(row.Stakes) + ';' + std::to_string(row.Matched);
        numbers += ';' + (any ? Format("%.3f", static_cast<double>(row.Matched) / row.Stakes) : "");
        numbers += ';' + Money2(row.Profit);
        numbers += ';' + (any ? Format("%.2f", AverageProfit(row)) : "");
        for (const std::uint32_t h : row.Hits)
            numbers += ';' + std::to_string(h);
        out += Quoted(row.CommentText()) + WithDecimalPoint(numbers, decimalPoint) + "\r\n";
    }
    return Utf8ToCp1251(out);
}

std::string RatingsToText(const TRatingsArray& rows, int mode) {
    auto field = [](const std::string& text) {
        return text.find_first_of(";\"\r\n") == std::string::npos ? text : Quoted(text);
    };
    std::string out;
    for (int c = 0; c < rcColumnCount; ++c)
        out += (c ? ";" : "") + field(CAPTIONS[c]);
    out += '\n';
    for (const TRatingData& row : rows) {
        for (int c = 0; c < rcColumnCount; ++c)
            out += (c ? ";" : "") + field(RatingCellText(row, c, mode));
        out += '\n';
    }
    return out;
}

std::string RatingCaptionToScriptLine(std::string_view caption) {
    std::string comment, body;
    if (const auto at = caption.find('@'); at != std::string_view::npos) {
        comment = std::string(TrimText(caption.substr(0, at)));
        body = std::string(TrimText(caption.substr(at + 1)));
    } else {
        body = std::string(caption);
    }
    std::string joined;
    for (std::size_t i = 0; i < body.size();) {
        if (body.compare(i, 3, " + ") == 0) {
            joined += '|';
            i += 3;
        } else {
            joined += body[i++];
        }
    }
    // Options plus seven filter fields; a blank counts as a field, an empty piece does not.
    auto fields = [](std::string_view text) {
        int n = 0;
        bool inField = false;
        for (const char c : text) {
            if (c == '|')
                inField = false;
            else if (!inField) {
                inField = true;
                ++n;
            }
        }
        return n;
    };
    while (fields(joined) <= 7)
        joined += "| ";
    return joined + "|" + comment;
}

} // namespace pelko
