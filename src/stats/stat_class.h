#pragma once
// What the registry knows of a statistic class without creating an object: its code and
// caption templates, group, flags, type range and factory. One TStatClassInfo stands for
// one row of the class table; the class-level operations of a statistic are its methods.

#include "core/config.h"

#include <cstdint>
#include <memory>
#include <string>

namespace pelko {

class TCustomStat;
class TStatList;

enum TStatGroup : int {
    sgNumbers = 0,     // "num"
    sgSums = 1,        // "sum"
    sgDiffs = 2,       // "dif"
    sgChannels = 3,    // "grp"
    sgMatrix = 4,      // "mtx"
    sgSegments = 5,    // "sgm"
    sgSequences = 6,   // "seq"
    sgRepeats = 7,     // "rep"
    sgSerials = 8,     // "ser"
    sgPeriods = 9,     // "per"
    sgChains = 10,     // "mov"
    sgSigma = 11,      // "sig"
    sgShredding = 12,  // "shr"
};
inline constexpr int STAT_GROUPS = 13;

// Three-letter tag of a group; "" outside 0..12.
const char* GroupTag(int group);
// "{ tag } caption"; "#ERROR#" outside 0..12.
std::string GroupCaption(int group);

// Flag bits; a set of them is a TStatFlags.
using TStatFlags = std::uint8_t;
inline constexpr TStatFlags sfOrderSensitive = 1 << 0; // S
inline constexpr TStatFlags sfCombinable = 1 << 1;     // N
inline constexpr TStatFlags sfReferenceDraw = 1 << 2;  // D
inline constexpr TStatFlags sfPeriodic = 1 << 3;       // P
inline constexpr TStatFlags sfGraph = 1 << 4;          // G (follows IsGraph)

// The letters of the set in the order S, N, D, P, G.
std::string FlagLetters(TStatFlags flags);

// A 16-bit set of groups (bit g = group g), as the prefetch rebuild takes it.
using TStatGroups = std::uint16_t;
inline constexpr TStatGroups ALL_STAT_GROUPS = (1u << STAT_GROUPS) - 1;

struct TTypeRange {
    int Min = 0;
    int Max = 0;
};

// Type ranges of typed classes. Those that depend on the parameters follow them.
template <int Min, int Max>
TTypeRange FixedTypes(const TConfigData&) {
    return {Min, Max};
}
TTypeRange ChannelTypes(const TConfigData& config); // 1..channel of 45; none for size <= 0
TTypeRange ColumnTypes(const TConfigData& config);  // 1..matrix columns
TTypeRange RowTypes(const TConfigData& config);     // 1..ceil(45 / columns)
TTypeRange SegmentTypes(const TConfigData& config); // smallest..largest segment number

struct TStatClassInfo;
using TTypeRangeFn = TTypeRange (*)(const TConfigData&);
using TClassTextFn = std::string (*)(const TStatClassInfo&, int type);
using TStatFactory = std::unique_ptr<TCustomStat> (*)(const TStatList& list, int type);

// One statistic class. Fill it with designated initializers in this field order, through
// StatClass<T>() (custom_stat.h), which sets Create and Graph from T.
struct TStatClassInfo {
    int Position = -1;       // row of the class table (0..142): the registry's order
    const char* Name = "";   // class name, e.g. "TstSumValues"
    std::string Code;        // GetCode, already formatted with the class's own argument
    std::string Caption;     // GetCaption, likewise (may still hold "%d" for the type)
    TStatGroup Group = sgNumbers;
    TStatFlags Flags = 0;    // the declared S, N, D, P flags (G is added by IsGraph)
    TTypeRangeFn TypeRange = nullptr; // set for typed classes (HasTypes)
    std::string FamilyCode;  // GetFamilyCode; empty = Code
    bool Available = true;   // IsAvailable
    bool Listed = true;      // IsListed
    bool ScalarValues = true; // HasScalarValues
    bool Graph = false;      // IsGraph; StatClass<T> sets it for TCustomGraphStat classes
    TClassTextFn CodeOfFn = nullptr;    // replaces the CodeOf rule when set
    TClassTextFn CaptionOfFn = nullptr; // replaces the CaptionOf rule when set
    TStatFactory Create = nullptr;

    // Class-level operations.
    const std::string& GetCode() const { return Code; }
    const std::string& GetCaption() const { return Caption; }
    const std::string& GetFamilyCode() const { return FamilyCode.empty() ? Code : FamilyCode; }
    TStatGroup GetGroup() const { return Group; }
    TStatFlags GetFlags() const { return Flags; }
    TStatFlags GetAllFlags() const { return Graph ? TStatFlags(Flags | sfGraph) : Flags; }
    std::string CodeOf(int type) const;    // GetCode formatted with the type
    std::string CaptionOf(int type) const; // GetCaption formatted with the type
    // "ms-its:<help file>::/Filters_1049_<code>.htm" when the help file is set and exists.
    std::string HelpTopicOf(int type) const;
    bool IsAvailable() const { return Available; }
    bool IsListed() const { return Listed; }
    bool IsGraph() const { return Graph; }
    bool SupportsCombinations() const { return (Flags & sfCombinable) != 0; }
    bool HasScalarValues() const { return ScalarValues; }
    bool HasTypes() const { return TypeRange != nullptr; }
    TTypeRange GetTypeRange(const TConfigData& config) const {
        return TypeRange ? TypeRange(config) : TTypeRange{};
    }

    // A new object of the class with its type, attached to this descriptor.
    std::unique_ptr<TCustomStat> New(const TStatList& list, int type) const;
};

// The help file the help addresses point into; empty = no help (the default).
void SetStatHelpFile(const std::string& path);
const std::string& StatHelpFile();

} // namespace pelko
