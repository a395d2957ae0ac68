#pragma once
// An ini file in memory: the data ini file, the window settings and the names file.
// The file is Windows-1251 text; every name and value crosses this class as UTF-8.
// Section and key names are matched ignoring ASCII case. Changes stay in memory until
// Save(), which rewrites the whole file atomically, keeping the order of sections, keys
// and comments that were read.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace pelko {

class TIniFile {
  public:
    // Reads the file when it exists; a missing file starts empty. A file that exists but
    // cannot be read throws std::runtime_error with the system's text.
    explicit TIniFile(std::filesystem::path path);
    ~TIniFile();
    TIniFile(TIniFile&&) noexcept;
    TIniFile& operator=(TIniFile&&) noexcept;
    TIniFile(const TIniFile&) = delete;
    TIniFile& operator=(const TIniFile&) = delete;

    const std::filesystem::path& Path() const { return path_; }

    // Readers return the default when the key is missing. A key that is present with an
    // empty value reads as "" for strings and as the default for numbers.
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view def = {}) const;
    // Decimal with optional sign, or hexadecimal after "$" or "0x"; anything else, or a
    // value outside the type's range, gives the default.
    std::int32_t ReadInteger(std::string_view section, std::string_view key,
                             std::int32_t def) const;
    std::int64_t ReadInt64(std::string_view section, std::string_view key, std::int64_t def) const;
    // Accepts "." or "," as the decimal point; malformed or non-finite values give the default.
    double ReadFloat(std::string_view section, std::string_view key, double def) const;
    long double ReadExtended(std::string_view section, std::string_view key, long double def) const;
    // Any integer other than 0 is true.
    bool ReadBool(std::string_view section, std::string_view key, bool def) const;

    // Writers create the section and the key as needed. Line breaks inside a value would
    // break the file, so they are written as blanks.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, std::int32_t value);
    void WriteInt64(std::string_view section, std::string_view key, std::int64_t value);
    // The shortest text that reads back to the same value, "." as the decimal point.
    void WriteFloat(std::string_view section, std::string_view key, double value);
    void WriteExtended(std::string_view section, std::string_view key, long double value);
    // Written as 1 or 0.
    void WriteBool(std::string_view section, std::string_view key, bool value);

    bool HasSection(std::string_view section) const;
    bool HasKey(std::string_view section, std::string_view key) const;
    // Section and key names in file order (new ones after those read).
    std::vector<std::string> ReadSections() const;
    std::vector<std::string> ReadSection(std::string_view section) const;
    void EraseSection(std::string_view section);
    // The section stays, even when it becomes empty.
    void EraseKey(std::string_view section, std::string_view key);

    // The whole file as it would be saved: Windows-1251, lines ended by CR LF.
    std::string ToBytes() const;
    // Rewrites the file atomically; throws std::runtime_error on failure (old file kept).
    void Save() const;
    // A file holding a secret is saved readable by its owner only (mode 0600); other
    // saves keep the file's mode, so once private it stays so.
    void SetOwnerOnly(bool ownerOnly) { ownerOnly_ = ownerOnly; }

  private:
    struct TImpl;
    std::filesystem::path path_;
    std::unique_ptr<TImpl> impl_;
    bool ownerOnly_ = false;
};

// Locale-independent number texts, as the ini files and text records store them.
std::string FloatToText(double value);
std::string ExtendedToText(long double value);
// Accept "." or ","; false when the whole text is not one finite number.
bool TextToFloat(std::string_view text, double& value);
bool TextToExtended(std::string_view text, long double& value);

} // namespace pelko
