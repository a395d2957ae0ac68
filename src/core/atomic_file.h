#pragma once
// Whole-file rewrites: the new content goes to a temporary file in the same folder, is
// flushed to disk and renamed over the old file, so a crash or a full disk never leaves
// a half-written file behind. Failures throw std::runtime_error with the system's text.

#include <filesystem>
#include <string>
#include <string_view>

namespace pelko {

void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// Reads a whole file; throws std::runtime_error when it cannot be opened or read.
std::string ReadWholeFile(const std::filesystem::path& path);

// The text of a failed operating-system call: SysError #<code>: "<system message>"!
std::string SysErrorText(int errorCode);

} // namespace pelko
