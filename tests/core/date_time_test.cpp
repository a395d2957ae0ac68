#include "core/date_time.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace pelko {
namespace {

TEST(DateTimeTest, ParsesAndFormatsTheDrawDate) {
    const TDateTime value = ParseDrawDate("05.03.2024 21:00");
    EXPECT_EQ(value, (TDateTime{2024, 3, 5, 21, 0, 0}));
    EXPECT_EQ(FormatDrawDate(value), "05.03.2024 21:00");
    EXPECT_EQ(FormatDrawDate(TDateTime{2024, 1, 2, 3, 4, 59}), "02.01.2024 03:04");
    EXPECT_EQ(ParseDrawDate("  31.12.1999 23:59 "), (TDateTime{1999, 12, 31, 23, 59, 0}));
    EXPECT_EQ(ParseDrawDate("05.03.2024"), (TDateTime{2024, 3, 5, 0, 0, 0}));
}

TEST(DateTimeTest, BlankTextIsNoDate) {
    EXPECT_TRUE(ParseDrawDate("").IsNull());
    EXPECT_TRUE(ParseDrawDate(" \t ").IsNull());
    EXPECT_EQ(FormatDrawDate(TDateTime{}), "");
    EXPECT_FALSE(ParseDrawDate("01.01.2000 00:00").IsNull());
}

TEST(DateTimeTest, LeapDays) {
    EXPECT_NO_THROW(ParseDrawDate("29.02.2024 00:00"));
    EXPECT_NO_THROW(ParseDrawDate("29.02.2000 00:00"));
    EXPECT_THROW(ParseDrawDate("29.02.2023 00:00"), std::runtime_error);
    EXPECT_THROW(ParseDrawDate("29.02.1900 00:00"), std::runtime_error);
}

TEST(DateTimeTest, InvalidFieldsAreRejectedWithTheText) {
    for (const char* text :
         {"00.03.2024 21:00", "05.13.2024 21:00", "05.00.2024 21:00", "31.04.2024 12:00",
          "31.02.2024 12:00", "05.03.2024 24:00", "05.03.2024 23:60", "05.03.0000 10:00",
          "xx.03.2024 10:00", "2024-03-05", "5.3.2024 10:00", "garbage"}) {
        try {
            ParseDrawDate(text);
            ADD_FAILURE() << "accepted \"" << text << '"';
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(std::string(e.what()),
                      std::string("Некорректная дата тиража: \"") + text + "\"!");
        }
    }
}

} // namespace
} // namespace pelko
