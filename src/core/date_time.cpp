#include "core/date_time.h"

#include "core/format.h"
#include "core/text_forms.h"

#include <ctime>
#include <stdexcept>

namespace pelko {

namespace {

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// The integer at 1-based characters first..last of the text, 0 when it is not a number.
int FieldAt(std::string_view text, std::size_t first, std::size_t last) {
    if (text.size() < first) return 0;
    return StrToIntDef(text.substr(first - 1, last - first + 1), 0);
}

} // namespace

int DaysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool TDateTime::IsValid() const {
    return Year >= 1 && Year <= 9999 && Month >= 1 && Month <= 12 && Day >= 1 &&
           Day <= DaysInMonth(Year, Month) && Hour >= 0 && Hour <= 23 && Minute >= 0 &&
           Minute <= 59 && Second >= 0 && Second <= 59;
}

std::string FormatDrawDate(const TDateTime& value) {
    if (value.IsNull()) return {};
    return Format("%02d.%02d.%04d %02d:%02d", value.Day, value.Month, value.Year, value.Hour,
                  value.Minute);
}

TDateTime ParseDrawDate(std::string_view text) {
    const std::string_view trimmed = TrimText(text);
    if (trimmed.empty()) return {};
    TDateTime value;
    value.Day = FieldAt(trimmed, 1, 2);
    value.Month = FieldAt(trimmed, 4, 5);
    value.Year = FieldAt(trimmed, 7, 10);
    value.Hour = FieldAt(trimmed, 12, 13);
    value.Minute = FieldAt(trimmed, 15, 16);
    if (!value.IsValid())
        throw std::runtime_error(
            Format("Некорректная дата тиража: \"%s\"!", std::string(text).c_str()));
    return value;
}

TDateTime LocalNow() {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
#ifdef _WIN32
    localtime_s(&tm, &t);
#else
    localtime_r(&t, &tm);
#endif
    TDateTime now;
    now.Year = tm.tm_year + 1900;
    now.Month = tm.tm_mon + 1;
    now.Day = tm.tm_mday;
    now.Hour = tm.tm_hour;
    now.Minute = tm.tm_min;
    now.Second = tm.tm_sec;
    return now;
}

} // namespace pelko
