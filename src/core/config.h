#pragma once
// Lottery parameters, kept in the data ini file "Pelko_6x45.ini": geometry of the matrix,
// channels and segments, stake cost and prizes, the weight coefficients, the shredding
// formulas and the generation defaults of the combination list.

#include "core/lottery.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace pelko {

struct TProfitItem {
    std::uint8_t Matches = 0; // 0..6
    TMoney Prize = 0;
    friend bool operator==(const TProfitItem&, const TProfitItem&) = default;
};

// Coefficients of the computed weight column ("Вес").
struct TCDLData {
    long double Count = 0.0L;
    long double Deviation = -1.0L;
    long double Level = 1.0L;
    bool UsePercents = false;
    bool UseAbsValues = false;
    friend bool operator==(const TCDLData&, const TCDLData&) = default;
};

struct TConfigData {
    std::int32_t MatrixCols = 5;  // 1..45
    std::int32_t ChannelSize = 5; // 3..45
    TMoney Cost = 0;
    std::int32_t MaxStake = 15; // 7..15
    std::vector<TProfitItem> Profits;
    TCDLData CDL;
    std::array<std::uint8_t, LOTTO_MAX> Segments = MakeDefaultSegments(); // number n at [n - 1]

    int MatrixRows() const { return (LOTTO_MAX + MatrixCols - 1) / MatrixCols; }
    static std::array<std::uint8_t, LOTTO_MAX> MakeDefaultSegments() {
        std::array<std::uint8_t, LOTTO_MAX> s{};
        s.fill(1);
        return s;
    }
    friend bool operator==(const TConfigData&, const TConfigData&) = default;
};

inline constexpr int SHREDDING_FORMULAS = 3;

struct TShreddingFormulas {
    std::array<std::string, SHREDDING_FORMULAS> Formula = {
        "(n1+n2+n3)/(n4+n5+n6)", "(n4+n5+n6)/(n1+n2+n3)", "(n1+n3+n5)/(n2+n4+n6)"};
    std::array<int, SHREDDING_FORMULAS> Digits = {2, 2, 2};
    friend bool operator==(const TShreddingFormulas&, const TShreddingFormulas&) = default;
};

// How the combination list is generated at start-up and by default.
struct TGenerateParams {
    std::uint8_t Mode = 0;  // 0..4
    std::string Parameters; // my numbers or a file name, up to 255 characters
    friend bool operator==(const TGenerateParams&, const TGenerateParams&) = default;
};

// Reading never fails on bad values: a missing or malformed key takes its default, and so
// does a whole number outside its range (matrix columns 1..45, channel size 3..45, maximum
// stake 7..15, prize rows 0..255, matches 0..6, formula digits 1..5, generation mode 0..4);
// a segment digit outside 1..9 (that is, "0") becomes 1. A missing file gives all defaults;
// a file that cannot be read at all throws std::runtime_error with the system's text.
// Writing replaces the file atomically and keeps every other section and key of it; prize
// rows past the new count are removed.
TConfigData LoadConfig(const std::filesystem::path& iniFile);
void SaveConfig(const std::filesystem::path& iniFile, const TConfigData& config);
TShreddingFormulas LoadShredding(const std::filesystem::path& iniFile);
void SaveShredding(const std::filesystem::path& iniFile, const TShreddingFormulas& formulas);
TGenerateParams LoadGenerateParams(const std::filesystem::path& iniFile);
void SaveGenerateParams(const std::filesystem::path& iniFile, const TGenerateParams& params);

// The weight of a statistics-table row: count c of total T, deviation from base b (when
// hasDeviation), depth d of base D.
long double WeightOf(const TCDLData& coef, bool hasDeviation, long double c, std::int64_t total,
                     long double b, long double d, long double depthBase);

} // namespace pelko
