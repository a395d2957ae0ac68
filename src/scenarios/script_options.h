#pragma once
// The options of a scenario line: how its starting list is made and what is done with the
// list its filters leave. Stored in the line as a short coded text ("EXCL:5#RAND#CLR#NEX").

#include <cstdint>
#include <string>
#include <string_view>

namespace pelko {

enum class TStartCombsType : std::uint8_t { Full, Excl, Curr };
enum class TResultCombsMode : std::uint8_t {
    Ext,
    Rand,
    First,
    Last,
    All,
    Sysa,
    Sysc,
    Stop,
    Skip,
    None
};

inline constexpr int START_COMBS_TYPE_COUNT = 3;
inline constexpr int RESULT_COMBS_MODE_COUNT = 10;

struct TScriptOptions {
    std::int32_t DrawsExclude = 0;
    TStartCombsType StartType = TStartCombsType::Full;
    TResultCombsMode ResultMode = TResultCombsMode::Ext;
    bool ClearStakes = false;
    bool NewOnly = false;

    friend bool operator==(const TScriptOptions&, const TScriptOptions&) = default;
};

// The caption of any value outside the tables.
inline constexpr const char* ERROR_CAPTION = "# ERROR #";

// Codes ("FULL", "EXT" ...); "" for a value outside the table.
std::string_view StartTypeCode(TStartCombsType type);
std::string_view ResultModeCode(TResultCombsMode mode);

// Captions, looked up with the value's top bit cleared; ERROR_CAPTION outside the table.
std::string StartTypeDialogCaption(int value);
// "Исключить %d тиражей" for EXCL, formatted with drawsExclude.
std::string StartTypeListCaption(int value, std::int32_t drawsExclude);
std::string ResultModeDialogCaption(int value);
std::string ResultModeListCaption(int value);

// "FULL:0#EXT", "EXCL:5#RAND#CLR#NEX": the start type always carries its number.
std::string OptionsToText(const TScriptOptions& options);
// "FULL#EXT", "EXCL:5#RAND#NEX": the number only for EXCL, no CLR (stake comments).
std::string OptionsToShortText(const TScriptOptions& options);
// Reads both forms, ignoring case; unknown codes leave the defaults.
TScriptOptions TextToOptions(std::string_view text);
// "Исключить 5 тиражей; Случайно; Удалить ставки; Только новые ставки".
std::string OptionsCaption(const TScriptOptions& options);

} // namespace pelko
