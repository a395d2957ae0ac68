#include "core/comb_files.h"

#include "core/atomic_file.h"
#include "core/text_forms.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <stdexcept>
#include <system_error>

namespace fs = std::filesystem;

namespace pelko {

static_assert(sizeof(TComb) == 6, "buffer records are the six bytes of TComb, in order");

namespace {

constexpr std::size_t IO_CHUNK = 4 << 20;

[[noreturn]] void ThrowFileError(int error) {
    throw std::runtime_error(SysErrorText(error ? error : EIO));
}

struct TFileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using TFilePtr = std::unique_ptr<std::FILE, TFileCloser>;

TFilePtr OpenFile(const fs::path& file, const char* mode) {
    errno = 0;
#ifdef _WIN32
    std::FILE* f = _wfopen(file.c_str(), mode[0] == 'r' ? L"rb" : L"wb");
#else
    std::FILE* f = std::fopen(file.c_str(), mode);
#endif
    if (!f) ThrowFileError(errno);
    return TFilePtr(f);
}

void WriteAll(std::FILE* f, const void* data, std::size_t size) {
    errno = 0;
    if (size && std::fwrite(data, 1, size, f) != size) ThrowFileError(errno);
}

void CloseFile(TFilePtr& file) {
    errno = 0;
    if (std::fclose(file.release()) != 0) ThrowFileError(errno);
}

// A file written in full before it replaces the old one: a failed save leaves the old
// file as it was. The content is streamed, so no copy of a 100 MB text is held in memory.
class TReplacingFile {
  public:
    explicit TReplacingFile(const fs::path& target) : target_(target) {
        if (!target.has_filename()) ThrowFileError(EISDIR);
        std::random_device random;
        const fs::path dir = target.has_parent_path() ? target.parent_path() : fs::path(".");
        temp_ = dir / ("." + target.filename().string() + ".tmp" + std::to_string(random()));
        file_ = OpenFile(temp_, "wb");
    }
    ~TReplacingFile() {
        if (!committed_) {
            file_.reset();
            std::error_code ignored;
            fs::remove(temp_, ignored);
        }
    }
    std::FILE* Get() const { return file_.get(); }
    void Commit() {
        CloseFile(file_);
        std::error_code ec;
        fs::rename(temp_, target_, ec);
        if (ec) ThrowFileError(ec.value());
        committed_ = true;
    }

  private:
    fs::path target_;
    fs::path temp_;
    TFilePtr file_;
    bool committed_ = false;
};

// Decimal texts of all byte values, padded to four bytes so that one fixed-size copy
// writes any of them (the spare bytes are overwritten by what follows).
struct TNumberTexts {
    struct TText {
        char Chars[4] = {};
        std::uint8_t Length = 0;
    };
    std::array<TText, 256> Plain{};  // "7", "45", "255"
    std::array<TText, 256> Padded{}; // "07", "45", "255"

    TNumberTexts() {
        for (int v = 0; v < 256; ++v) {
            Fill(Plain[v], v, 1);
            Fill(Padded[v], v, 2);
        }
    }
    static void Fill(TText& t, int v, int minDigits) {
        char digits[4];
        int n = std::snprintf(digits, sizeof digits, "%0*d", minDigits, v);
        std::memcpy(t.Chars, digits, static_cast<std::size_t>(n));
        t.Length = static_cast<std::uint8_t>(n);
    }
};

const TNumberTexts& NumberTexts() {
    static const TNumberTexts texts;
    return texts;
}

// Writes six numbers with a separator between them and CR LF after; at most 25 bytes,
// and up to 3 bytes past them may be scribbled on.
inline char* PutLine(char* out, const TComb& c, const std::array<TNumberTexts::TText, 256>& texts,
                     char separator) {
    for (int i = 0; i < LOTTO_COUNT; ++i) {
        const TNumberTexts::TText& t = texts[c.N[i]];
        std::memcpy(out, t.Chars, 4);
        out += t.Length;
        *out++ = separator;
    }
    out[-1] = '\r';
    *out++ = '\n';
    return out;
}
constexpr std::size_t MAX_LINE_BYTES = 6 * 3 + 5 + 2 + 3;

inline bool IsLineBreak(char c) {
    return c == '\n' || c == '\r';
}
inline bool IsFieldSeparator(char c) {
    return c == ';' || c == ',';
}

// One word of a combinations file: plain digits are read at once, anything else goes
// through the general integer reading (0 when it is not an integer).
inline std::uint8_t WordValue(const char* begin, const char* end) {
    const std::size_t length = static_cast<std::size_t>(end - begin);
    if (length <= 3) {
        unsigned value = 0;
        bool digits = true;
        for (const char* p = begin; p < end; ++p) {
            const unsigned d = static_cast<unsigned char>(*p) - '0';
            digits &= d <= 9;
            value = value * 10 + d;
        }
        if (digits) return static_cast<std::uint8_t>(value);
    }
    return static_cast<std::uint8_t>(StrToIntDef(std::string_view(begin, length), 0));
}

// Reads one line (no break inside); true with the six numbers when it has six words.
inline bool ParseFileLine(const char* p, const char* end, TComb& comb) {
    int words = 0;
    for (;;) {
        while (p < end && IsFieldSeparator(*p))
            ++p;
        if (p == end) break;
        const char* word = p;
        while (p < end && !IsFieldSeparator(*p))
            ++p;
        if (words == LOTTO_COUNT) return false;
        comb.N[words++] = WordValue(word, p);
    }
    return words == LOTTO_COUNT;
}

// Appends the combinations of the complete lines in [p, end) and returns where the last,
// unterminated line starts (end when there is none); with `final` that line counts too.
const char* AppendLines(const char* p, const char* end, bool final, TCombList& list) {
    for (;;) {
        const char* lineEnd = p;
        while (lineEnd < end && !IsLineBreak(*lineEnd))
            ++lineEnd;
        if (lineEnd == end && !final) return p;
        TComb comb;
        if (ParseFileLine(p, lineEnd, comb)) list.Append(comb);
        if (lineEnd == end) return end;
        p = lineEnd + 1;
    }
}

} // namespace

std::size_t AppendCombsFileText(std::string_view text, TCombList& list) {
    const std::size_t before = list.Count();
    AppendLines(text.data(), text.data() + text.size(), true, list);
    return list.Count() - before;
}

void LoadCombsFile(const fs::path& file, TCombList& list) {
    TFilePtr in = OpenFile(file, "rb");
    list.Clear();
    std::error_code ec;
    const auto size = fs::file_size(file, ec);
    if (!ec) list.Reserve(static_cast<std::size_t>(size / 128));

    std::string buffer(IO_CHUNK, '\0');
    std::size_t carried = 0; // bytes of an unfinished line kept at the buffer's start
    for (;;) {
        if (buffer.size() - carried < IO_CHUNK / 2)
            buffer.resize(carried + IO_CHUNK); // one very long line
        errno = 0;
        const std::size_t got =
            std::fread(buffer.data() + carried, 1, buffer.size() - carried, in.get());
        if (got == 0 && std::ferror(in.get())) ThrowFileError(errno);
        const bool final = got == 0;
        const char* begin = buffer.data();
        const char* end = begin + carried + got;
        const char* rest = AppendLines(begin, end, final, list);
        if (final) return;
        carried = static_cast<std::size_t>(end - rest);
        std::memmove(buffer.data(), rest, carried);
    }
}

void SaveCombsFile(const fs::path& file, const TComb* combs, std::size_t count) {
    TReplacingFile out(file);
    const auto& texts = NumberTexts().Plain;
    std::unique_ptr<char[]> buffer(new char[IO_CHUNK + MAX_LINE_BYTES]);
    char* p = buffer.get();
    char* const flushAt = buffer.get() + IO_CHUNK;
    for (std::size_t i = 0; i < count; ++i) {
        p = PutLine(p, combs[i], texts, ';');
        if (p >= flushAt) {
            WriteAll(out.Get(), buffer.get(), static_cast<std::size_t>(p - buffer.get()));
            p = buffer.get();
        }
    }
    WriteAll(out.Get(), buffer.get(), static_cast<std::size_t>(p - buffer.get()));
    out.Commit();
}

std::string CombsToClipboardText(const TComb* combs, std::size_t count,
                                 const TCombSelection& selection) {
    const auto& texts = NumberTexts().Padded;
    std::string text;
    std::size_t used = 0;
    for (const TCombSelection::TRange& r : selection.Ranges()) {
        if (r.Begin >= count) break;
        const std::size_t end = std::min(r.End, count);
        text.resize(used + (end - r.Begin) * MAX_LINE_BYTES);
        for (std::size_t i = r.Begin; i < end; ++i)
            used = static_cast<std::size_t>(PutLine(text.data() + used, combs[i], texts, ' ') -
                                            text.data());
        text.resize(used);
    }
    return text;
}

std::size_t CountTextLines(std::string_view text) {
    std::size_t lines = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && !IsLineBreak(text[i]))
            ++i;
        ++lines;
        if (i < text.size() && text[i] == '\r') ++i;
        if (i < text.size() && text[i] == '\n') ++i;
    }
    return lines;
}

void ClipboardTextToCombs(std::string_view text, TCombList& list) {
    list.Clear();
    list.Reserve(CountTextLines(text));
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t begin = i;
        while (i < text.size() && !IsLineBreak(text[i]))
            ++i;
        list.Append(TextToComb(text.substr(begin, i - begin)));
        if (i < text.size() && text[i] == '\r') ++i;
        if (i < text.size() && text[i] == '\n') ++i;
    }
}

void WriteCombsBuffer(const fs::path& file, const TComb* combs, std::size_t count,
                      const TProgressFn& progress) {
    TFilePtr out = OpenFile(file, "wb");
    RunInSteps(
        count, PercentStep(count),
        [&](std::size_t begin, std::size_t end) {
            WriteAll(out.get(), combs + begin, (end - begin) * sizeof(TComb));
        },
        [&](std::size_t i) {
            if (progress) progress(i + 1, count);
        });
    CloseFile(out);
}

void ReadCombsBuffer(const fs::path& file, TCombList& list, const TProgressFn& progress) {
    TFilePtr in = OpenFile(file, "rb");
    std::error_code ec;
    const auto size = fs::file_size(file, ec);
    if (ec) ThrowFileError(ec.value());
    const std::size_t records = static_cast<std::size_t>(size / sizeof(TComb));
    list.Clear();
    list.Reserve(records);
    RunInSteps(
        records, PercentStep(records),
        [&](std::size_t begin, std::size_t end) {
            const std::size_t want = end - begin;
            errno = 0;
            const std::size_t got = std::fread(list.Data() + begin, sizeof(TComb), want, in.get());
            list.SetCount(begin + got);
            if (got != want) ThrowFileError(std::ferror(in.get()) ? errno : EIO);
        },
        [&](std::size_t i) {
            if (progress) progress(i + 1, records);
        });
}

} // namespace pelko
