#include "core/text_forms.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace pelko {
namespace {

using Words = std::vector<std::string>;

TEST(TextFormsTest, SplitWordsMergesSeparatorRuns) {
    EXPECT_EQ(SplitWords(";;1;;2;", ";"), (Words{"1", "2"}));
    EXPECT_EQ(SplitWords("a b\t,c", " \t,"), (Words{"a", "b", "c"}));
    EXPECT_EQ(SplitWords("abc", ";"), (Words{"abc"}));
    EXPECT_TRUE(SplitWords("", ";").empty());
    EXPECT_TRUE(SplitWords(";;;", ";").empty());
}

TEST(TextFormsTest, IntegersAreStrictDecimal) {
    struct Case {
        const char* text;
        int expected; // -999 when the text must be rejected
    };
    const Case cases[] = {
        {"42", 42},
        {" 42\t", 42},
        {"+7", 7},
        {"-0", 0},
        {"-15", -15},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"2147483648", -999},
        {"-2147483649", -999},
        {"99999999999999999999", -999},
        {"", -999},
        {"  ", -999},
        {"-", -999},
        {"+", -999},
        {"12a", -999},
        {"1 2", -999},
        {"0x10", -999},
        {"--1", -999},
        {"1.0", -999},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StrToIntDef(c.text, -999), c.expected) << '"' << c.text << '"';
        int value = 123;
        EXPECT_EQ(TryStrToInt(c.text, value), c.expected != -999) << '"' << c.text << '"';
        if (c.expected == -999) {
            EXPECT_EQ(value, 123) << "failure must leave the value alone";
        }
    }
}

TEST(TextFormsTest, FloatsAcceptDotAndComma) {
    struct Good {
        const char* text;
        double expected;
    };
    const Good good[] = {{"1.5", 1.5}, {"1,5", 1.5},  {" -0,25 ", -0.25},
                         {"+2", 2.0},  {"1e3", 1000}, {"2.5E-1", 0.25},
                         {".5", 0.5},  {"5.", 5.0},   {"0", 0.0}};
    for (const Good& g : good) {
        double value = -1;
        EXPECT_TRUE(TryStrToFloat(g.text, value)) << g.text;
        EXPECT_DOUBLE_EQ(value, g.expected) << g.text;
    }
    for (const char* bad : {"", ".", "1.2.3", "1,5,6", "abc", "inf", "nan", "1e", "1e400", "--1",
                            "1 .5", "1.5x", "0x1p3"}) {
        double value = 7;
        EXPECT_FALSE(TryStrToFloat(bad, value)) << bad;
        EXPECT_EQ(value, 7) << bad;
    }
}

TEST(TextFormsTest, CombinationTextForms) {
    const TComb comb{{3, 11, 17, 28, 40, 45}};
    EXPECT_EQ(CombToText(comb), "3;11;17;28;40;45");
    EXPECT_EQ(CombToClipboardText(comb), "03 11 17 28 40 45");
    EXPECT_EQ(CombToClipboardText(TComb{{1, 2, 3, 4, 5, 45}}), "01 02 03 04 05 45");

    EXPECT_EQ(TextToComb(CombToClipboardText(comb)), comb);
    EXPECT_EQ(TextToComb(CombToText(comb)), comb);
    EXPECT_EQ(TextToComb("1.2.3.4.5.6"), (TComb{{1, 2, 3, 4, 5, 6}}));
    EXPECT_EQ(TextToComb("  6\t5 4,,3-2|1:  "), (TComb{{6, 5, 4, 3, 2, 1}}));
    EXPECT_EQ(TextToComb("a 2 3 4 5 6"), (TComb{{0, 2, 3, 4, 5, 6}})); // not an error
}

TEST(TextFormsTest, TextToCombNeedsExactlySixWords) {
    for (const char* text : {"1 2 3 4 5", "1 2 3 4 5 6 7", "", ";;;"}) {
        try {
            TextToComb(text);
            ADD_FAILURE() << "accepted \"" << text << '"';
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(std::string(e.what()),
                      std::string("Некорректная комбинация: \"") + text + "\"!");
        }
    }
}

TEST(TextFormsTest, DrawText) {
    TDrawData draw;
    draw.Number = 123;
    const std::uint8_t nums[] = {40, 3, 45, 11, 28, 17};
    std::copy(std::begin(nums), std::end(nums), draw.Nums);
    draw.SetDateText("05.03.2024 21:00");
    EXPECT_EQ(DrawText(draw), "Тираж № 123 от 05.03.2024 21:00, значения: 40;3;45;11;28;17");
}

TEST(TextFormsTest, ListsToText) {
    TNumberSet set;
    set.Count = 3;
    set.Members[0] = 5;
    set.Members[1] = 1;
    set.Members[2] = 9;
    set.Members[3] = 7; // beyond the count
    EXPECT_EQ(NumberSetToText(set, ", "), "5, 1, 9");
    set.Count = -1;
    EXPECT_EQ(NumberSetToText(set, ", "), "");

    EXPECT_EQ(IntArrayToText({}, ";"), "");
    EXPECT_EQ(IntArrayToText({-3, 0, 12}, ";"), "-3;0;12");
}

TEST(TextFormsTest, NumberLists) {
    TIntArray values{99};
    EXPECT_TRUE(ParseNumberList("1, 2, 3", values));
    EXPECT_EQ(values, (TIntArray{1, 2, 3}));
    EXPECT_TRUE(ParseNumberList(" 3;1,,2 ", values));
    EXPECT_EQ(values, (TIntArray{3, 1, 2}));
    EXPECT_TRUE(ParseNumberList("-5", values));
    EXPECT_EQ(values, (TIntArray{-5}));

    for (const char* bad : {"", ",;", "1, x", "1-10;2", "1 2"}) {
        values = {99};
        EXPECT_FALSE(ParseNumberList(bad, values)) << bad;
        EXPECT_TRUE(values.empty()) << bad;
    }
}

TEST(TextFormsTest, Ranges) {
    struct Case {
        const char* text;
        TIntArray expected;
    };
    const Case cases[] = {
        {"1-10;2", {1, 3, 5, 7, 9}},
        {"10-1;-3", {10, 7, 4, 1}},
        {"-5-5;5", {-5, 0, 5}},
        {"-10--1;3", {-10, -7, -4, -1}},
        {"1-10,3", {1, 4, 7, 10}},
        {" 2 - 4 ; 1 ", {2, 3, 4}},
        {"5-5;1", {5}},
        {"1-2;5", {1}},
        {"1-10", {}},
        {"1-10;", {}},
        {"abc", {}},
        {"5", {}},
        {"1-10;0", {}},
        {"10-1;3", {}},
        {"1-10;-2", {}},
        {"1-x;2", {}},
        {"0-2000000000;1", {}}, // far too many values
        {"-2147483648-2147483647;2147483647", {-2147483647 - 1, -1, 2147483646}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseRange(c.text), c.expected) << c.text;
}

TEST(TextFormsTest, NumbersTryListThenRange) {
    EXPECT_TRUE(ParseNumbers("").empty());
    EXPECT_TRUE(ParseNumbers("   ").empty());
    EXPECT_EQ(ParseNumbers("5"), (TIntArray{5}));
    EXPECT_EQ(ParseNumbers("1, 2, 3"), (TIntArray{1, 2, 3}));
    EXPECT_EQ(ParseNumbers("1;2;3"), (TIntArray{1, 2, 3})); // a list, not a range
    EXPECT_EQ(ParseNumbers("1-10;2"), (TIntArray{1, 3, 5, 7, 9}));
    EXPECT_EQ(ParseNumbers("-5-5;5"), (TIntArray{-5, 0, 5}));
    EXPECT_TRUE(ParseNumbers("1-10").empty());
    EXPECT_TRUE(ParseNumbers("abc").empty());
}

TEST(TextFormsTest, DiffText) {
    EXPECT_EQ(DiffText("10", 7), "+3");
    EXPECT_EQ(DiffText("7", 7), "0");
    EXPECT_EQ(DiffText("4", 7), "-3");
    EXPECT_EQ(DiffText(" 12 ", 2), "+10");
    EXPECT_EQ(DiffText("x", 7), "-");
    EXPECT_EQ(DiffText("", 7), "-");
    EXPECT_EQ(DiffText("-2", 0), "-");
}

} // namespace
} // namespace pelko
