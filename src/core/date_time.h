#pragma once
// A civil date and time of day as the draw dates carry it, and its "dd.mm.yyyy hh:nn"
// text. The all-zero value is the null date: a draw whose date is unknown.

#include <compare>
#include <string>
#include <string_view>

namespace pelko {

struct TDateTime {
    int Year = 0;
    int Month = 0;
    int Day = 0;
    int Hour = 0;
    int Minute = 0;
    int Second = 0;

    bool IsNull() const { return *this == TDateTime{}; }
    // A real calendar date (years 1..9999) and a time of day 00:00:00..23:59:59.
    bool IsValid() const;

    // Field order makes the default comparison chronological.
    friend auto operator<=>(const TDateTime&, const TDateTime&) = default;
};

int DaysInMonth(int year, int month);

// The computer's local date and time, to the second.
TDateTime LocalNow();

// "dd.mm.yyyy hh:nn", or "" for the null date.
std::string FormatDrawDate(const TDateTime& value);
// Reads the fields at their places in "dd.mm.yyyy hh:nn" (a field that is not a number
// reads as 0; a missing time reads as 00:00). A blank text gives the null date; fields
// that are not a valid date and time throw std::runtime_error
// "Некорректная дата тиража: \"<text>\"!".
TDateTime ParseDrawDate(std::string_view text);

} // namespace pelko
