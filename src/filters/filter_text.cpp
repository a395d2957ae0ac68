#include "filters/filter_text.h"

#include "core/text_forms.h"
#include "stats/stat_list.h"

#include <cctype>
#include <charconv>
#include <cstdlib>

namespace pelko {

namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (prefix.size() > text.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(text[i])) != std::toupper(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

// Word `n` (1-based) of the text split at `separators`, empty when there are fewer words.
std::string WordAt(const std::vector<std::string>& words, std::size_t n) {
    return n >= 1 && n <= words.size() ? words[n - 1] : std::string();
}

std::string SubWord(std::string_view word, std::size_t n) {
    return std::string(TrimText(WordAt(SplitWords(word, ":"), n)));
}

std::string ModeLetters(bool bottomUp, bool multiSelect, bool keepSelected) {
    return {bottomUp ? 'B' : 'T', multiSelect ? 'M' : 'S', keepSelected ? 'F' : 'D'};
}

void ReadModeWord(std::string_view word, TFilterItem& item) {
    item.SortOrder = 1;
    if (word.size() >= 4 && !TryStrToInt(word.substr(3), item.SortOrder))
        item.SortOrder = 1;
    item.BottomUp = word.find('B') != std::string_view::npos;
    item.MultiSelect = word.find('M') != std::string_view::npos;
    item.KeepSelected = word.find('F') != std::string_view::npos;
}

void ReadStatWord(const TStatList& stats, const std::string& word, TFilterItem& item) {
    item.StatText = word;
    if (word.empty())
        return;
    for (const TStatMethod& method : stats.Methods()) {
        if (StartsWithNoCase(word, stats.MethodCode(method))) {
            item.Method = &method;
            item.DrawsLen = SubWord(word, 2);
            return;
        }
    }
}

void ReadLevelWord(const std::string& word, TFilterItem& item) {
    if (word.empty())
        return;
    for (int mode = 0; mode < LEVEL_MODES; ++mode) {
        if (StartsWithNoCase(word, LevelModeCode(mode))) {
            item.LevelMode = static_cast<std::uint8_t>(mode);
            item.LevelValue = SubWord(word, 2);
            return;
        }
    }
}

void ReadStopWord(const std::string& word, TFilterItem& item) {
    if (word.empty())
        return;
    for (int mode = 0; mode < STOP_MODES; ++mode) {
        if (StartsWithNoCase(word, StopModeCode(mode))) {
            item.StopMode = static_cast<std::uint8_t>(mode);
            if (!TryStrToInt(SubWord(word, 2), item.StopValue))
                item.StopValue = 1;
            return;
        }
    }
}

void ReadCoefficientsWord(const std::string& word, TFilterItem& item) {
    if (word.empty())
        return;
    item.CDLOverride = true;
    item.CDL.Count = ReadFilterDecimal(SubWord(word, 1));
    item.CDL.Deviation = ReadFilterDecimal(SubWord(word, 2));
    item.CDL.Level = ReadFilterDecimal(SubWord(word, 3));
    item.CDL.UsePercents = SubWord(word, 4) == "1";
    item.CDL.UseAbsValues = SubWord(word, 5) == "1";
}

std::string CoefficientsText(const TCDLData& cdl) {
    return FilterDecimalText(cdl.Count) + ":" + FilterDecimalText(cdl.Deviation) + ":" +
           FilterDecimalText(cdl.Level) + ":" + (cdl.UsePercents ? "1" : "0") + ":" +
           (cdl.UseAbsValues ? "1" : "0");
}

// The words after the statistic word, common to items and parts.
std::string TailWords(std::uint8_t levelMode, const std::string& levelText, std::uint8_t stopMode,
                      std::int32_t stopValue, bool cdlOverride, const TCDLData& cdl) {
    std::string text = "#";
    text += LevelModeCode(levelMode);
    text += ":" + levelText + "#" + StopModeCode(stopMode) + ":" + std::to_string(stopValue);
    if (cdlOverride)
        text += "#" + CoefficientsText(cdl);
    return text;
}

} // namespace

std::string FilterMethodCode(const TStatMethod* method) {
    return method && method->StatClass ? method->StatClass->CodeOf(method->StatType) : std::string();
}

std::string FilterDecimalText(long double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                      std::chars_format::general, 15);
    std::string text(buffer, result.ptr);
    if (text == "-0")
        text = "0";
    return text;
}

long double ReadFilterDecimal(std::string_view text) {
    std::string cleaned;
    for (char c : text) {
        if (c == '-' || (c >= '0' && c <= '9'))
            cleaned += c;
        else if (c == '.' || c == ',')
            cleaned += '.';
    }
    double value = 0;
    const auto result = std::from_chars(cleaned.data(), cleaned.data() + cleaned.size(), value);
    if (cleaned.empty() || result.ec != std::errc() || result.ptr != cleaned.data() + cleaned.size())
        return 0;
    return value;
}

std::string FilterToText(const TFilterItem& item) {
    if (!item.Active)
        return {};
    std::string text = ModeLetters(item.BottomUp, item.MultiSelect, item.KeepSelected) + std::to_string(item.SortOrder);
    text += "#";
    text += item.Method ? FilterMethodCode(item.Method) + ":" + item.DrawsLen : item.StatText;
    text += TailWords(item.LevelMode, item.LevelValue, item.StopMode, item.StopValue, item.CDLOverride, item.CDL);
    return text;
}

TFilterItem TextToFilter(const TStatList& stats, std::string_view text) {
    TFilterItem item;
    if (text.empty())
        return item;
    item.Active = true;
    const std::vector<std::string> words = SplitWords(text, "#");
    ReadModeWord(WordAt(words, 1), item);
    ReadStatWord(stats, WordAt(words, 2), item);
    ReadLevelWord(WordAt(words, 3), item);
    ReadStopWord(WordAt(words, 4), item);
    ReadCoefficientsWord(WordAt(words, 5), item);
    return item;
}

std::string FilterPartToText(const TFilterPart& part) {
    if (!part.Active)
        return {};
    std::string text = ModeLetters(part.BottomUp, part.MultiSelect, part.KeepSelected);
    text += "#" + FilterMethodCode(part.Method) + ":" + std::to_string(part.DrawsLen);
    text += TailWords(part.LevelMode, part.LevelText, part.StopMode, part.StopValue, part.CDLOverride, part.CDL);
    return text;
}

std::string FilterRecToText(const TFilterRec& rec) {
    std::string text;
    for (const TFilterPart& part : rec) {
        const std::string partText = FilterPartToText(part);
        if (partText.empty())
            continue;
        if (!text.empty())
            text += " + ";
        text += partText;
    }
    return text;
}

} // namespace pelko
