#include "core/comb_files.h"

#include "core/atomic_file.h"
#include "core/record_helpers.h"
#include "core/sys_io.h"
#include "core/text_forms.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

struct TFdCloser {
    int Fd;
    ~TFdCloser() { ::close(Fd); }
};

// A file descriptor written through the data-file calls; closed when dropped.
class TOutFile {
  public:
    explicit TOutFile(const fs::path& file, int flags) {
        fd_ = ::open(file.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | flags, 0666);
        if (fd_ < 0) ThrowFileError(errno);
    }
    ~TOutFile() {
        if (fd_ >= 0) ::close(fd_);
    }
    TOutFile(const TOutFile&) = delete;
    TOutFile& operator=(const TOutFile&) = delete;

    void Write(const void* data, std::size_t size) {
        const char* p = static_cast<const char*>(data);
        while (size > 0) {
            const ssize_t n = SysWrite(fd_, p, size);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) ThrowFileError(n < 0 ? errno : ENOSPC);
            p += n;
            size -= static_cast<std::size_t>(n);
        }
    }
    void SyncAndClose() {
        if (SysFsync(fd_) != 0) ThrowFileError(errno);
        Close();
    }
    void Close() {
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) ThrowFileError(errno);
    }

  private:
    int fd_ = -1;
};

// A file written in full before it replaces the old one: a failed save leaves the old
// file as it was. The content is streamed, so no copy of a 100 MB text is held in memory.
class TReplacingFile {
  public:
    explicit TReplacingFile(const fs::path& target) : target_(target) {
        if (!target.has_filename()) ThrowFileError(EISDIR);
        std::random_device random;
        const fs::path dir = target.has_parent_path() ? target.parent_path() : fs::path(".");
        temp_ = dir / ("." + target.filename().string() + ".tmp" + std::to_string(random()));
        file_ = std::make_unique<TOutFile>(temp_, O_EXCL);
    }
    ~TReplacingFile() {
        if (!committed_) {
            file_.reset();
            std::error_code ignored;
            fs::remove(temp_, ignored);
        }
    }
    TOutFile& Get() const { return *file_; }
    void Commit() {
        file_->SyncAndClose();
        if (SysRename(temp_, target_) != 0) ThrowFileError(errno);
        committed_ = true;
    }

  private:
    fs::path target_;
    fs::path temp_;
    std::unique_ptr<TOutFile> file_;
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
inline int WordValue(const char* begin, const char* end) {
    const std::size_t length = static_cast<std::size_t>(end - begin);
    if (length <= 3) {
        unsigned value = 0;
        bool digits = true;
        for (const char* p = begin; p < end; ++p) {
            const unsigned d = static_cast<unsigned char>(*p) - '0';
            digits &= d <= 9;
            value = value * 10 + d;
        }
        if (digits) return static_cast<int>(value);
    }
    return StrToIntDef(std::string_view(begin, length), 0);
}

enum class TLine { Skipped, Refused, Comb };

// Reads one line (no break inside): a combination when it has six words that are valid
// lottery numbers; refused when it has six words but some number is impossible.
inline TLine ParseFileLine(const char* p, const char* end, TComb& comb) {
    int words = 0;
    int values[LOTTO_COUNT];
    for (;;) {
        while (p < end && IsFieldSeparator(*p))
            ++p;
        if (p == end) break;
        const char* word = p;
        while (p < end && !IsFieldSeparator(*p))
            ++p;
        if (words == LOTTO_COUNT) return TLine::Skipped;
        values[words++] = WordValue(word, p);
    }
    if (words != LOTTO_COUNT) return TLine::Skipped;
    if (!ValidLotteryValues(values, LOTTO_COUNT)) return TLine::Refused;
    for (int i = 0; i < LOTTO_COUNT; ++i)
        comb.N[i] = static_cast<std::uint8_t>(values[i]);
    return TLine::Comb;
}

// Appends the combinations of the complete lines in [p, end) and returns where the last,
// unterminated line starts (end when there is none); with `final` that line counts too.
// `line` counts the lines read so far (for the message of a line that is too long).
const char* AppendLines(const char* p, const char* end, bool final, TCombList& list,
                        std::size_t& refused, std::size_t& line) {
    for (;;) {
        const char* lineEnd = p;
        while (lineEnd < end && !IsLineBreak(*lineEnd))
            ++lineEnd;
        if (static_cast<std::size_t>(lineEnd - p) > MAX_TEXT_LINE_BYTES)
            throw std::runtime_error(LongLineText(line + 1));
        if (lineEnd == end && !final) return p;
        ++line;
        TComb comb;
        const TLine kind = ParseFileLine(p, lineEnd, comb);
        if (kind == TLine::Comb)
            list.Append(comb);
        else if (kind == TLine::Refused)
            ++refused;
        if (lineEnd == end) return end;
        p = lineEnd + 1;
    }
}

} // namespace

TCombsTextLoad AppendCombsFileText(std::string_view text, TCombList& list) {
    text = WithoutUtf8Bom(text);
    const std::size_t before = list.Count();
    TCombsTextLoad load;
    std::size_t line = 0;
    AppendLines(text.data(), text.data() + text.size(), true, list, load.Refused, line);
    load.Added = list.Count() - before;
    return load;
}

std::size_t LoadCombsFile(const fs::path& file, TCombList& list) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) ThrowFileError(errno);
    const TFdCloser closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0) ThrowFileError(errno);
    if (S_ISDIR(st.st_mode)) ThrowFileError(EISDIR);
    list.Clear();
    if (S_ISREG(st.st_mode)) {
        if (static_cast<std::uint64_t>(st.st_size) > MAX_COMBS_FILE_BYTES)
            throw std::runtime_error(TooLargeText(file, MAX_COMBS_FILE_BYTES));
        list.Reserve(static_cast<std::size_t>(st.st_size / 128));
    }

    std::string buffer(IO_CHUNK, '\0');
    std::size_t carried = 0; // bytes of an unfinished line kept at the buffer's start
    std::size_t refused = 0, line = 0, total = 0;
    bool first = true;
    for (;;) {
        const ssize_t n = SysRead(fd, buffer.data() + carried, buffer.size() - carried);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) ThrowFileError(errno);
        total += static_cast<std::size_t>(n);
        if (total > MAX_COMBS_FILE_BYTES)
            throw std::runtime_error(TooLargeText(file, MAX_COMBS_FILE_BYTES));
        const bool final = n == 0;
        const char* begin = buffer.data();
        const char* end = begin + carried + static_cast<std::size_t>(n);
        if (first && end - begin >= 3) {
            begin = WithoutUtf8Bom(std::string_view(begin, static_cast<std::size_t>(end - begin))).data();
            first = false;
        }
        const char* rest = AppendLines(begin, end, final, list, refused, line);
        if (final) return refused;
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
            out.Get().Write(buffer.get(), static_cast<std::size_t>(p - buffer.get()));
            p = buffer.get();
        }
    }
    out.Get().Write(buffer.get(), static_cast<std::size_t>(p - buffer.get()));
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

std::size_t ClipboardTextToCombs(std::string_view text, TCombList& list) {
    text = WithoutUtf8Bom(text);
    list.Clear();
    list.Reserve(CountTextLines(text));
    std::size_t refused = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t begin = i;
        while (i < text.size() && !IsLineBreak(text[i]))
            ++i;
        const TComb comb = TextToComb(text.substr(begin, i - begin));
        if (ValidComb(comb))
            list.Append(comb);
        else
            ++refused;
        if (i < text.size() && text[i] == '\r') ++i;
        if (i < text.size() && text[i] == '\n') ++i;
    }
    return refused;
}

void WriteCombsBuffer(const fs::path& file, const TComb* combs, std::size_t count,
                      const TProgressFn& progress) {
    TOutFile out(file, O_TRUNC);
    RunInSteps(
        count, PercentStep(count),
        [&](std::size_t begin, std::size_t end) {
            out.Write(combs + begin, (end - begin) * sizeof(TComb));
        },
        [&](std::size_t i) {
            if (progress) progress(i + 1, count);
        });
    out.Close();
}

void ReadCombsBuffer(const fs::path& file, TCombList& list, const TProgressFn& progress) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) ThrowFileError(errno);
    const TFdCloser closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0) ThrowFileError(errno);
    const std::size_t records = static_cast<std::size_t>(st.st_size) / sizeof(TComb);
    list.Clear();
    list.Reserve(records);
    RunInSteps(
        records, PercentStep(records),
        [&](std::size_t begin, std::size_t end) {
            char* p = reinterpret_cast<char*>(list.Data() + begin);
            std::size_t want = (end - begin) * sizeof(TComb);
            while (want > 0) {
                const ssize_t n = SysRead(fd, p, want);
                if (n < 0 && errno == EINTR) continue;
                if (n <= 0) {
                    list.SetCount(begin);
                    ThrowFileError(n < 0 ? errno : EIO);
                }
                p += n;
                want -= static_cast<std::size_t>(n);
            }
            list.SetCount(end);
            for (std::size_t i = begin; i < end; ++i)
                if (!ValidComb(list[i]))
                    throw std::runtime_error("Буфер комбинаций поврежден: запись " +
                                             std::to_string(i) + " содержит некорректные числа!");
        },
        [&](std::size_t i) {
            if (progress) progress(i + 1, records);
        });
}

} // namespace pelko
