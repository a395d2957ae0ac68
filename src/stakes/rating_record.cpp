#include "stakes/rating_record.h"

#include "core/atomic_file.h"
#include "core/codec.h"
#include "core/record_io.h"

#include <algorithm>
#include <cstring>

namespace pelko {

std::string TRatingData::CommentText() const {
    return Cp1251ToUtf8(RawComment());
}

void TRatingData::SetCommentText(std::string_view utf8) {
    SetRawComment(Utf8ToCp1251(utf8));
}

void TRatingData::SetRawComment(std::string_view cp1251) {
    const std::size_t n = std::min<std::size_t>(cp1251.size(), sizeof Comment);
    std::memset(Comment, 0, sizeof Comment);
    std::memcpy(Comment, cp1251.data(), n);
    CommentLen = static_cast<std::uint8_t>(n);
}

std::string EncodeRatingRecord(const TRatingData& row) {
    std::string out;
    out.reserve(RATING_RECORD_SIZE);
    TRecordWriter w(out);
    w.ShortString(row.RawComment(), sizeof row.Comment);
    w.I32(static_cast<std::int32_t>(row.Stakes));
    w.I32(static_cast<std::int32_t>(row.Matched));
    for (const std::uint32_t h : row.Hits)
        w.I32(static_cast<std::int32_t>(h));
    w.Zeros(4);
    w.I64(row.Profit);
    return out;
}

TRatingData DecodeRatingRecord(const char* record) {
    TRecordReader r(record);
    TRatingData row;
    row.CommentLen = r.U8();
    r.Bytes(row.Comment, sizeof row.Comment);
    row.Stakes = static_cast<std::uint32_t>(r.I32());
    row.Matched = static_cast<std::uint32_t>(r.I32());
    for (std::uint32_t& h : row.Hits)
        h = static_cast<std::uint32_t>(r.I32());
    r.Skip(4);
    row.Profit = r.I64();
    return row;
}

TRatingsArray ReadRatingsFile(const std::filesystem::path& file) {
    TRatingsArray rows;
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) return rows;
    const std::string bytes = ReadWholeFile(file);
    const std::size_t n = bytes.size() / RATING_RECORD_SIZE;
    rows.reserve(n);
    for (std::size_t i = 0; i < n; ++i)
        rows.push_back(DecodeRatingRecord(bytes.data() + i * RATING_RECORD_SIZE));
    return rows;
}

void WriteRatingsFile(const std::filesystem::path& file, const TRatingsArray& rows) {
    std::string bytes;
    bytes.reserve(rows.size() * RATING_RECORD_SIZE);
    for (const TRatingData& row : rows)
        bytes += EncodeRatingRecord(row);
    WriteFileAtomically(file, bytes);
}

} // namespace pelko
