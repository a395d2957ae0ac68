#pragma once
// Whole-file rewrites: the new content goes to a temporary file in the same folder, is
// flushed to disk and renamed over the old file, so a crash or a full disk never leaves
// a half-written file behind. Failures throw std::runtime_error with the system's text.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace pelko {

// An owner-only file (mode 0600) keeps secrets such as a proxy password; otherwise the
// file keeps the mode it had (a new one gets the umask's).
enum class TFileAccess { Keep, OwnerOnly };
void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         TFileAccess access = TFileAccess::Keep);

// Reads a whole file; throws std::runtime_error when it cannot be opened or read, or when
// it holds more than maxBytes (a device such as /dev/zero never ends).
inline constexpr std::uint64_t DEFAULT_READ_LIMIT = std::uint64_t(256) << 20;
std::string ReadWholeFile(const std::filesystem::path& path,
                          std::uint64_t maxBytes = DEFAULT_READ_LIMIT);
// "Файл "<name>" слишком велик: допускается не более N МБ!"
std::string TooLargeText(const std::filesystem::path& path, std::uint64_t maxBytes);

// Appends whole records: the bytes get into the file completely or not at all (a write
// that stops half-way is cut off again). The file is created when missing.
void AppendToFile(const std::filesystem::path& path, std::string_view bytes);

// Copies the file to "<name>.bak" before it is cut or wiped, keeping the newest `keep`
// copies ("<name>.bak", "<name>.bak.1", ...). Returns the copy's path; throws on failure.
std::filesystem::path KeepBackupCopy(const std::filesystem::path& file, int keep = 3);

// A whole copy that replaces `to` only once complete.
void CopyFileAtomically(const std::filesystem::path& from, const std::filesystem::path& to);

// The text of a failed operating-system call: SysError #<code>: "<system message>"!
std::string SysErrorText(int errorCode);

} // namespace pelko
