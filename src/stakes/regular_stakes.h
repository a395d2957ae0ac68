#pragma once
// Regular stakes: rules that yield one six-number stake per draw by shifting a base
// combination (a constant one that moves on by itself, or the previous draw's numbers)
// by a fixed step around the circle 1..45. The rules live in "Pelko_6x45.ltb", a flat
// sequence of 280-byte records rewritten whole after every change.

#include "core/config.h"
#include "core/lottery.h"
#include "stakes/stake_record.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pelko {

inline constexpr const char* TABLES_FILE_NAME = "Pelko_6x45.ltb";
inline constexpr std::size_t TABLE_RECORD_SIZE = 280;
inline constexpr const char* DEFAULT_TABLE_COMMENT = "Регулярная ставка";
inline constexpr const char* TABLE_SELECTED_COMBS_TEXT = "{...Выделенные комбинации...}";

enum TTableMode : std::uint8_t {
    tmConstant = 0, // the start combination, shifted once more for every stake
    tmLastDraw = 1, // the previous draw's numbers, shifted once
};

struct TTableData {
    std::uint8_t CommentLen = 0;
    char Comment[255] = {}; // Windows-1251 bytes
    std::uint8_t Mode = tmConstant;
    std::uint8_t Start[LOTTO_COUNT] = {};   // ascending; zeros when none was given
    std::uint8_t Current[LOTTO_COUNT] = {}; // the last combination produced, ascending
    std::uint8_t Reserved[3] = {};
    std::int32_t Step = 1; // -45..45
    std::int32_t Stakes = 0;

    std::string CommentText() const;
    void SetCommentText(std::string_view utf8);
    std::string_view RawComment() const { return {Comment, CommentLen}; }
};
static_assert(sizeof(TTableData) == TABLE_RECORD_SIZE, "TTableData is the 280-byte regular record");

using TTablesArray = std::vector<TTableData>;

std::string EncodeTableRecord(const TTableData& rule);
TTableData DecodeTableRecord(const char* record);
// Whole records only; a missing file gives none. Throws when the file cannot be read.
TTablesArray ReadTablesFile(const std::filesystem::path& file);
// Replaces the file atomically.
void WriteTablesFile(const std::filesystem::path& file, const TTablesArray& rules);

// AdvanceTable: the base (mode 1: the draw visible at offset k, zeros outside the archive;
// mode 0: the current combination) shifted by the step, sorted, becomes the current
// combination, and the rule has made one stake more.
void AdvanceTable(const TDrawsArray& draws, int drawsOffset, TTableData& rule);

// The stake a rule yields once advanced: kind "Регуляр", the rule's comment and current
// combination, priced.
TStakeData MakeRegularStake(const TTableData& rule, std::int32_t drawNumber, std::size_t sampleSize,
                            const TConfigData& config);

// The add dialog's OK. `startEditable`: mode 0 with one selected combination.
struct TTableDialogInput {
    std::string Comment;
    std::uint8_t Mode = tmConstant;
    std::string StartText;
    int Step = 1;
    bool StartEditable = false;
};
// The first error (with the field it belongs to), or nothing when accepted.
std::optional<std::string> ValidateTableDialog(const TTableDialogInput& input,
                                               const TTablesArray& existing);

// The rules TablesAdd appends for the accepted dialog: one rule (mode 1, or exactly one
// selected combination), else one per selected combination with " (position)" appended to
// the comment; `selected` holds the 1-based list positions and combinations.
TTablesArray MakeTableRules(const TTableDialogInput& input,
                            const std::vector<std::pair<std::size_t, TComb>>& selected);

// Column texts of the list: comment, start, step, current, stakes made.
std::string TableCellText(const TTableData& rule, int column);
const char* TableColumnCaption(int column);
inline constexpr int TABLE_COLUMN_COUNT = 5;

} // namespace pelko
