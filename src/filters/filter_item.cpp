#include "filters/filter_item.h"

namespace pelko {

namespace {

struct TModeNames {
    const char* Code;
    const char* Caption;
};

const TModeNames LEVEL_MODE_NAMES[LEVEL_MODES] = {
    {"LNO", "Весь список (без условий)"},
    {"LMV", "\"Глубина\": не менее заданного значения"},
    {"LMP", "\"Глубина\": не менее заданного процента"},
    {"LLV", "\"Глубина\": не более заданного значения"},
    {"LLP", "\"Глубина\": не более заданного процента"},
    {"LDV", "\"Глубина\": из заданного списка значений"},
    {"LDP", "\"Глубина\": из заданного списка процентов"},
    {"DMV", "\"Отклонение\": не менее заданного значения"},
    {"DMP", "\"Отклонение\": не менее заданного процента"},
    {"DLV", "\"Отклонение\": не более заданного значения"},
    {"DLP", "\"Отклонение\": не более заданного процента"},
    {"DDV", "\"Отклонение\": из заданного списка значений"},
    {"DDP", "\"Отклонение\": из заданного списка процентов"},
    {"CMV", "\"Количество\": не менее заданного значения"},
    {"CMP", "\"Количество\": не менее заданного процента"},
    {"CLV", "\"Количество\": не более заданного значения"},
    {"CLP", "\"Количество\": не более заданного процента"},
    {"CDV", "\"Количество\": из заданного списка значений"},
    {"CDP", "\"Количество\": из заданного списка процентов"},
    {"WMV", "\"Вес\": не менее заданного значения"},
    {"WLV", "\"Вес\": не более заданного значения"},
    {"WDV", "\"Вес\": из заданного списка значений"},
    {"PIM", "\"Период min\": не менее заданного значения"},
    {"PIL", "\"Период min\": не более заданного значения"},
    {"PIR", "\"Период min\": из заданного списка значений"},
    {"PAM", "\"Период\": не менее заданного значения"},
    {"PAL", "\"Период\": не более заданного значения"},
    {"PAR", "\"Период\": из заданного списка значений"},
    {"PXM", "\"Период max\": не менее заданного значения"},
    {"PXL", "\"Период max\": не более заданного значения"},
    {"PXR", "\"Период max\": из заданного списка значений"},
    {"LVA", "\"Значения\": из заданного списка значений"},
};

const TModeNames STOP_MODE_NAMES[STOP_MODES] = {
    {"SF", "Обработать все записи"},
    {"SC", "Количеству оставшихся комбинаций"},
    {"SE", "Количеству оставшихся чисел для расширенной ставки"},
    {"SZ", "Пока список не будет пуст и откатить на шаг"},
    {"ST", "Количеству шагов"},
    {"SV", "Значению в списке статистики"},
    {"SP", "Процентному соотношению в списке статистики"},
};

template <std::size_t N>
const TModeNames* Lookup(const TModeNames (&table)[N], int mode) {
    const int index = mode & 127;
    return index >= 0 && static_cast<std::size_t>(index) < N ? &table[index] : nullptr;
}

} // namespace

const char* LevelModeCode(int mode) {
    const TModeNames* names = Lookup(LEVEL_MODE_NAMES, mode);
    return names ? names->Code : MODE_CAPTION_ERROR;
}

const char* StopModeCode(int mode) {
    const TModeNames* names = Lookup(STOP_MODE_NAMES, mode);
    return names ? names->Code : MODE_CAPTION_ERROR;
}

const char* LevelModeCaption(int mode) {
    const TModeNames* names = Lookup(LEVEL_MODE_NAMES, mode);
    return names ? names->Caption : MODE_CAPTION_ERROR;
}

const char* StopModeCaption(int mode) {
    const TModeNames* names = Lookup(STOP_MODE_NAMES, mode);
    return names ? names->Caption : MODE_CAPTION_ERROR;
}

} // namespace pelko
