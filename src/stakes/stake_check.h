#pragma once
// Checking the stakes against the draw archive: every unchecked stake whose draw is in the
// archive gets the draw's numbers, its matched numbers, their count and its profit, and is
// rewritten in place. Stakes whose draw is missing stay unchecked and are tried again at
// the next check.

#include "core/config.h"
#include "core/lottery.h"
#include "core/status_sink.h"
#include "stakes/stakes_file.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace pelko {

inline constexpr const char* CHECK_STATUS_TEXT = "Проверка результатов ставок...";

// The matched numbers: for each drawn number in drawn order every staked number equal to
// it, then sorted ascending.
TNumberSet MatchStake(const TDrawData& draw, const TNumberSet& numbers);

// Settles one stake against its draw (checked, result, matches, profit).
void SettleStake(TStakeData& stake, const TDrawData& draw, const TConfigData& config);

struct TCheckOutcome {
    std::int64_t Settled = 0;         // stakes rewritten as checked
    std::optional<std::string> Error; // the failure that stopped the pass
    std::int64_t Damaged = 0;         // unchecked records that fail IsValidStakeRecord
    std::int64_t FirstDamaged = -1;   // the index of the first of them
};

// Called for every settled stake once it has reached the file whole (ratings, logs).
using TSettledFn = std::function<void(const TStakeData&)>;

// Reads every record once and writes each changed record once (blocks of records, one
// read and one write per block). Progress goes to the sink as
// "Проверка результатов ставок ( завершено %.0f %% )..." at every whole per cent of the
// records after the first candidate. A failure stops the pass; stakes rewritten before it
// stay checked, and a record the failed write tore is put back unchecked.
TCheckOutcome CheckStakes(TStakesFile& file, const TDrawsArray& draws, const TConfigData& config,
                          const TSettledFn& onSettled, TStatusSink* status);

} // namespace pelko
