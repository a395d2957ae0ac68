#pragma once
// Generation of the combination list: all six-number subsets of 1..45 in lexicographic
// order (1-2-3-4-5-6, 1-2-3-4-5-7, ..., 40-41-42-43-44-45), kept whole or narrowed by the
// user's own numbers, or read from a combinations file.

#include "core/comb_list.h"
#include "core/config.h"
#include "core/lottery.h"

#include <cstddef>
#include <string_view>

namespace pelko {

enum TGenerateMode : int {
    GEN_ALL = 0,          // every combination
    GEN_ANY_OF_MINE = 1,  // at least one of my numbers
    GEN_ONLY_MINE = 2,    // my numbers only
    GEN_NONE_OF_MINE = 3, // none of my numbers
    GEN_FROM_FILE = 4,    // the parameters name a combinations file
};

// The "my numbers" of modes 1..3: words between "," and ";" (runs count as one), each
// trimmed and read as an integer, 0 when it is not one; values 0..255 join the set.
TByteSet ParseMyNumbers(std::string_view parameters);

// How many combinations the mode keeps (modes other than 1..3 keep all of them).
std::size_t CountGeneratedCombs(int mode, const TByteSet& mine);

// Replaces the list's entries by the combinations the mode keeps, in lexicographic order;
// the capacity grows only when it is too small. Modes other than 1..3 give the full list.
void GenerateCombList(TCombList& list, int mode, const TByteSet& mine);

// Generation from saved parameters; mode 4 reads the file named by the parameters and
// throws like LoadCombsFile does (the entries read so far stay).
void GenerateCombs(TCombList& list, const TGenerateParams& params);

} // namespace pelko
