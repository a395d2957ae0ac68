#pragma once
// Little-endian field-by-field encoding of file records.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace pelko {

// Appends fields to a byte string.
class TRecordWriter {
public:
    explicit TRecordWriter(std::string& out) : out_(out) {}

    void U8(std::uint8_t v) { out_.push_back(static_cast<char>(v)); }
    void U16(std::uint16_t v) { Le(v, 2); }
    void I32(std::int32_t v) { Le(static_cast<std::uint32_t>(v), 4); }
    void I64(std::int64_t v) { Le(static_cast<std::uint64_t>(v), 8); }
    void Bytes(const void* p, std::size_t n) { out_.append(static_cast<const char*>(p), n); }
    void Zeros(std::size_t n) { out_.append(n, '\0'); }
    // Length byte plus `width` bytes of text, zero padded; the text is cut to the width.
    void ShortString(std::string_view text, std::size_t width) {
        const std::size_t len = text.size() < width ? text.size() : width;
        U8(static_cast<std::uint8_t>(len));
        Bytes(text.data(), len);
        Zeros(width - len);
    }

private:
    void Le(std::uint64_t v, int n) {
        for (int i = 0; i < n; ++i)
            out_.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    }
    std::string& out_;
};

// Reads fields from a fixed-size record; the caller guarantees the record's size.
class TRecordReader {
public:
    explicit TRecordReader(const char* p) : p_(reinterpret_cast<const unsigned char*>(p)) {}

    std::uint8_t U8() { return *p_++; }
    std::uint16_t U16() { return static_cast<std::uint16_t>(Le(2)); }
    std::int32_t I32() { return static_cast<std::int32_t>(static_cast<std::uint32_t>(Le(4))); }
    std::int64_t I64() { return static_cast<std::int64_t>(Le(8)); }
    void Bytes(void* dst, std::size_t n) {
        std::memcpy(dst, p_, n);
        p_ += n;
    }
    void Skip(std::size_t n) { p_ += n; }

private:
    std::uint64_t Le(int n) {
        std::uint64_t v = 0;
        for (int i = 0; i < n; ++i)
            v |= static_cast<std::uint64_t>(p_[i]) << (8 * i);
        p_ += n;
        return v;
    }
    const unsigned char* p_;
};

} // namespace pelko
