#include "stakes/regular_stakes.h"

#include "core/atomic_file.h"
#include "core/codec.h"
#include "core/draw_archive.h"
#include "core/record_io.h"
#include "core/text_forms.h"
#include "stakes/comment_key.h"
#include "stakes/stake_making.h"
#include "stakes/stake_profit.h"

#include <algorithm>
#include <cstring>

namespace pelko {

namespace {

int ShiftOnCircle(int x, int step) {
    if (step == 0) return x;
    int y = x + step;
    if (step > 0 && y > LOTTO_MAX)
        y -= LOTTO_MAX;
    else if (step < 0 && y <= 0)
        y += LOTTO_MAX;
    return y;
}

std::string SixToText(const std::uint8_t* six) {
    return CombToText(six);
}

} // namespace

std::string TTableData::CommentText() const {
    return Cp1251ToUtf8(RawComment());
}

void TTableData::SetCommentText(std::string_view utf8) {
    const std::string raw = Utf8ToCp1251(utf8);
    const std::size_t n = std::min<std::size_t>(raw.size(), sizeof Comment);
    std::memset(Comment, 0, sizeof Comment);
    std::memcpy(Comment, raw.data(), n);
    CommentLen = static_cast<std::uint8_t>(n);
}

std::string EncodeTableRecord(const TTableData& rule) {
    std::string out;
    out.reserve(TABLE_RECORD_SIZE);
    TRecordWriter w(out);
    w.ShortString(rule.RawComment(), sizeof rule.Comment);
    w.U8(rule.Mode);
    w.Bytes(rule.Start, LOTTO_COUNT);
    w.Bytes(rule.Current, LOTTO_COUNT);
    w.Zeros(3);
    w.I32(rule.Step);
    w.I32(rule.Stakes);
    return out;
}

TTableData DecodeTableRecord(const char* record) {
    TRecordReader r(record);
    TTableData rule;
    rule.CommentLen = r.U8();
    r.Bytes(rule.Comment, sizeof rule.Comment);
    rule.Mode = r.U8();
    r.Bytes(rule.Start, LOTTO_COUNT);
    r.Bytes(rule.Current, LOTTO_COUNT);
    r.Skip(3);
    rule.Step = r.I32();
    rule.Stakes = r.I32();
    return rule;
}

TTablesArray ReadTablesFile(const std::filesystem::path& file) {
    TTablesArray rules;
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) return rules;
    const std::string bytes = ReadWholeFile(file);
    const std::size_t n = bytes.size() / TABLE_RECORD_SIZE;
    rules.reserve(n);
    for (std::size_t i = 0; i < n; ++i)
        rules.push_back(DecodeTableRecord(bytes.data() + i * TABLE_RECORD_SIZE));
    return rules;
}

void WriteTablesFile(const std::filesystem::path& file, const TTablesArray& rules) {
    std::string bytes;
    bytes.reserve(rules.size() * TABLE_RECORD_SIZE);
    for (const TTableData& rule : rules)
        bytes += EncodeTableRecord(rule);
    WriteFileAtomically(file, bytes);
}

void AdvanceTable(const TDrawsArray& draws, int drawsOffset, TTableData& rule) {
    std::uint8_t base[LOTTO_COUNT] = {};
    if (rule.Mode == tmLastDraw) {
        const int index = static_cast<int>(draws.size()) - 1 - drawsOffset;
        if (index >= 0 && index < static_cast<int>(draws.size()))
            std::memcpy(base, draws[index].Nums, LOTTO_COUNT);
    } else {
        std::memcpy(base, rule.Current, LOTTO_COUNT);
    }
    // A damaged step is taken modulo the circle; a valid one (-45..45) is unchanged by it.
    const int step = rule.Step % LOTTO_MAX == 0 ? 0 : rule.Step % LOTTO_MAX;
    TComb next;
    for (int i = 0; i < LOTTO_COUNT; ++i)
        next[i] = static_cast<std::uint8_t>(ShiftOnCircle(base[i], step));
    std::sort(next.begin(), next.end());
    std::memcpy(rule.Current, next.N, LOTTO_COUNT);
    rule.Stakes += 1;
}

TStakeData MakeRegularStake(const TTableData& rule, std::int32_t drawNumber, std::size_t sampleSize,
                            const TConfigData& config) {
    TStakeData s = NewStakeDefaults(drawNumber, sampleSize);
    s.Kind = skRegular;
    s.SetRawComment(rule.RawComment());
    SetStakeNumbers(s, MakeNumberSet(rule.Current, LOTTO_COUNT), config);
    return s;
}

std::optional<std::string> ValidateTableDialog(const TTableDialogInput& input,
                                               const TTablesArray& existing) {
    if (input.Mode == tmConstant && input.StartEditable) {
        const auto set = ParseStakeNumbers(input.StartText);
        if (!set || set->Count != LOTTO_COUNT) return std::string(BAD_STAKE_MESSAGE);
    }
    if (input.Comment.empty()) return std::string(NO_COMMENT_MESSAGE);
    const std::string raw = Utf8ToCp1251(input.Comment);
    for (const TTableData& rule : existing)
        if (SameCommentIgnoringCase(rule.RawComment(), raw))
            return std::string("Запись с таким комментарией уже присутствует в списке!\n"
                               "Выберите другой комментарий.");
    return std::nullopt;
}

TTablesArray MakeTableRules(const TTableDialogInput& input,
                            const std::vector<std::pair<std::size_t, TComb>>& selected) {
    TTablesArray rules;
    TTableData rule;
    rule.SetCommentText(input.Comment);
    rule.Mode = input.Mode;
    rule.Step = input.Step;
    if (input.Mode == tmLastDraw || selected.size() == 1) {
        if (input.StartEditable) {
            if (const auto set = ParseStakeNumbers(input.StartText);
                set && set->Count == LOTTO_COUNT)
                std::memcpy(rule.Start, set->Members, LOTTO_COUNT);
        } else if (selected.size() == 1) {
            TComb c = selected.front().second;
            std::sort(c.begin(), c.end());
            std::memcpy(rule.Start, c.N, LOTTO_COUNT);
        }
        std::memcpy(rule.Current, rule.Start, LOTTO_COUNT);
        rules.push_back(rule);
        return rules;
    }
    for (const auto& [position, comb] : selected) {
        TTableData r = rule;
        r.SetCommentText(input.Comment + " (" + std::to_string(position) + ")");
        std::memcpy(r.Start, comb.N, LOTTO_COUNT);
        std::memcpy(r.Current, comb.N, LOTTO_COUNT);
        rules.push_back(r);
    }
    return rules;
}

const char* TableColumnCaption(int column) {
    static constexpr const char* CAPTIONS[TABLE_COLUMN_COUNT] = {
        "Комментарий", "Стартовая комбинация", "Шаг", "Текущая комбинация", "Ставок"};
    return column >= 0 && column < TABLE_COLUMN_COUNT ? CAPTIONS[column] : "";
}

std::string TableCellText(const TTableData& rule, int column) {
    switch (column) {
    case 0:
        return rule.CommentText();
    case 1:
        return SixToText(rule.Start);
    case 2:
        return std::to_string(rule.Step);
    case 3:
        return SixToText(rule.Current);
    case 4:
        return std::to_string(rule.Stakes);
    default:
        return {};
    }
}

} // namespace pelko
