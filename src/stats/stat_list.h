#pragma once
// The registry of statistic methods (a class with a type number): builds the method lists,
// creates statistic objects, keeps the user's favourites and captions (the names file) and
// a copy of the lottery parameters. The workspace owns the program's one registry and sets
// the archive it refers to before Build.

#include "core/config.h"
#include "core/lottery.h"
#include "stats/custom_stat.h"
#include "stats/stat_class_table.h"

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace pelko {

// One selectable method.
struct TStatMethod {
    const TStatClassInfo* StatClass = nullptr;
    std::int32_t StatType = 0;
    bool Favorite = true;
    std::string UserCaption;
    std::string Formula; // shredding formula of the type (group 12 only)
};

class TStatList {
public:
    explicit TStatList(const TStatClassTable& classes = StandardStatClasses());
    TStatList(const TDrawsArray& draws, const TConfigData& config,
              const TStatClassTable& classes = StandardStatClasses());
    TStatList(const TStatList&) = delete;
    TStatList& operator=(const TStatList&) = delete;

    // The archive every created statistic refers to (not a copy).
    void SetDraws(const TDrawsArray& draws) { draws_ = &draws; }
    const TDrawsArray& Draws() const { return *draws_; }
    const TStatClassTable& Classes() const { return *classes_; }

    // Lottery parameters; typed ranges follow them at the next Build.
    TConfigData Config;
    TGenerateParams Generate;
    TShreddingFormulas Shredding;

    bool Ordered = false;
    bool ShowGroupName = true;
    bool ShowMethodFlags = true;
    bool AllFavorites = true;

    // Recreates every method from the class table (one per type for typed classes).
    void Build();

    int Count() const { return static_cast<int>(items_.size()); }
    const TStatMethod& Items(int index) const { return items_.at(static_cast<std::size_t>(index)); }
    TStatMethod& Items(int index) { return items_.at(static_cast<std::size_t>(index)); }
    const std::vector<TStatMethod>& Methods() const { return items_; }
    bool IsFavorite(int index) const { return AllFavorites || Items(index).Favorite; }

    // Index of the method whose code equals `code` ignoring case; -1 when none.
    int IndexOfCode(std::string_view code) const;
    int IndexOf(const TStatMethod* method) const;

    std::string MethodCode(const TStatMethod& method) const;
    std::string MethodCaption(const TStatMethod& method) const;
    std::string MethodTitle(const TStatMethod& method) const;
    // "{ tag } title [ SNDPG ]" as the options say.
    std::string DisplayName(int index, bool withFlags) const;

    // A new statistic of the method; the caller owns it.
    std::unique_ptr<TCustomStat> CreateStat(int index) const;
    std::unique_ptr<TCustomStat> CreateStat(const TStatMethod& method) const;
    // The statistic of a list's selected method; none selected throws
    // "Не выбран метод расчета статистики (cb: <listName>)!".
    std::unique_ptr<TCustomStat> CreateStatFromCombo(const TStatMethod* selected,
                                                     std::string_view listName) const;

    // Indices of the methods a method list shows: available, listed, favourite (and graph
    // when graphOnly), alphabetical by DisplayName when Ordered.
    std::vector<int> ListedMethods(bool graphOnly) const;

    void SelectAll();
    void NormalizeFavorites();
    std::string GetFavoritesText() const;
    void SetFavoritesText(std::string_view text);

    // The names file (".flt"). On failure they return false and put the program's message
    // ("Ошибка загрузки списка фильтров!\r\r<error>") into *error for the caller to show.
    bool LoadNames(const std::filesystem::path& file, bool withOptions, std::string* error = nullptr,
                   std::string_view language = "RUS");
    bool SaveNames(const std::filesystem::path& file, bool withOptions, bool writeAll,
                   std::string* error = nullptr, std::string_view language = "RUS") const;

    // The weight coefficients: save, restore, or take a filter's own (when overriding) or
    // the saved ones.
    void BackupCDL() { cdlBackup_ = Config.CDL; }
    void RestoreCDL() { Config.CDL = cdlBackup_; }
    void ApplyCDL(bool cdlOverride, const TCDLData& cdl) { Config.CDL = cdlOverride ? cdl : cdlBackup_; }
    const TCDLData& CDLBackup() const { return cdlBackup_; }

private:
    const TStatClassTable* classes_;
    const TDrawsArray* draws_;
    std::vector<TStatMethod> items_;
    TCDLData cdlBackup_;
};

} // namespace pelko
