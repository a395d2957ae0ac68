// Group "mtx": the numbers written row by row into a matrix of MatrixCols columns. Which
// columns and rows the six numbers use, how many numbers each holds, their occupancy
// patterns, the columns (rows) where numbers touch vertically (horizontally), and the
// columns and rows of position subsets and neighbouring positions.
//
// Every statistic exists for columns and for rows: a "line" below is a column for the
// column statistics and a row for the row statistics; "across" is the other coordinate.
// Each statistic keeps the matrix it was created with.

#include "core/arithmetic.h"
#include "core/format.h"
#include "core/lottery.h"
#include "stats/custom_stat.h"
#include "stats/families/batched_stat.h"
#include "stats/families/families.h"
#include "stats/families/grouped_stats.h"
#include "stats/families/number_grouping.h"
#include "stats/families/stat_keys.h"
#include "stats/stat_format.h"
#include "stats/stat_list.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace pelko {

namespace {

int MatrixRowsOf(int cols) {
    return cols < 1 ? 0 : RowsCount(0, LOTTO_MAX, cols);
}

// A statistic kind with the matrix of the parameters at creation; Groups are its lines.
template <class Kind, bool Rows> class TMatrixStatOf : public TGroupedStat<Kind> {
  public:
    TMatrixStatOf(const TStatList& List, int Type)
        : TGroupedStat<Kind>(List, Type,
                             Rows ? RowGrouping(List.Config.MatrixCols)
                                  : ColumnGrouping(List.Config.MatrixCols)),
          MatrixCols(List.Config.MatrixCols), MatrixRows(MatrixRowsOf(List.Config.MatrixCols)),
          Across(Rows ? ColumnGrouping(List.Config.MatrixCols)
                      : RowGrouping(List.Config.MatrixCols)) {}

    const int MatrixCols;
    const int MatrixRows;
    // Lines of this statistic and of the other direction.
    int LineCount() const { return Rows ? MatrixRows : MatrixCols; }
    int AcrossCount() const { return Rows ? MatrixCols : MatrixRows; }

    const TNumberGrouping Across;
};

template <bool Rows> using TCustomMatrixStat = TMatrixStatOf<TCustomNumbersStat, Rows>;
template <bool Rows> using TCustomMatrixGraphStat = TMatrixStatOf<TCustomGraphStat, Rows>;

int CountsUpToSix(int bound) {
    return std::min(bound, LOTTO_COUNT);
}

// COLS, ROWS.
template <bool Rows> using TstLines = TGroupOfEachStat<TCustomMatrixStat<Rows>>;

// COLV, ROWV: every line with the counts 0..min(lines across, 6) pre-filled.
template <bool Rows> class TstLineValues : public TGroupCountsStat<TCustomMatrixStat<Rows>> {
  public:
    TstLineValues(const TStatList& List, int Type)
        : TGroupCountsStat<TCustomMatrixStat<Rows>>(List, Type,
                                                    CountsUpToSix(AcrossOf(List.Config))) {}

  private:
    static int AcrossOf(const TConfigData& config) {
        return Rows ? config.MatrixCols : MatrixRowsOf(config.MatrixCols);
    }
};

// COLN, ROWN: pre-fills 1..min(lines, 6).
template <bool Rows> class TstLineCount : public TGroupsUsedStat<TCustomMatrixGraphStat<Rows>> {
  public:
    TstLineCount(const TStatList& List, int Type)
        : TGroupsUsedStat<TCustomMatrixGraphStat<Rows>>(List, Type,
                                                        CountsUpToSix(LinesOf(List.Config))) {}

  private:
    static int LinesOf(const TConfigData& config) {
        return Rows ? MatrixRowsOf(config.MatrixCols) : config.MatrixCols;
    }
};

// COL%d, ROW%d: pre-fills 1..lines across (the most a line could hold in a full matrix).
template <bool Rows> class TstLineValCnt : public TGroupMembersStat<TCustomMatrixGraphStat<Rows>> {
  public:
    TstLineValCnt(const TStatList& List, int Type)
        : TGroupMembersStat<TCustomMatrixGraphStat<Rows>>(
              List, Type, Rows ? List.Config.MatrixCols : MatrixRowsOf(List.Config.MatrixCols)) {}
};

// COLM, ROWM: the occupancy mask of the lines, line 1 the highest bit. The mask is kept in
// 64 bits (V1 the low half, V2 the high half) so that a matrix of more than 31 lines (one
// column gives 45 rows) still tells its masks apart; up to 31 lines V2 is 0 and the value
// is the plain V1 integer.
template <bool Rows> class TstLineMask : public TCustomMatrixStat<Rows> {
  public:
    TstLineMask(const TStatList& List, int Type) : TCustomMatrixStat<Rows>(List, Type) {
        const int lines = this->LineCount();
        for (int n = 1; n <= LOTTO_MAX; ++n) {
            const int line = this->Groups.Group[n];
            if (line >= 1 && line <= lines) lineBit_[n] = std::uint64_t{1} << (lines - line);
        }
    }

    std::string ValueToText(const TStatDraw& Item) const override {
        const std::uint64_t mask = MaskOfKey(Item.Key);
        const int lines = this->LineCount();
        std::string text;
        for (int line = 1; line <= lines; ++line)
            text += (lines - line < 64 && ((mask >> (lines - line)) & 1u)) ? '1' : '0';
        return text + Format(" (%.3llu)", static_cast<unsigned long long>(mask));
    }
    // One character per line, "1" giving a set bit; the low 32 bits as V1.
    std::int32_t TextToValue(std::string_view Text) const override {
        std::uint64_t mask = 0;
        for (int i = 0; i < this->LineCount(); ++i)
            mask = (mask << 1) | (static_cast<std::size_t>(i) < Text.size() &&
                                          Text[static_cast<std::size_t>(i)] == '1'
                                      ? 1u
                                      : 0u);
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(mask));
    }
    void ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted, TStatDrawList& Values,
                        TStatWorkArea& Work, TLastValueArray& LastValues) override {
        TCustomMatrixStat<Rows>::ComputeForDraw(DrawIndex, LastIndex, Sorted, Values, Work,
                                                LastValues);
        this->AddValue(Values, KeyOfMask(MaskOf(this->CurDraw.Nums)), true);
    }
    void ComputeForCombination(const TComb& Comb, TStatDrawList& Values) override {
        TCustomMatrixStat<Rows>::ComputeForCombination(Comb, Values);
        this->AddValue(Values, KeyOfMask(MaskOf(Comb.N)), false);
    }
    bool TestCombination(const TComb& Comb, const TStatSelection& Selected, int, bool,
                         bool) override {
        return Selected.HasKey(KeyOfMask(MaskOf(Comb.N)));
    }

  private:
    std::uint64_t MaskOf(const std::uint8_t* nums) const {
        std::uint64_t mask = 0;
        for (int i = 0; i < LOTTO_COUNT; ++i)
            mask |= lineBit_[nums[i]];
        return mask;
    }
    static TStatKey KeyOfMask(std::uint64_t mask) {
        return LongsKey(static_cast<std::int32_t>(static_cast<std::uint32_t>(mask)),
                        static_cast<std::int32_t>(static_cast<std::uint32_t>(mask >> 32)));
    }
    static std::uint64_t MaskOfKey(const TStatKey& key) {
        return static_cast<std::uint32_t>(key.V(1)) |
               (static_cast<std::uint64_t>(static_cast<std::uint32_t>(key.V(2))) << 32);
    }

    std::uint64_t lineBit_[256] = {}; // bit of each number's line; 0 outside 1..45
};

// The lines holding adjacent numbers (same line, across coordinates differing by 1), in
// order of their first adjacent pair, each with its number of pairs.
struct TLineAdjacency {
    int Count = 0;
    std::uint8_t Line[LOTTO_COUNT] = {};
    std::uint8_t Pairs[LOTTO_COUNT] = {};
};

// Adjacency within the lines of a matrix statistic. In a line every number has at most one
// larger neighbour, always `step` above it (the next row's number in a column, the next
// number in a row), so a pair is a number whose larger neighbour is present, and a line's
// pair count is the count of such numbers in it.
template <class Base> class TAdjacentLinesStatOf : public Base {
  public:
    TAdjacentLinesStatOf(const TStatList& List, int Type) : Base(List, Type) {
        for (int a = 1; a <= LOTTO_MAX; ++a)
            for (int b = a + 1; b <= LOTTO_MAX; ++b)
                if (this->Groups.Group[a] == this->Groups.Group[b] &&
                    std::abs(this->Across.Group[a] - this->Across.Group[b]) == 1) {
                    above_[a] = static_cast<std::uint8_t>(b);
                    hasAbove_ |= std::uint64_t{1} << a;
                    step_ = b - a;
                }
    }

  protected:
    bool Touch(std::uint8_t a, std::uint8_t b) const {
        return (above_[a] == b && b != 0) || (above_[b] == a && a != 0);
    }
    // The pairs of positions i < j in the numbers' order, lines in order of their first pair.
    TLineAdjacency AdjacencyOf(const std::uint8_t* nums) const {
        TLineAdjacency adjacency;
        for (int i = 0; i < LOTTO_COUNT; ++i)
            for (int j = i + 1; j < LOTTO_COUNT; ++j)
                if (Touch(nums[i], nums[j])) CountPair(adjacency, this->Groups.Group[nums[i]]);
        return adjacency;
    }
    // The bit sets below need numbers under 64 (a combination's are 1..45).
    static bool SmallNumbers(const std::uint8_t* n) {
        return (n[0] | n[1] | n[2] | n[3] | n[4] | n[5]) < 64;
    }
    // Bit n set for each number n whose larger neighbour is present too (six distinct small
    // numbers); usually none.
    std::uint64_t LowerOfPairs(const std::uint8_t* n) const {
        constexpr std::uint64_t one = 1;
        const std::uint64_t present =
            one << n[0] | one << n[1] | one << n[2] | one << n[3] | one << n[4] | one << n[5];
        return present & (present >> step_) & hasAbove_;
    }
    // Pairs per line, counted by domain position, of the lower numbers of the pairs.
    TSlicedCounts PairsByLine(std::uint64_t lower) const {
        TSlicedCounts pairs;
        for (; lower != 0; lower &= lower - 1)
            pairs.Add(this->Groups.Bit[std::countr_zero(lower)]);
        return pairs;
    }
    // The domain positions of the lines holding a pair.
    std::uint64_t LinesWithPairs(std::uint64_t lower) const {
        std::uint64_t lines = 0;
        for (; lower != 0; lower &= lower - 1)
            lines |= this->Groups.Bit[std::countr_zero(lower)];
        return lines;
    }

  private:
    static void CountPair(TLineAdjacency& adjacency, std::uint8_t line) {
        int at = 0;
        while (at < adjacency.Count && adjacency.Line[at] != line)
            ++at;
        if (at == adjacency.Count) {
            adjacency.Line[adjacency.Count++] = line;
            adjacency.Pairs[at] = 0;
        }
        ++adjacency.Pairs[at];
    }
    std::uint8_t above_[256] = {}; // the larger touching number of each number, 0 = none
    std::uint64_t hasAbove_ = 0;   // bit n: number n has a larger touching number
    int step_ = 0;                 // how far above it that number is
};

// COLA, ROWA: (line, adjacent pairs + 1) for every line with adjacent numbers.
template <bool Rows> class TstLineAdjacent : public TAdjacentLinesStatOf<TCustomMatrixStat<Rows>> {
  public:
    using TAdjacentLinesStatOf<TCustomMatrixStat<Rows>>::TAdjacentLinesStatOf;

    std::string ValueToText(const TStatDraw& Item) const override {
        return Format("%d x %d", Item.Key.K(1), Item.Key.K(2));
    }
    void ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted, TStatDrawList& Values,
                        TStatWorkArea& Work, TLastValueArray& LastValues) override {
        TCustomMatrixStat<Rows>::ComputeForDraw(DrawIndex, LastIndex, Sorted, Values, Work,
                                                LastValues);
        AddLines(this->AdjacencyOf(this->CurDraw.Nums), Values, true);
    }
    void ComputeForCombination(const TComb& Comb, TStatDrawList& Values) override {
        TCustomMatrixStat<Rows>::ComputeForCombination(Comb, Values);
        AddLines(this->AdjacencyOf(Comb.N), Values, false);
    }
    // The prefetch pass: (line, pairs) counted over runs of combinations.
    void CountCombinations(const TComb* Combs, std::size_t Count, TStatDrawList& Values) {
        TBatchCounts<LOTTO_MAX * LOTTO_COUNT> counts; // domain position x pairs
        for (std::size_t begin = 0; begin < Count; begin += BATCH_COUNT_RUN) {
            const std::size_t end = std::min(Count, begin + BATCH_COUNT_RUN);
            for (std::size_t c = begin; c < end; ++c) {
                const std::uint8_t* n = Combs[c].N;
                if (this->SmallNumbers(n) && this->LowerOfPairs(n) == 0) continue;
                const TLineAdjacency adjacency = this->AdjacencyOf(n);
                for (int i = 0; i < adjacency.Count; ++i)
                    counts.Add(this->Groups.IndexOfGroup[adjacency.Line[i]] * LOTTO_COUNT +
                               adjacency.Pairs[i]);
            }
            counts.Drain([&](int at, std::int32_t times) {
                this->Item = TStatDraw{};
                this->Item.Count = times;
                this->AddValue(Values,
                               WordsKey(this->Groups.Domain[at / LOTTO_COUNT],
                                        static_cast<std::uint16_t>(at % LOTTO_COUNT + 1)),
                               false);
            });
        }
    }
    void PrepareTest(const TStatSelection& Selected, int RefIndex, bool Sorted,
                     bool Exclude) override {
        TCustomMatrixStat<Rows>::PrepareTest(Selected, RefIndex, Sorted, Exclude);
        for (int pairs = 1; pairs < LOTTO_COUNT; ++pairs) {
            selectedWith_[pairs] = 0;
            for (int i = 0; i < this->Groups.DomainSize; ++i)
                if (Selected.HasKey(this->Groups.Domain[i], static_cast<std::uint16_t>(pairs + 1)))
                    selectedWith_[pairs] |= std::uint64_t{1} << i;
        }
        this->Prepared = &Selected;
    }
    bool TestCombination(const TComb& Comb, const TStatSelection& Selected, int RefIndex,
                         bool Sorted, bool Exclude) override {
        this->PrepareIfNeeded(Selected, RefIndex, Sorted, Exclude);
        if (!this->SmallNumbers(Comb.N)) return TestByWalk(Comb, Selected);
        const std::uint64_t lower = this->LowerOfPairs(Comb.N);
        return lower != 0 && this->PairsByLine(lower).Matching(selectedWith_) != 0;
    }

  private:
    bool TestByWalk(const TComb& Comb, const TStatSelection& Selected) const {
        const TLineAdjacency adjacency = this->AdjacencyOf(Comb.N);
        for (int i = 0; i < adjacency.Count; ++i)
            if (Selected.HasKey(adjacency.Line[i],
                                static_cast<std::uint16_t>(adjacency.Pairs[i] + 1)))
                return true;
        return false;
    }
    void AddLines(const TLineAdjacency& adjacency, TStatDrawList& Values, bool trackGaps) {
        for (int i = 0; i < adjacency.Count; ++i)
            this->AddValue(
                Values,
                WordsKey(adjacency.Line[i], static_cast<std::uint16_t>(adjacency.Pairs[i] + 1)),
                trackGaps);
    }

    std::uint64_t selectedWith_[LOTTO_COUNT + 1] =
        {}; // per pair count: domain positions selected with it
};

// COLC, ROWC: the number of lines with adjacent numbers. Plotted.
template <bool Rows>
class TstLineAdjacentCnt : public TAdjacentLinesStatOf<TCustomMatrixGraphStat<Rows>> {
  public:
    using TAdjacentLinesStatOf<TCustomMatrixGraphStat<Rows>>::TAdjacentLinesStatOf;

    void ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted, TStatDrawList& Values,
                        TStatWorkArea& Work, TLastValueArray& LastValues) override {
        TCustomMatrixGraphStat<Rows>::ComputeForDraw(DrawIndex, LastIndex, Sorted, Values, Work,
                                                     LastValues);
        this->AddValue(Values, WordsKey(LinesOfDraw(this->CurDraw.Nums)), true);
    }
    void ComputeForCombination(const TComb& Comb, TStatDrawList& Values) override {
        TCustomMatrixGraphStat<Rows>::ComputeForCombination(Comb, Values);
        this->AddValue(Values, WordsKey(LinesOfCombination(Comb.N)), false);
    }
    int GraphValue(const TComb& Comb, int, int, bool) override { return LinesOfDraw(Comb.N); }
    bool TestCombination(const TComb& Comb, const TStatSelection& Selected, int, bool,
                         bool) override {
        return Selected.HasWord(1, LinesOfCombination(Comb.N));
    }

  private:
    // Any order, repeats allowed (archive draws, plotted numbers).
    std::uint16_t LinesOfDraw(const std::uint8_t* nums) const {
        return static_cast<std::uint16_t>(this->AdjacencyOf(nums).Count);
    }
    // Six distinct numbers.
    std::uint16_t LinesOfCombination(const std::uint8_t* nums) const {
        if (!this->SmallNumbers(nums)) return LinesOfDraw(nums);
        return static_cast<std::uint16_t>(
            CountBits(this->LinesWithPairs(this->LowerOfPairs(nums))));
    }
};

struct TLineNames {
    const char* Letter;    // code letter of the tuples: "F" / "R"
    const char* TuplesMix; // caption of the Mix tuples
    const char* TuplesSeq; // caption of the Seq tuples
};

constexpr TLineNames COLUMN_NAMES = {"F", "Сочетания из %0:d столбцов по всем числам тиража",
                                     "Сочетания из %0:d столбцов по соседним числам"};
constexpr TLineNames ROW_NAMES = {"R", "Сочетания из %0:d строк по всем числам тиража",
                                  "Сочетания из %0:d строк по соседним числам"};

// TstCombColMix2..4, TstCombColSeq2..4, TstCombRowMix2..4, TstCombRowSeq2..4.
template <bool Rows, int Len, bool Mix>
TStatClassInfo LineTuplesClass(int position, const char* name) {
    const TLineNames& names = Rows ? ROW_NAMES : COLUMN_NAMES;
    const std::string code = std::string("K") + names.Letter + (Mix ? "M%d" : "S%d");
    return StatClass<TBatched<TGroupTuplesStat<TCustomMatrixStat<Rows>, Len, Mix>>>(
        {.Position = position,
         .Name = name,
         .Code = FormatTemplate(code, Len),
         .Caption = FormatTemplate(Mix ? names.TuplesMix : names.TuplesSeq, Len),
         .Group = sgMatrix,
         .Flags = sfOrderSensitive,
         .ScalarValues = false});
}

template <class T>
TStatClassInfo MatrixClass(int position, const char* name, const char* code, const char* caption,
                           bool scalar = true) {
    return StatClass<TBatched<T>>({.Position = position,
                                   .Name = name,
                                   .Code = code,
                                   .Caption = caption,
                                   .Group = sgMatrix,
                                   .Flags = sfCombinable,
                                   .ScalarValues = scalar});
}

} // namespace

void RegisterMatrixStats(TStatClassTable& table) {
    table.Add(
        MatrixClass<TstLines<false>>(24, "TstColumns", "COLS", "Столбцы матрицы (не пустые)"));
    table.Add(MatrixClass<TstLines<true>>(25, "TstRows", "ROWS", "Строки матрицы (не пустые)"));
    table.Add(MatrixClass<TstLineValues<false>>(26, "TstColValues", "COLV",
                                                "Количество чисел в столбце матрицы", false));
    table.Add(MatrixClass<TstLineValues<true>>(27, "TstRowValues", "ROWV",
                                               "Количество чисел в строке матрицы", false));
    table.Add(MatrixClass<TstLineCount<false>>(28, "TstColCount", "COLN",
                                               "Количество не пустых столбцов в матрице"));
    table.Add(MatrixClass<TstLineCount<true>>(29, "TstRowCount", "ROWN",
                                              "Количество не пустых строк в матрице"));
    table.Add(
        MatrixClass<TstLineMask<false>>(30, "TstColMask", "COLM", "Сочетания столбцов матрицы"));
    table.Add(MatrixClass<TstLineMask<true>>(31, "TstRowMask", "ROWM", "Сочетания строк матрицы"));
    table.Add(MatrixClass<TstLineAdjacent<false>>(32, "TstColAjacent", "COLA",
                                                  "Столбцы матрицы со смежными числами"));
    table.Add(MatrixClass<TstLineAdjacent<true>>(33, "TstRowAjacent", "ROWA",
                                                 "Строки матрицы со смежными числами"));
    table.Add(MatrixClass<TstLineAdjacentCnt<false>>(
        34, "TstColAjacentCnt", "COLC", "Количество столбцов матрицы со смежными числами"));
    table.Add(MatrixClass<TstLineAdjacentCnt<true>>(
        35, "TstRowAjacentCnt", "ROWC", "Количество строк матрицы со смежными числами"));
    table.Add(LineTuplesClass<false, 2, true>(83, "TstCombColMix2"));
    table.Add(LineTuplesClass<false, 3, true>(84, "TstCombColMix3"));
    table.Add(LineTuplesClass<false, 4, true>(85, "TstCombColMix4"));
    table.Add(LineTuplesClass<false, 2, false>(86, "TstCombColSeq2"));
    table.Add(LineTuplesClass<false, 3, false>(87, "TstCombColSeq3"));
    table.Add(LineTuplesClass<false, 4, false>(88, "TstCombColSeq4"));
    table.Add(LineTuplesClass<true, 2, true>(89, "TstCombRowMix2"));
    table.Add(LineTuplesClass<true, 3, true>(90, "TstCombRowMix3"));
    table.Add(LineTuplesClass<true, 4, true>(91, "TstCombRowMix4"));
    table.Add(LineTuplesClass<true, 2, false>(92, "TstCombRowSeq2"));
    table.Add(LineTuplesClass<true, 3, false>(93, "TstCombRowSeq3"));
    table.Add(LineTuplesClass<true, 4, false>(94, "TstCombRowSeq4"));

    TStatClassInfo columnCounts = MatrixClass<TstLineValCnt<false>>(
        104, "TstColValCnt", "COL%d", "Количество чисел в %0:d столбце матрицы");
    columnCounts.TypeRange = &ColumnTypes;
    columnCounts.FamilyCode = "COLx";
    table.Add(std::move(columnCounts));
    TStatClassInfo rowCounts = MatrixClass<TstLineValCnt<true>>(
        105, "TstRowValCnt", "ROW%d", "Количество чисел в %0:d строке матрицы");
    rowCounts.TypeRange = &RowTypes;
    rowCounts.FamilyCode = "ROWx";
    table.Add(std::move(rowCounts));
}

} // namespace pelko
