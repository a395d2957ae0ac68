#include "stats/stat_list.h"

#include "core/ini_file.h"
#include "stats/stat_format.h"
#include "stats/text_compare.h"

#include <algorithm>
#include <exception>
#include <stdexcept>

namespace pelko {

namespace {

const TDrawsArray& NoDraws() {
    static const TDrawsArray empty;
    return empty;
}

std::string_view TrimBlanks(std::string_view s) {
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    const auto last = s.find_last_not_of(" \t\r\n");
    return s.substr(first, last - first + 1);
}

} // namespace

TStatList::TStatList(const TStatClassTable& classes) : classes_(&classes), draws_(&NoDraws()) {}

TStatList::TStatList(const TDrawsArray& draws, const TConfigData& config, const TStatClassTable& classes)
    : Config(config), classes_(&classes), draws_(&draws), cdlBackup_(config.CDL) {}

void TStatList::Build() {
    items_.clear();
    Ordered = false;
    ShowGroupName = true;
    ShowMethodFlags = true;
    AllFavorites = true;
    for (std::size_t c = 0; c < classes_->size(); ++c) {
        const TStatClassInfo& cls = (*classes_)[c];
        if (!cls.IsAvailable())
            continue;
        TTypeRange range{0, 0};
        if (cls.HasTypes())
            range = cls.GetTypeRange(Config);
        for (int type = range.Min; type <= range.Max; ++type) {
            TStatMethod method;
            method.StatClass = &cls;
            method.StatType = type;
            if (cls.GetGroup() == sgShredding && type >= 1 && type <= SHREDDING_FORMULAS)
                method.Formula = Shredding.Formula[static_cast<std::size_t>(type - 1)];
            items_.push_back(std::move(method));
        }
    }
}

int TStatList::IndexOfCode(std::string_view code) const {
    for (int i = 0; i < Count(); ++i)
        if (SameTextAscii(MethodCode(Items(i)), code))
            return i;
    return -1;
}

int TStatList::IndexOf(const TStatMethod* method) const {
    if (!method || items_.empty() || method < items_.data() || method >= items_.data() + items_.size())
        return -1;
    return static_cast<int>(method - items_.data());
}

std::string TStatList::MethodCode(const TStatMethod& method) const {
    return method.StatClass->CodeOf(method.StatType);
}

std::string TStatList::MethodCaption(const TStatMethod& method) const {
    if (!method.UserCaption.empty())
        return method.UserCaption;
    return method.StatClass->CaptionOf(method.StatType);
}

std::string TStatList::MethodTitle(const TStatMethod& method) const {
    std::string title = MethodCaption(method);
    if (method.StatClass->GetGroup() == sgShredding)
        title = FormatTemplate(title, method.Formula);
    return title;
}

std::string TStatList::DisplayName(int index, bool withFlags) const {
    const TStatMethod& method = Items(index);
    std::string name = MethodTitle(method);
    if (ShowGroupName)
        name = FormatTemplate("{ %1:s } %0:s", {name, std::string(GroupTag(method.StatClass->GetGroup() % 128))});
    if (withFlags && ShowMethodFlags) {
        const std::string letters = FlagLetters(method.StatClass->GetAllFlags());
        if (!letters.empty())
            name = FormatTemplate("%0:s [ %1:s ]", {name, letters});
    }
    return name;
}

std::unique_ptr<TCustomStat> TStatList::CreateStat(int index) const {
    return CreateStat(Items(index));
}

std::unique_ptr<TCustomStat> TStatList::CreateStat(const TStatMethod& method) const {
    return method.StatClass->New(*this, method.StatType);
}

std::unique_ptr<TCustomStat> TStatList::CreateStatFromCombo(const TStatMethod* selected,
                                                            std::string_view listName) const {
    if (!selected)
        throw std::runtime_error(FormatTemplate("Не выбран метод расчета статистики (cb: %s)!", std::string(listName)));
    return CreateStat(*selected);
}

std::vector<int> TStatList::ListedMethods(bool graphOnly) const {
    std::vector<int> listed;
    for (int i = 0; i < Count(); ++i) {
        const TStatClassInfo& cls = *Items(i).StatClass;
        if (cls.IsAvailable() && cls.IsListed() && IsFavorite(i) && (!graphOnly || cls.IsGraph()))
            listed.push_back(i);
    }
    if (Ordered) {
        std::vector<std::pair<std::string, int>> keyed;
        for (int i : listed)
            keyed.emplace_back(FoldCase(DisplayName(i, true)), i);
        std::stable_sort(keyed.begin(), keyed.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (std::size_t k = 0; k < keyed.size(); ++k)
            listed[k] = keyed[k].second;
    }
    return listed;
}

void TStatList::SelectAll() {
    AllFavorites = true;
    for (TStatMethod& m : items_)
        m.Favorite = true;
}

void TStatList::NormalizeFavorites() {
    const bool allSame = std::all_of(items_.begin(), items_.end(), [&](const TStatMethod& m) {
        return m.Favorite == items_.front().Favorite;
    });
    if (!allSame) {
        AllFavorites = false;
        return;
    }
    AllFavorites = true;
    if (!items_.empty() && !items_.front().Favorite)
        for (TStatMethod& m : items_)
            m.Favorite = true;
}

std::string TStatList::GetFavoritesText() const {
    if (AllFavorites)
        return {};
    std::string text;
    for (const TStatMethod& m : items_) {
        if (!m.Favorite)
            continue;
        if (!text.empty())
            text += ',';
        text += MethodCode(m);
    }
    return text;
}

void TStatList::SetFavoritesText(std::string_view text) {
    if (TrimBlanks(text).empty()) {
        SelectAll();
        return;
    }
    AllFavorites = false;
    std::vector<std::string_view> words;
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t comma = text.find(',', start);
        if (comma == std::string_view::npos)
            comma = text.size();
        if (comma > start)
            words.push_back(text.substr(start, comma - start));
        start = comma + 1;
    }
    if (words.empty())
        return;
    for (TStatMethod& m : items_) {
        const std::string code = MethodCode(m);
        m.Favorite = std::any_of(words.begin(), words.end(), [&](std::string_view w) { return SameTextAscii(code, w); });
    }
}

bool TStatList::LoadNames(const std::filesystem::path& file, bool withOptions, std::string* error,
                          std::string_view language) {
    try {
        const TIniFile ini(file);
        if (withOptions) {
            SetFavoritesText(ini.ReadString("FILTERS", "Favorites", GetFavoritesText()));
            Ordered = ini.ReadBool("FILTERS", "Ordered", Ordered);
            ShowGroupName = ini.ReadBool("FILTERS", "ShowGroupName", ShowGroupName);
            ShowMethodFlags = ini.ReadBool("FILTERS", "ShowMethodFlags", ShowMethodFlags);
        }
        const std::string section = "STRINGS_" + std::string(language);
        for (TStatMethod& m : items_)
            m.UserCaption = std::string(TrimBlanks(ini.ReadString(section, MethodCode(m))));
        return true;
    } catch (const std::exception& e) {
        if (error)
            *error = std::string("Ошибка загрузки списка фильтров!\r\r") + e.what();
        return false;
    }
}

bool TStatList::SaveNames(const std::filesystem::path& file, bool withOptions, bool writeAll,
                          std::string* error, std::string_view language) const {
    try {
        TIniFile ini(file);
        if (withOptions) {
            ini.WriteString("FILTERS", "Favorites", GetFavoritesText());
            ini.WriteBool("FILTERS", "Ordered", Ordered);
            ini.WriteBool("FILTERS", "ShowGroupName", ShowGroupName);
            ini.WriteBool("FILTERS", "ShowMethodFlags", ShowMethodFlags);
        }
        const std::string section = "STRINGS_" + std::string(language);
        ini.EraseSection(section);
        for (const TStatMethod& m : items_) {
            if (writeAll)
                ini.WriteString(section, MethodCode(m), MethodCaption(m));
            else if (!m.UserCaption.empty())
                ini.WriteString(section, MethodCode(m), m.UserCaption);
        }
        ini.Save();
        return true;
    } catch (const std::exception& e) {
        if (error)
            *error = std::string("Ошибка сохранения списка фильтров!\r\r") + e.what();
        return false;
    }
}

} // namespace pelko
