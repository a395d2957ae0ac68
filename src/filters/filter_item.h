#pragma once
// One automated filtering step as a scenario line stores it: the statistic and its draws
// count, the table column that orders the rows and the walking direction, which rows
// qualify (the level mode), keep or remove, optional weight coefficients and when the
// walk stops. An item may hold lists of draws counts and level values; a run expands it
// into parts with one value each, and seven parts make one variant of a line.

#include "core/config.h"

#include <array>
#include <cstdint>
#include <string>

namespace pelko {

struct TStatMethod;

// Which rows of the statistics table qualify.
enum TLevelMode : std::uint8_t {
    lmNone = 0,
    lmDepthMinValue, lmDepthMinPercent, lmDepthMaxValue, lmDepthMaxPercent, lmDepthListValue, lmDepthListPercent,
    lmDevMinValue, lmDevMinPercent, lmDevMaxValue, lmDevMaxPercent, lmDevListValue, lmDevListPercent,
    lmCountMinValue, lmCountMinPercent, lmCountMaxValue, lmCountMaxPercent, lmCountListValue, lmCountListPercent,
    lmWeightMin, lmWeightMax, lmWeightList,
    lmPeriodMinMin, lmPeriodMinMax, lmPeriodMinList,
    lmPeriodMin, lmPeriodMax, lmPeriodList,
    lmPeriodMaxMin, lmPeriodMaxMax, lmPeriodMaxList,
    lmValueList,
};
inline constexpr int LEVEL_MODES = 32;

// When the walk over the rows stops.
enum TStopMode : std::uint8_t {
    smAll = 0,       // "SF"
    smCombsCount,    // "SC"
    smExtendedStake, // "SE"
    smUntilEmpty,    // "SZ"
    smSteps,         // "ST"
    smCountValue,    // "SV"
    smCountPercent,  // "SP"
};
inline constexpr int STOP_MODES = 7;

inline constexpr const char* MODE_CAPTION_ERROR = "# ERROR #";

const char* LevelModeCode(int mode);
const char* StopModeCode(int mode);
// The dialog's captions; looked up with the top bit cleared, "# ERROR #" outside the table.
const char* LevelModeCaption(int mode);
const char* StopModeCaption(int mode);

struct TFilterItem {
    bool Active = false;
    std::string StatText;                // the statistic word as read (empty from the dialog)
    const TStatMethod* Method = nullptr; // none when the registry holds no such code
    std::string DrawsLen;                // number list
    std::int32_t SortOrder = 0;          // statistics table column 0..19
    bool BottomUp = false;
    bool MultiSelect = false;
    bool KeepSelected = false;
    std::uint8_t LevelMode = lmNone;
    std::string LevelValue; // number list
    bool CDLOverride = false;
    TCDLData CDL{0, 0, 0, false, false};
    std::uint8_t StopMode = smAll;
    std::int32_t StopValue = 0;
};

struct TFilterPart {
    bool Active = false;
    const TStatMethod* Method = nullptr;
    std::int32_t DrawsLen = 0;
    std::int32_t SortOrder = 0;
    bool BottomUp = false;
    bool MultiSelect = false;
    bool KeepSelected = false;
    std::uint8_t LevelMode = lmNone;
    std::string LevelValues; // what the row test uses: one value or a list joined by ","
    std::string LevelText;   // the values as texts show them
    bool CDLOverride = false;
    TCDLData CDL;
    std::uint8_t StopMode = smAll;
    std::int32_t StopValue = 0;
};

inline constexpr int FILTERS_PER_LINE = 7;
using TFilterRec = std::array<TFilterPart, FILTERS_PER_LINE>;

} // namespace pelko
