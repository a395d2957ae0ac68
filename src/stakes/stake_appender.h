#pragma once
// Appending stakes: one stake, or a series over k consecutive draws with a separator
// before each draw's stake, written in large blocks so that bulk making (a stake for every
// combination of a list) costs a write per megabyte, not one per record.

#include "stakes/stakes_file.h"

#include <cstdint>
#include <vector>

namespace pelko {

inline constexpr const char* CHECKED_APPEND_MESSAGE =
    "Добавление в конец файла уже проверенной ставки!";
inline constexpr const char* DRAW_NUMBER_RANGE_MESSAGE =
    "Номер тиража вне допустимого диапазона (1..2147483647)!";

class TStakeAppender {
  public:
    // Reads the file's last record once; later decisions use what was appended since.
    // Records are written in blocks of about a megabyte, each block whole; with `staged`
    // everything is written by the one Flush at the end (a series gets in whole or not
    // at all).
    explicit TStakeAppender(TStakesFile& file, bool staged = false);
    TStakeAppender(const TStakeAppender&) = delete;
    TStakeAppender& operator=(const TStakeAppender&) = delete;

    // k < 2: the stake as it is. k >= 2: for i = 1..k a separator when the file so far ends
    // with a stake, then a copy for draw number + (i - 1). A checked stake is refused
    // (nothing is buffered) with CHECKED_APPEND_MESSAGE, a series whose last draw number
    // would not fit with DRAW_NUMBER_RANGE_MESSAGE.
    void Append(const TStakeData& stake, int drawsCount);
    // A separator when the file so far is not empty and ends with a stake.
    void StartGroup();
    // Writes what is buffered. Records not yet flushed are not in the file; the caller
    // must flush before it is done (the destructor drops them).
    void Flush();
    // Records appended (flushed or buffered) since construction.
    std::int64_t Appended() const { return appended_; }

  private:
    void Push(const TStakeData& stake);

    TStakesFile& file_;
    bool staged_;
    std::vector<char> buffer_;
    bool endsWithStake_ = false;
    std::int64_t appended_ = 0;
};

// One stake or series, written at once (AppendStakes).
void AppendStakes(TStakesFile& file, const TStakeData& stake, int drawsCount);
// A separator when the file ends with a stake (a new scenario run starts a group).
void StartStakesGroup(TStakesFile& file);

} // namespace pelko
