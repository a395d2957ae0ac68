#include "test_stats.h"

#include "stats/stat_format.h"

namespace pelko::test {

TDrawData MakeDraw(int number, std::initializer_list<int> nums) {
    TDrawData d;
    d.Number = number;
    int i = 0;
    for (int n : nums)
        d.Nums[i++] = static_cast<std::uint8_t>(n);
    return d;
}

void TstTestValues::FillAllValues(int LastIndex, TStatDrawList& Values) {
    TCustomValuesStat::FillAllValues(LastIndex, Values);
    for (int n = 1; n <= LOTTO_MAX; ++n)
        FillValue(Values, TStatKey::FromK(static_cast<std::uint16_t>(n)));
}

void TstTestValues::ComputeForCombination(const TComb& Comb, TStatDrawList& Values) {
    TCustomValuesStat::ComputeForCombination(Comb, Values);
    for (std::uint8_t n : Comb)
        AddValue(Values, TStatKey::FromK(n), false);
}

void TstTestValues::ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted, TStatDrawList& Values,
                                   TStatWorkArea& Work, TLastValueArray& LastValues) {
    TCustomValuesStat::ComputeForDraw(DrawIndex, LastIndex, Sorted, Values, Work, LastValues);
    for (std::uint8_t n : CurDraw.Nums)
        AddValue(Values, TStatKey::FromK(n), true);
}

bool TstTestValues::TestCombination(const TComb& Comb, const TStatSelection& Selected, int, bool, bool) {
    for (std::uint8_t n : Comb)
        if (Selected.HasKey(n))
            return true;
    return false;
}

namespace {
int SumOf(const std::uint8_t* nums) {
    int s = 0;
    for (int i = 0; i < LOTTO_COUNT; ++i)
        s += nums[i];
    return s;
}
int EvenCount(const std::uint8_t* nums) {
    int c = 0;
    for (int i = 0; i < LOTTO_COUNT; ++i)
        c += nums[i] % 2 == 0;
    return c;
}
} // namespace

void TstTestSum::ComputeForCombination(const TComb& Comb, TStatDrawList& Values) {
    TCustomGraphStat::ComputeForCombination(Comb, Values);
    AddValue(Values, TStatKey::FromV(SumOf(Comb.N)), false);
}

void TstTestSum::ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted, TStatDrawList& Values,
                                TStatWorkArea& Work, TLastValueArray& LastValues) {
    TCustomGraphStat::ComputeForDraw(DrawIndex, LastIndex, Sorted, Values, Work, LastValues);
    AddValue(Values, TStatKey::FromV(SumOf(CurDraw.Nums)), true);
}

bool TstTestSum::TestCombination(const TComb& Comb, const TStatSelection& Selected, int, bool, bool) {
    return Selected.HasWords13(static_cast<std::uint16_t>(SumOf(Comb.N)), 0);
}

int TstTestSum::GraphValue(const TComb& Comb, int, int, bool) {
    return SumOf(Comb.N);
}

void TstTestMask::ComputeForCombination(const TComb& Comb, TStatDrawList& Values) {
    TCustomMaskStat::ComputeForCombination(Comb, Values);
    AddValue(Values, TStatKey::FromV(MaskOf(Comb.N, [](int n) { return n % 2 == 1; })), false);
}

void TstTestMask::ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted, TStatDrawList& Values,
                                 TStatWorkArea& Work, TLastValueArray& LastValues) {
    TCustomMaskStat::ComputeForDraw(DrawIndex, LastIndex, Sorted, Values, Work, LastValues);
    AddValue(Values, TStatKey::FromV(MaskOf(CurDraw.Nums, [](int n) { return n % 2 == 1; })), true);
}

bool TstTestMask::TestCombination(const TComb& Comb, const TStatSelection& Selected, int, bool, bool) {
    return Selected.HasLong(1, MaskOf(Comb.N, [](int n) { return n % 2 == 1; }));
}

void TstTestRatio::FillAllValues(int LastIndex, TStatDrawList& Values) {
    TCustomRatioStat::FillAllValues(LastIndex, Values);
    for (int k = 0; k <= LOTTO_COUNT; ++k)
        FillValue(Values, TStatKey::FromK(static_cast<std::uint16_t>(k)));
}

void TstTestRatio::ComputeForCombination(const TComb& Comb, TStatDrawList& Values) {
    TCustomRatioStat::ComputeForCombination(Comb, Values);
    AddValue(Values, TStatKey::FromK(static_cast<std::uint16_t>(EvenCount(Comb.N))), false);
}

void TstTestRatio::ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted, TStatDrawList& Values,
                                  TStatWorkArea& Work, TLastValueArray& LastValues) {
    TCustomRatioStat::ComputeForDraw(DrawIndex, LastIndex, Sorted, Values, Work, LastValues);
    AddValue(Values, TStatKey::FromK(static_cast<std::uint16_t>(EvenCount(CurDraw.Nums))), true);
}

bool TstTestRatio::TestCombination(const TComb& Comb, const TStatSelection& Selected, int, bool, bool) {
    return Selected.HasKey(static_cast<std::uint16_t>(EvenCount(Comb.N)));
}

int TstTestRatio::GraphValue(const TComb& Comb, int, int, bool) {
    return EvenCount(Comb.N);
}

const TStatClassTable& TestClasses() {
    static const TStatClassTable table = [] {
        TStatClassTable t;
        // Added out of order on purpose: the table keeps Position order.
        t.Add(StatClass<TstTestSum>({.Position = 1, .Name = "TstTestSum", .Code = "TSUM",
                                     .Caption = "Тестовая сумма", .Group = sgSums, .Flags = sfCombinable}));
        t.Add(StatClass<TstTestValues>({.Position = 0, .Name = "TstTestValues", .Code = "TVAL",
                                        .Caption = "Тестовые числа", .Group = sgNumbers, .Flags = sfCombinable}));
        t.Add(StatClass<TstTestMask>({.Position = 2, .Name = "TstTestMask", .Code = "TMSK",
                                      .Caption = "Тестовая маска", .Group = sgNumbers,
                                      .Flags = sfOrderSensitive | sfCombinable}));
        t.Add(StatClass<TstTestRatio>({.Position = 3, .Name = "TstTestRatio", .Code = "TRAT",
                                       .Caption = "Тестовое отношение", .Group = sgNumbers, .Flags = sfCombinable}));
        t.Add(StatClass<TstTestValues>({.Position = 4, .Name = "TstTestPos", .Code = "TPOS%d",
                                        .Caption = "Позиция %0:d", .Group = sgNumbers, .Flags = sfOrderSensitive,
                                        .TypeRange = FixedTypes<1, 6>}));
        t.Add(StatClass<TstTestValues>({.Position = 5, .Name = "TstTestNone", .Code = "TPOE%d",
                                        .Caption = "Нет типов", .Group = sgNumbers, .TypeRange = FixedTypes<1, 0>}));
        t.Add(StatClass<TstTestValues>({.Position = 6, .Name = "TstTestChn", .Code = "TCHN%d",
                                        .Caption = "Канал %0:d", .Group = sgChannels, .Flags = sfCombinable,
                                        .TypeRange = ChannelTypes}));
        t.Add(StatClass<TstTestValues>({.Position = 7, .Name = "TstTestCol", .Code = "TCOL%d",
                                        .Caption = "Столбец %0:d", .Group = sgMatrix, .TypeRange = ColumnTypes}));
        t.Add(StatClass<TstTestValues>({.Position = 8, .Name = "TstTestRow", .Code = "TROW%d",
                                        .Caption = "Строка %0:d", .Group = sgMatrix, .TypeRange = RowTypes}));
        t.Add(StatClass<TstTestValues>({.Position = 9, .Name = "TstTestSgm", .Code = "TSGM%d",
                                        .Caption = "Сегмент %0:d", .Group = sgSegments, .TypeRange = SegmentTypes}));
        t.Add(StatClass<TstTestValues>({.Position = 10, .Name = "TstTestOff", .Code = "TOFF",
                                        .Caption = "Скрытый", .Group = sgNumbers, .Available = false}));
        t.Add(StatClass<TstTestValues>({.Position = 11, .Name = "TstTestRef", .Code = "TREF",
                                        .Caption = FormatTemplate("Переходы между %0:d тиражами в %%d позиции", 2),
                                        .Group = sgChains, .Flags = sfReferenceDraw}));
        return t;
    }();
    return table;
}

} // namespace pelko::test
