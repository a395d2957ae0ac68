#pragma once
// Comments name a stake's source and key the ratings; they are compared without regard to
// letter case (Latin and Cyrillic alike). Comments are kept as their Windows-1251 bytes,
// so the folding works on those bytes with a table instead of a locale.

#include <cstdint>
#include <string>
#include <string_view>

namespace pelko {

// The comment with every upper-case letter replaced by its lower-case one.
std::string FoldComment(std::string_view cp1251);
// The same into a reused string (no allocation once it has grown).
void FoldCommentInto(std::string_view cp1251, std::string& out);
bool SameCommentIgnoringCase(std::string_view a, std::string_view b);
// A hash of the folded comment (equal for comments that differ only in case).
std::uint64_t FoldedCommentHash(std::string_view cp1251);

} // namespace pelko
