#include "scenarios/script_options.h"

#include "core/format.h"
#include "core/text_forms.h"
#include "stats/text_compare.h"

#include <array>
#include <vector>

namespace pelko {

namespace {

struct TOptionTexts {
    const char* Code;
    const char* DialogCaption;
    const char* ListCaption;
};

constexpr std::array<TOptionTexts, START_COMBS_TYPE_COUNT> START_TYPES{{
    {"FULL", "Исходный список (рекомендуется для тестов)", "Исходный список"},
    {"EXCL", "Удалить N последних тиражей (для прогнозов)", "Исключить %d тиражей"},
    {"CURR", "Текущий список (для последовательного выполнения)", "Текущий список"},
}};

constexpr std::array<TOptionTexts, RESULT_COMBS_MODE_COUNT> RESULT_MODES{{
    {"EXT", "Сделать расширенную ставку", "Расширенная"},
    {"RAND", "Выбрать одну случайную комбинацию", "Случайно"},
    {"FIRST", "Выбрать первую комбинацию в списке", "Первая"},
    {"LAST", "Выбрать последнюю комбинацию в списке", "Последняя"},
    {"ALL", "Выбрать все комбинации (не рекомендуется)", "Все"},
    {"SYSA", "Системная игра [вся система]", "Система [все]"},
    {"SYSC", "Системная игра [система * комбинации]", "Система [комб]"},
    {"STOP", "Остановить выполнение сценария", "Остановить"},
    {"SKIP", "Пропустить (игнорировать) эту ставку", "Пропустить"},
    {"NONE", "Не делать ставок (для последовательного выполнения)", "Не делать ставок"},
}};

// The entry of a value with its top bit cleared, or nullptr.
template <std::size_t N>
const TOptionTexts* Lookup(const std::array<TOptionTexts, N>& table, int value) {
    const int index = value & 127;
    return index < static_cast<int>(N) ? &table[static_cast<std::size_t>(index)] : nullptr;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && SameTextAscii(text.substr(0, prefix.size()), prefix);
}

const char* CodeOf(const TOptionTexts* entry) {
    return entry ? entry->Code : "";
}

} // namespace

std::string_view StartTypeCode(TStartCombsType type) {
    return CodeOf(Lookup(START_TYPES, static_cast<int>(type)));
}

std::string_view ResultModeCode(TResultCombsMode mode) {
    return CodeOf(Lookup(RESULT_MODES, static_cast<int>(mode)));
}

std::string StartTypeDialogCaption(int value) {
    const TOptionTexts* entry = Lookup(START_TYPES, value);
    return entry ? entry->DialogCaption : ERROR_CAPTION;
}

std::string StartTypeListCaption(int value, std::int32_t drawsExclude) {
    const TOptionTexts* entry = Lookup(START_TYPES, value);
    if (!entry) return ERROR_CAPTION;
    if ((value & 127) == static_cast<int>(TStartCombsType::Excl))
        return Format(entry->ListCaption, static_cast<int>(drawsExclude));
    return entry->ListCaption;
}

std::string ResultModeDialogCaption(int value) {
    const TOptionTexts* entry = Lookup(RESULT_MODES, value);
    return entry ? entry->DialogCaption : ERROR_CAPTION;
}

std::string ResultModeListCaption(int value) {
    const TOptionTexts* entry = Lookup(RESULT_MODES, value);
    return entry ? entry->ListCaption : ERROR_CAPTION;
}

std::string OptionsToText(const TScriptOptions& options) {
    std::string text = std::string(StartTypeCode(options.StartType)) + ":" +
                       std::to_string(options.DrawsExclude) + "#" +
                       std::string(ResultModeCode(options.ResultMode));
    if (options.ClearStakes) text += "#CLR";
    if (options.NewOnly) text += "#NEX";
    return text;
}

std::string OptionsToShortText(const TScriptOptions& options) {
    std::string text(StartTypeCode(options.StartType));
    if (options.StartType == TStartCombsType::Excl)
        text += ":" + std::to_string(options.DrawsExclude);
    text += "#" + std::string(ResultModeCode(options.ResultMode));
    if (options.NewOnly) text += "#NEX";
    return text;
}

TScriptOptions TextToOptions(std::string_view text) {
    TScriptOptions options;
    const std::vector<std::string> words = SplitWords(text, "#");
    if (words.empty()) return options;

    const std::string_view start = TrimText(words[0]);
    for (int i = 0; i < START_COMBS_TYPE_COUNT; ++i)
        if (StartsWithNoCase(start, START_TYPES[static_cast<std::size_t>(i)].Code)) {
            options.StartType = static_cast<TStartCombsType>(i);
            break;
        }
    const std::vector<std::string> startWords = SplitWords(start, ":");
    int drawsExclude = 0;
    if (startWords.size() >= 2 && TryStrToInt(startWords[1], drawsExclude))
        options.DrawsExclude = drawsExclude;

    if (words.size() >= 2) {
        const std::string_view mode = TrimText(words[1]);
        for (int i = 0; i < RESULT_COMBS_MODE_COUNT; ++i)
            if (SameTextAscii(mode, RESULT_MODES[static_cast<std::size_t>(i)].Code)) {
                options.ResultMode = static_cast<TResultCombsMode>(i);
                break;
            }
    }

    for (std::size_t i = 2; i < words.size(); ++i) {
        const std::string_view flag = TrimText(words[i]);
        if (SameTextAscii(flag, "CLR"))
            options.ClearStakes = true;
        else if (SameTextAscii(flag, "NEX"))
            options.NewOnly = true;
    }
    return options;
}

std::string OptionsCaption(const TScriptOptions& options) {
    std::string caption =
        StartTypeListCaption(static_cast<int>(options.StartType), options.DrawsExclude) + "; " +
        ResultModeListCaption(static_cast<int>(options.ResultMode));
    if (options.ClearStakes) caption += "; Удалить ставки";
    caption += options.NewOnly ? "; Только новые ставки" : "; Все создаваемые ставки";
    return caption;
}

} // namespace pelko
