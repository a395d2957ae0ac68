#include "core/config.h"

#include "core/ini_file.h"
#include "core/segments.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace pelko {

namespace {

constexpr const char* GLOBAL = "GLOBAL";
constexpr const char* STAKES = "STAKES";
constexpr const char* CDL = "CDL";
constexpr const char* SHREDDING = "SHREDDING";

// A prize table longer than this is a damaged file, not a lottery.
constexpr std::int32_t MAX_PROFIT_ROWS = 255;
constexpr std::size_t MAX_GENERATE_PARAMETERS = 255;
constexpr int MIN_SHREDDING_DIGITS = 1;
constexpr int MAX_SHREDDING_DIGITS = 5;

// Whole numbers outside their range are treated like malformed ones: they take the default.
std::int32_t ReadRanged(const TIniFile& ini, const char* section, const char* key, std::int32_t def,
                        std::int32_t min, std::int32_t max) {
    const std::int32_t value = ini.ReadInteger(section, key, def);
    return value >= min && value <= max ? value : def;
}

// Money is stored as its amount; amounts beyond the money range read as the default.
TMoney ReadMoney(const TIniFile& ini, const std::string& section, const std::string& key,
                 TMoney def) {
    double amount = 0;
    if (!TextToFloat(ini.ReadString(section, key), amount)) return def;
    const long double scaled = static_cast<long double>(amount) * MONEY_SCALE;
    if (std::fabs(scaled) >= 9.2e18L) return def;
    return static_cast<TMoney>(std::llround(scaled));
}

void WriteMoney(TIniFile& ini, const std::string& section, const std::string& key, TMoney money) {
    ini.WriteFloat(section, key, static_cast<double>(money) / MONEY_SCALE);
}

std::string ProfitKey(std::size_t row, const char* field) {
    return "Profit_" + std::to_string(row) + "_" + field;
}

// Rows past the new count would otherwise survive a shorter table.
void EraseProfitRowsFrom(TIniFile& ini, std::size_t first) {
    constexpr std::string_view PREFIX = "profit_";
    for (const std::string& key : ini.ReadSection(STAKES)) {
        if (key.size() <= PREFIX.size()) continue;
        bool prefixMatches = true;
        for (std::size_t i = 0; i < PREFIX.size(); ++i)
            prefixMatches =
                prefixMatches && std::tolower(static_cast<unsigned char>(key[i])) == PREFIX[i];
        char* end = nullptr;
        const char* digits = key.c_str() + PREFIX.size();
        const unsigned long row = std::strtoul(digits, &end, 10);
        if (prefixMatches && std::isdigit(static_cast<unsigned char>(*digits)) && *end == '_' &&
            row >= first)
            ini.EraseKey(STAKES, key);
    }
}

std::vector<TProfitItem> ReadProfits(const TIniFile& ini) {
    const std::int32_t count = ReadRanged(ini, STAKES, "Profits", 0, 0, MAX_PROFIT_ROWS);
    std::vector<TProfitItem> profits(static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < profits.size(); ++i) {
        profits[i].Matches = static_cast<std::uint8_t>(
            ReadRanged(ini, STAKES, ProfitKey(i, "Overlap").c_str(), 0, 0, LOTTO_COUNT));
        profits[i].Prize = ReadMoney(ini, STAKES, ProfitKey(i, "Profit"), 0);
    }
    return profits;
}

TCDLData ReadCDL(const TIniFile& ini) {
    const TCDLData defaults;
    TCDLData cdl;
    cdl.Count = ini.ReadExtended(CDL, "Count", defaults.Count);
    cdl.Deviation = ini.ReadExtended(CDL, "Deviation", defaults.Deviation);
    cdl.Level = ini.ReadExtended(CDL, "Level", defaults.Level);
    cdl.UsePercents = ini.ReadInteger(CDL, "UsePercents", defaults.UsePercents ? 1 : 0) > 0;
    cdl.UseAbsValues = ini.ReadInteger(CDL, "UseAbsValues", defaults.UseAbsValues ? 1 : 0) > 0;
    return cdl;
}

// Segment numbers run 1..9; "0" or anything else there means the default segment.
TSegments ReadSegments(const TIniFile& ini) {
    TSegments segments = TextToSegments(ini.ReadString(GLOBAL, "MatrixSegments"));
    for (std::uint8_t& s : segments)
        if (s < 1 || s > 9) s = 1;
    return segments;
}

// Cuts at a character boundary: the parameters are up to 255 characters, not bytes.
std::string FirstCharacters(const std::string& utf8, std::size_t count) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const bool startsCharacter = (static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80;
        if (startsCharacter && chars++ == count) return utf8.substr(0, i);
    }
    return utf8;
}

} // namespace

TConfigData LoadConfig(const std::filesystem::path& iniFile) {
    const TIniFile ini(iniFile);
    const TConfigData defaults;
    TConfigData config;
    config.MatrixCols = ReadRanged(ini, GLOBAL, "MatrixCols", defaults.MatrixCols, 1, LOTTO_MAX);
    config.ChannelSize = ReadRanged(ini, GLOBAL, "ChannelSize", defaults.ChannelSize, 3, LOTTO_MAX);
    config.Cost = ReadMoney(ini, STAKES, "Cost", defaults.Cost);
    config.MaxStake = ReadRanged(ini, STAKES, "MaxStake", defaults.MaxStake, 7, 15);
    config.Profits = ReadProfits(ini);
    config.CDL = ReadCDL(ini);
    config.Segments = ReadSegments(ini);
    return config;
}

void SaveConfig(const std::filesystem::path& iniFile, const TConfigData& config) {
    TIniFile ini(iniFile);
    ini.WriteInteger(GLOBAL, "MatrixCols", config.MatrixCols);
    ini.WriteInteger(GLOBAL, "ChannelSize", config.ChannelSize);
    ini.WriteString(GLOBAL, "MatrixSegments", SegmentsToText(config.Segments));
    WriteMoney(ini, STAKES, "Cost", config.Cost);
    ini.WriteInteger(STAKES, "MaxStake", config.MaxStake);
    ini.WriteInteger(STAKES, "Profits", static_cast<std::int32_t>(config.Profits.size()));
    EraseProfitRowsFrom(ini, config.Profits.size());
    for (std::size_t i = 0; i < config.Profits.size(); ++i) {
        ini.WriteInteger(STAKES, ProfitKey(i, "Overlap"), config.Profits[i].Matches);
        WriteMoney(ini, STAKES, ProfitKey(i, "Profit"), config.Profits[i].Prize);
    }
    ini.WriteExtended(CDL, "Count", config.CDL.Count);
    ini.WriteExtended(CDL, "Deviation", config.CDL.Deviation);
    ini.WriteExtended(CDL, "Level", config.CDL.Level);
    ini.WriteBool(CDL, "UsePercents", config.CDL.UsePercents);
    ini.WriteBool(CDL, "UseAbsValues", config.CDL.UseAbsValues);
    ini.Save();
}

TShreddingFormulas LoadShredding(const std::filesystem::path& iniFile) {
    const TIniFile ini(iniFile);
    const TShreddingFormulas defaults;
    TShreddingFormulas formulas;
    for (int i = 0; i < SHREDDING_FORMULAS; ++i) {
        const std::string key = "Formula" + std::to_string(i + 1);
        formulas.Formula[i] = ini.ReadString(SHREDDING, key, defaults.Formula[i]);
        formulas.Digits[i] =
            ReadRanged(ini, SHREDDING, (key + "Digits").c_str(), defaults.Digits[i],
                       MIN_SHREDDING_DIGITS, MAX_SHREDDING_DIGITS);
    }
    return formulas;
}

void SaveShredding(const std::filesystem::path& iniFile, const TShreddingFormulas& formulas) {
    TIniFile ini(iniFile);
    for (int i = 0; i < SHREDDING_FORMULAS; ++i) {
        const std::string key = "Formula" + std::to_string(i + 1);
        ini.WriteString(SHREDDING, key, formulas.Formula[i]);
        ini.WriteInteger(SHREDDING, key + "Digits", formulas.Digits[i]);
    }
    ini.Save();
}

TGenerateParams LoadGenerateParams(const std::filesystem::path& iniFile) {
    const TIniFile ini(iniFile);
    TGenerateParams params;
    params.Mode = static_cast<std::uint8_t>(ReadRanged(ini, GLOBAL, "CombsGenerateMode", 0, 0, 4));
    params.Parameters =
        FirstCharacters(ini.ReadString(GLOBAL, "CombsGenerateParameters"), MAX_GENERATE_PARAMETERS);
    return params;
}

void SaveGenerateParams(const std::filesystem::path& iniFile, const TGenerateParams& params) {
    TIniFile ini(iniFile);
    ini.WriteInteger(GLOBAL, "CombsGenerateMode", params.Mode);
    ini.WriteString(GLOBAL, "CombsGenerateParameters",
                    FirstCharacters(params.Parameters, MAX_GENERATE_PARAMETERS));
    ini.Save();
}

long double WeightOf(const TCDLData& coef, bool hasDeviation, long double c, std::int64_t total,
                     long double b, long double d, long double depthBase) {
    long double count = c;
    long double deviation = hasDeviation ? c - b : 0.0L;
    long double depth = d;
    if (coef.UsePercents) {
        count = total != 0 ? c * 100.0L / static_cast<long double>(total) : 0.0L;
        deviation = hasDeviation && b != 0 ? deviation * 100.0L / b : 0.0L;
        depth = depthBase != 0 ? d * 100.0L / depthBase : 0.0L;
    }
    if (coef.UseAbsValues) {
        count = std::fabs(count);
        deviation = std::fabs(deviation);
        depth = std::fabs(depth);
    }
    return coef.Count * count + coef.Deviation * deviation + coef.Level * depth;
}

} // namespace pelko
