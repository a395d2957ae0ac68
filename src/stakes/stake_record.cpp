#include "stakes/stake_record.h"

#include "core/record_helpers.h"

#include "core/codec.h"
#include "core/record_io.h"

#include <algorithm>
#include <cstring>

namespace pelko {

namespace {

int ClampCount(std::int32_t count) {
    return std::clamp<std::int32_t>(count, 0, NUMBER_SET_CAPACITY);
}

void WriteNumberSet(TRecordWriter& w, const TNumberSet& set) {
    w.I32(set.Count);
    w.Bytes(set.Members, NUMBER_SET_CAPACITY);
}

TNumberSet ReadNumberSet(TRecordReader& r) {
    TNumberSet set;
    set.Count = r.I32();
    r.Bytes(set.Members, NUMBER_SET_CAPACITY);
    return set;
}

} // namespace

bool IsValidStakeRecord(const TStakeData& s) {
    if (s.Version != STAKE_VERSION) return false;
    if (s.DrawNumber <= 0) return true; // a separator: every operation skips it
    if (s.Kind < skManual || s.Kind > skSystem || s.Checked > 1) return false;
    if (s.Numbers.Count < MIN_STAKE_NUMBERS || s.Numbers.Count > MAX_STAKE_NUMBERS) return false;
    if (!ValidLotteryNumbers(s.Numbers.Members, s.Numbers.Count)) return false;
    if (s.Matches.Count < -1 || s.Matches.Count > LOTTO_COUNT) return false;
    if (!s.IsChecked()) return true;
    return s.Matches.Count >= 0 && ValidLotteryNumbers(s.DrawResult, LOTTO_COUNT);
}

int TStakeData::NumbersCount() const {
    return ClampCount(Numbers.Count);
}

int TStakeData::MatchesCount() const {
    return ClampCount(Matches.Count);
}

std::string TStakeData::CommentText() const {
    return Cp1251ToUtf8(RawComment());
}

void TStakeData::SetCommentText(std::string_view utf8) {
    SetRawComment(Utf8ToCp1251(utf8));
}

void TStakeData::SetRawComment(std::string_view cp1251) {
    const std::size_t n = std::min<std::size_t>(cp1251.size(), STAKE_COMMENT_MAX);
    std::memset(Comment, 0, sizeof Comment);
    std::memcpy(Comment, cp1251.data(), n);
    CommentLen = static_cast<std::uint8_t>(n);
}

void EncodeStakeRecord(const TStakeData& stake, char* out) {
    std::string bytes = EncodeStakeRecord(stake);
    std::memcpy(out, bytes.data(), STAKE_RECORD_SIZE);
}

std::string EncodeStakeRecord(const TStakeData& stake) {
    std::string out;
    out.reserve(STAKE_RECORD_SIZE);
    TRecordWriter w(out);
    w.U8(stake.Version);
    w.U8(stake.Kind);
    w.Zeros(2);
    w.I32(stake.DrawNumber);
    w.U8(stake.Checked);
    w.Zeros(3);
    w.I32(stake.SampleSize);
    WriteNumberSet(w, stake.Numbers);
    w.Bytes(stake.DrawResult, LOTTO_COUNT);
    w.Zeros(2);
    WriteNumberSet(w, stake.Matches);
    w.I64(stake.Profit);
    w.ShortString(stake.RawComment(), STAKE_COMMENT_MAX);
    return out;
}

TStakeData DecodeStakeRecord(const char* record) {
    TRecordReader r(record);
    TStakeData s;
    s.Version = r.U8();
    s.Kind = r.U8();
    r.Skip(2);
    s.DrawNumber = r.I32();
    s.Checked = r.U8();
    r.Skip(3);
    s.SampleSize = r.I32();
    s.Numbers = ReadNumberSet(r);
    r.Bytes(s.DrawResult, LOTTO_COUNT);
    r.Skip(2);
    s.Matches = ReadNumberSet(r);
    s.Profit = r.I64();
    s.CommentLen = r.U8(); // a byte never exceeds the 255 bytes that follow
    r.Bytes(s.Comment, STAKE_COMMENT_MAX);
    return s;
}

TStakeData MakeSeparator() {
    TStakeData s;
    s.Kind = skSeparator;
    s.DrawNumber = -1;
    return s;
}

std::string StakeKindText(int kind) {
    switch (kind) {
    case skManual:
        return "Вручную";
    case skRegular:
        return "Регуляр";
    case skScenario:
        return "Сценарий";
    case skSystem:
        return "Система";
    default:
        return {};
    }
}

std::optional<std::uint32_t> StakeKindColor(int kind) {
    switch (kind) {
    case skManual:
        return 0xEAFFEA;
    case skRegular:
        return 0xFFEAEA;
    case skScenario:
        return 0xEAFFFF;
    case skSystem:
        return 0xFCFDD9;
    default:
        return std::nullopt;
    }
}

TNumberSet MakeNumberSet(const std::uint8_t* numbers, int count) {
    TNumberSet set;
    set.Count = ClampCount(count);
    std::copy(numbers, numbers + set.Count, set.Members);
    return set;
}

} // namespace pelko
