#include "stakes/stake_appender.h"

#include <limits>
#include <stdexcept>

namespace pelko {

namespace {
constexpr std::size_t FLUSH_BYTES = 3200 * STAKE_RECORD_SIZE; // about 1 MB
}

TStakeAppender::TStakeAppender(TStakesFile& file, bool staged) : file_(file), staged_(staged) {
    const auto last = file_.LastDrawNumber();
    endsWithStake_ = last && *last > 0;
    buffer_.reserve(FLUSH_BYTES + 2 * STAKE_RECORD_SIZE);
}

void TStakeAppender::Push(const TStakeData& stake) {
    const std::size_t at = buffer_.size();
    buffer_.resize(at + STAKE_RECORD_SIZE);
    EncodeStakeRecord(stake, buffer_.data() + at);
    endsWithStake_ = stake.DrawNumber > 0;
    ++appended_;
    if (!staged_ && buffer_.size() >= FLUSH_BYTES) Flush();
}

void TStakeAppender::Append(const TStakeData& stake, int drawsCount) {
    if (!file_.IsOpen()) throw std::runtime_error(STAKES_NOT_OPEN_MESSAGE);
    if (stake.IsChecked()) throw std::runtime_error(CHECKED_APPEND_MESSAGE);
    if (stake.DrawNumber > 0 && drawsCount > 1 &&
        static_cast<std::int64_t>(stake.DrawNumber) + drawsCount - 1 >
            std::numeric_limits<std::int32_t>::max())
        throw std::runtime_error(DRAW_NUMBER_RANGE_MESSAGE);
    if (drawsCount < 2) {
        Push(stake);
        return;
    }
    TStakeData copy = stake;
    for (int i = 0; i < drawsCount; ++i) {
        StartGroup();
        copy.DrawNumber = stake.DrawNumber + i;
        Push(copy);
    }
}

void TStakeAppender::StartGroup() {
    if (endsWithStake_) Push(MakeSeparator());
}

void TStakeAppender::Flush() {
    if (buffer_.empty()) return;
    std::vector<char> pending;
    pending.swap(buffer_); // what fails to reach the file is not retried
    buffer_.reserve(FLUSH_BYTES + 2 * STAKE_RECORD_SIZE);
    file_.AppendRecords(pending.data(), pending.size() / STAKE_RECORD_SIZE);
}

void AppendStakes(TStakesFile& file, const TStakeData& stake, int drawsCount) {
    TStakeAppender appender(file, true);
    appender.Append(stake, drawsCount);
    appender.Flush();
}

void StartStakesGroup(TStakesFile& file) {
    TStakeAppender appender(file);
    appender.StartGroup();
    appender.Flush();
}

} // namespace pelko
