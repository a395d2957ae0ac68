#include "stats/stat_class.h"

#include "core/format.h"
#include "stats/custom_stat.h"
#include "stats/stat_format.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace pelko {

namespace {

struct TGroupText {
    const char* Tag;
    const char* Caption;
};

constexpr TGroupText GROUPS[STAT_GROUPS] = {
    {"num", "Числа тиража"},
    {"sum", "Сумма чисел тиража"},
    {"dif", "Разности между числами тиража"},
    {"grp", "Каналы (группы чисел)"},
    {"mtx", "Матрица тиража"},
    {"sgm", "Сегменты матрицы тиража"},
    {"seq", "Последовательности чисел в одном тираже"},
    {"rep", "Повторяющиеся числа в нескольких тиражах"},
    {"ser", "Серии (цепочки) значений"},
    {"per", "Периоды повторения значений"},
    {"mov", "Переходы (изменения) значений между тиражами"},
    {"sig", "Характеристическое число Сигмы"},
    {"shr", "Методы шинковки"},
};

std::string& HelpFile() {
    static std::string path;
    return path;
}

} // namespace

const char* GroupTag(int group) {
    return group >= 0 && group < STAT_GROUPS ? GROUPS[group].Tag : "";
}

std::string GroupCaption(int group) {
    if (group < 0 || group >= STAT_GROUPS)
        return "#ERROR#";
    return FormatTemplate("{ %1:s } %0:s", {std::string(GROUPS[group].Caption), std::string(GROUPS[group].Tag)});
}

std::string FlagLetters(TStatFlags flags) {
    std::string letters;
    const char* names = "SNDPG";
    for (int bit = 0; bit < 5; ++bit)
        if (flags & (1u << bit))
            letters += names[bit];
    return letters;
}

TTypeRange ChannelTypes(const TConfigData& config) {
    if (config.ChannelSize <= 0)
        return {1, 0};
    return {1, (LOTTO_MAX + config.ChannelSize - 1) / config.ChannelSize};
}

TTypeRange ColumnTypes(const TConfigData& config) {
    return {1, config.MatrixCols};
}

TTypeRange RowTypes(const TConfigData& config) {
    if (config.MatrixCols <= 0)
        return {1, 0};
    return {1, (LOTTO_MAX + config.MatrixCols - 1) / config.MatrixCols};
}

TTypeRange SegmentTypes(const TConfigData& config) {
    const auto [lo, hi] = std::minmax_element(config.Segments.begin(), config.Segments.end());
    return {*lo, *hi};
}

std::string TStatClassInfo::CodeOf(int type) const {
    if (CodeOfFn)
        return CodeOfFn(*this, type);
    return FormatTemplate(Code, type);
}

std::string TStatClassInfo::CaptionOf(int type) const {
    if (CaptionOfFn)
        return CaptionOfFn(*this, type);
    return FormatTemplate(Caption, type);
}

std::string TStatClassInfo::HelpTopicOf(int type) const {
    const std::string& file = StatHelpFile();
    std::error_code ec;
    if (file.empty() || !std::filesystem::exists(file, ec))
        return {};
    return "ms-its:" + file + Format("::/Filters_%.4d_%s.htm", 1049, CodeOf(type).c_str());
}

std::unique_ptr<TCustomStat> TStatClassInfo::New(const TStatList& list, int type) const {
    std::unique_ptr<TCustomStat> stat = Create(list, type);
    stat->AttachClass(*this);
    return stat;
}

void SetStatHelpFile(const std::string& path) {
    HelpFile() = path;
}

const std::string& StatHelpFile() {
    return HelpFile();
}

} // namespace pelko
