#include "stakes/stake_check.h"

#include "core/draw_archive.h"
#include "core/format.h"
#include "core/record_helpers.h"
#include "core/record_io.h"
#include "stakes/stake_profit.h"

#include <cstring>
#include <exception>
#include <vector>

namespace pelko {

namespace {

constexpr std::size_t BLOCK_RECORDS = 4096;

// Draw lookups by number, remembering the last answer: stakes come in runs of one draw.
class TDrawLookup {
  public:
    explicit TDrawLookup(const TDrawsArray& draws) : draws_(draws) {}
    const TDrawData* Find(std::int32_t number) {
        if (number != lastNumber_) {
            lastNumber_ = number;
            lastIndex_ = FindDraw(draws_, number);
        }
        return lastIndex_ >= 0 ? &draws_[lastIndex_] : nullptr;
    }

  private:
    const TDrawsArray& draws_;
    std::int32_t lastNumber_ = 0;
    int lastIndex_ = -1;
};

// The progress rule of the pass: fixed at the first candidate, then a report at every
// multiple of a hundredth of the records after it.
class TCheckProgress {
  public:
    explicit TCheckProgress(TStatusSink* status) : status_(status) {}
    void FixAt(std::int64_t candidate, std::int64_t total) {
        if (fixed_) return;
        fixed_ = true;
        first_ = candidate + 1;
        remaining_ = total - first_;
        step_ = std::max<std::int64_t>(1, remaining_ / 100);
        next_ = step_;
    }
    void AfterRecord(std::int64_t index) {
        if (!fixed_ || !status_ || remaining_ <= 0) return;
        const std::int64_t processed = index + 1 - first_;
        if (processed == next_) {
            next_ += step_;
            status_->StatusText(PercentText("Проверка результатов ставок",
                                            static_cast<double>(processed),
                                            static_cast<double>(remaining_)));
        }
    }

  private:
    TStatusSink* status_;
    bool fixed_ = false;
    std::int64_t first_ = 0, remaining_ = 0, step_ = 1, next_ = 1;
};

bool IsCandidate(const char* raw) {
    TRecordReader r(raw + stake_offsets::DrawNumber);
    const std::int32_t draw = r.I32();
    const std::uint8_t checked = static_cast<std::uint8_t>(raw[stake_offsets::Checked]);
    TRecordReader c(raw + stake_offsets::Numbers);
    return checked == 0 && draw > 0 && c.I32() >= MIN_STAKE_NUMBERS;
}

} // namespace

TNumberSet MatchStake(const TDrawData& draw, const TNumberSet& numbers) {
    return IntersectNumbers(draw, numbers);
}

void SettleStake(TStakeData& stake, const TDrawData& draw, const TConfigData& config) {
    stake.Checked = 1;
    std::memcpy(stake.DrawResult, draw.Nums, LOTTO_COUNT);
    stake.Matches = MatchStake(draw, stake.Numbers);
    stake.Profit = StakeProfit(config, stake.NumbersCount(), stake.Matches.Count);
}

TCheckOutcome CheckStakes(TStakesFile& file, const TDrawsArray& draws, const TConfigData& config,
                          const TSettledFn& onSettled, TStatusSink* status) {
    TCheckOutcome outcome;
    const TProfitTable profits(config);
    TDrawLookup lookup(draws);
    TCheckProgress progress(status);
    std::vector<char> block, originals;
    std::vector<std::size_t> changed;
    try {
        const std::int64_t total = file.Count();
        std::int64_t first = 0;
        while (first < total) {
            const std::size_t n = file.ReadRecords(first, BLOCK_RECORDS, block);
            if (n == 0) break;
            originals = block;
            changed.clear();
            for (std::size_t i = 0; i < n; ++i) {
                char* raw = block.data() + i * STAKE_RECORD_SIZE;
                const std::int64_t index = first + static_cast<std::int64_t>(i);
                if (IsCandidate(raw)) {
                    progress.FixAt(index, total);
                    TStakeData stake = DecodeStakeRecord(raw);
                    if (!IsValidStakeRecord(stake)) {
                        // Damaged: never settled, rated or rewritten.
                        if (outcome.Damaged++ == 0) outcome.FirstDamaged = index;
                    } else if (const TDrawData* draw = lookup.Find(stake.DrawNumber)) {
                        stake.Checked = 1;
                        std::memcpy(stake.DrawResult, draw->Nums, LOTTO_COUNT);
                        stake.Matches = MatchStake(*draw, stake.Numbers);
                        stake.Profit = profits.Profit(stake.NumbersCount(), stake.Matches.Count);
                        EncodeStakeRecord(stake, raw);
                        changed.push_back(i);
                    }
                }
                progress.AfterRecord(index);
            }
            if (!changed.empty()) {
                const std::size_t lo = changed.front(), hi = changed.back() + 1;
                std::size_t complete = 0;
                std::exception_ptr failure;
                try {
                    file.RewriteRecords(first + static_cast<std::int64_t>(lo),
                                        block.data() + lo * STAKE_RECORD_SIZE,
                                        originals.data() + lo * STAKE_RECORD_SIZE, hi - lo,
                                        complete);
                } catch (...) {
                    failure = std::current_exception();
                }
                for (const std::size_t i : changed) {
                    if (i >= lo + complete) break;
                    ++outcome.Settled;
                    if (onSettled)
                        onSettled(DecodeStakeRecord(block.data() + i * STAKE_RECORD_SIZE));
                }
                if (failure) std::rethrow_exception(failure);
            }
            first += static_cast<std::int64_t>(n);
        }
    } catch (const std::exception& e) {
        outcome.Error = e.what();
    }
    return outcome;
}

} // namespace pelko
