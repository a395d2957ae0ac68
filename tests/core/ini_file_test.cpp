#include "core/ini_file.h"

#include "core/atomic_file.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

namespace pelko {
namespace {

using test::TTempDir;

// A file as another program would have left it: CP1251 bytes, CRLF lines.
TIniFile IniWith(const TTempDir& dir, const std::string& cp1251Text) {
    const auto path = dir.file("test.ini");
    WriteFileAtomically(path, cp1251Text);
    return TIniFile(path);
}

TEST(IniFile, MissingFileIsEmptyAndSaveCreatesIt) {
    TTempDir dir;
    TIniFile ini(dir.file("new.ini"));
    EXPECT_FALSE(ini.HasSection("GLOBAL"));
    EXPECT_FALSE(ini.HasKey("GLOBAL", "MatrixCols"));
    EXPECT_EQ(ini.ReadString("GLOBAL", "MatrixCols", "dflt"), "dflt");
    EXPECT_TRUE(ini.ReadSections().empty());

    ini.WriteInteger("GLOBAL", "MatrixCols", 7);
    ini.Save();
    EXPECT_EQ(ReadWholeFile(dir.file("new.ini")), "[GLOBAL]\r\nMatrixCols=7\r\n");
}

TEST(IniFile, UnreadableFileThrows) {
    TTempDir dir;
    EXPECT_THROW(TIniFile{dir.path()}, std::runtime_error);
}

TEST(IniFile, NamesAndValuesAreUtf8OutsideAndCp1251InTheFile) {
    TTempDir dir;
    TIniFile ini = IniWith(
        dir, "[\xD0\xE0\xE7\xE4\xE5\xEB]\r\n\xCA\xEB\xFE\xF7=\xC7\xED\xE0\xF7\xE5\xED\xE8\xE5\r\n");
    EXPECT_EQ(ini.ReadString("Раздел", "Ключ"), "Значение");
    EXPECT_EQ(ini.ReadSections(), std::vector<std::string>{"Раздел"});
    EXPECT_EQ(ini.ReadSection("Раздел"), std::vector<std::string>{"Ключ"});

    ini.WriteString("Раздел", "Ключ", "Ёж №1");
    EXPECT_EQ(ini.ToBytes(), "[\xD0\xE0\xE7\xE4\xE5\xEB]\r\n\xCA\xEB\xFE\xF7=\xA8\xE6 \xB9"
                             "1\r\n");
}

TEST(IniFile, FileSavedAsUtf8WithSignatureReadsToo) {
    TTempDir dir;
    TIniFile ini = IniWith(dir, "\xEF\xBB\xBF[A]\r\nName=Тест\r\n");
    EXPECT_EQ(ini.ReadString("A", "Name"), "Тест");
    EXPECT_EQ(ini.ToBytes(), "[A]\r\nName=\xD2\xE5\xF1\xF2\r\n");
}

TEST(IniFile, SectionAndKeyNamesIgnoreCase) {
    TTempDir dir;
    TIniFile ini = IniWith(dir, "[global]\nmatrixcols=7\n");
    EXPECT_EQ(ini.ReadInteger("GLOBAL", "MatrixCols", 5), 7);
    ini.WriteInteger("Global", "MATRIXCOLS", 8);
    EXPECT_EQ(ini.ToBytes(), "[global]\r\nmatrixcols=8\r\n");
}

struct TIntCase {
    const char* text;
    std::int32_t expected;
};

class IniReadInteger : public ::testing::TestWithParam<TIntCase> {};

TEST_P(IniReadInteger, ParsesOrTakesTheDefault) {
    TTempDir dir;
    TIniFile ini(dir.file("x.ini"));
    ini.WriteString("S", "K", GetParam().text);
    EXPECT_EQ(ini.ReadInteger("S", "K", -77), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, IniReadInteger,
    ::testing::Values(TIntCase{"12", 12}, TIntCase{" -5 ", -5}, TIntCase{"+7", 7},
                      TIntCase{"$1F", 31}, TIntCase{"0x10", 16}, TIntCase{"-2147483648", INT32_MIN},
                      TIntCase{"2147483647", INT32_MAX}, TIntCase{"2147483648", -77},
                      TIntCase{"99999999999999999999", -77}, TIntCase{"12abc", -77},
                      TIntCase{"1.5", -77}, TIntCase{"", -77}, TIntCase{"--1", -77},
                      TIntCase{"+-1", -77}, TIntCase{"$", -77}, TIntCase{"abc", -77}));

struct TFloatCase {
    const char* text;
    double expected;
};

class IniReadFloat : public ::testing::TestWithParam<TFloatCase> {};

TEST_P(IniReadFloat, AcceptsPointOrCommaOrTakesTheDefault) {
    TTempDir dir;
    TIniFile ini(dir.file("x.ini"));
    ini.WriteString("S", "K", GetParam().text);
    EXPECT_EQ(ini.ReadFloat("S", "K", -77.0), GetParam().expected) << GetParam().text;
    EXPECT_EQ(ini.ReadExtended("S", "K", -77.0L), static_cast<long double>(GetParam().expected))
        << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Texts, IniReadFloat,
                         ::testing::Values(TFloatCase{"12.5", 12.5}, TFloatCase{"12,5", 12.5},
                                           TFloatCase{"-0.25", -0.25}, TFloatCase{"+1.5", 1.5},
                                           TFloatCase{"3", 3.0}, TFloatCase{"1e3", 1000.0},
                                           TFloatCase{"1,5E2", 150.0}, TFloatCase{"", -77.0},
                                           TFloatCase{"abc", -77.0}, TFloatCase{"1.2.3", -77.0},
                                           TFloatCase{"1,234.5", -77.0}, TFloatCase{"12.5x", -77.0},
                                           TFloatCase{"nan", -77.0}, TFloatCase{"inf", -77.0},
                                           TFloatCase{"1e99999", -77.0}));

TEST(IniFile, FloatsAreWrittenShortWithAPoint) {
    const std::vector<std::pair<double, std::string>> cases = {
        {12.5, "12.5"},           {0.0, "0"},         {-0.0, "0"},     {0.1, "0.1"}, {-3.0, "-3"},
        {1234.5678, "1234.5678"}, {0.0001, "0.0001"}, {1e6, "1000000"}};
    for (const auto& [value, text] : cases)
        EXPECT_EQ(FloatToText(value), text) << value;
    EXPECT_EQ(ExtendedToText(0.1L), "0.1");
}

TEST(IniFile, FloatsRoundTripExactly) {
    TTempDir dir;
    TIniFile ini(dir.file("x.ini"));
    const double values[] = {
        1.0 / 3.0,         -2.0 / 7.0, 1e-7,
        123456789.123,     1e300,      std::numeric_limits<double>::denorm_min(),
        9007199254740993.0};
    for (const double v : values) {
        ini.WriteFloat("S", "K", v);
        EXPECT_EQ(ini.ReadFloat("S", "K", 0.0), v) << ini.ReadString("S", "K");
    }
    const long double extended[] = {1.0L / 3.0L, 0.1L, -1.0L, 1e-4000L};
    for (const long double v : extended) {
        ini.WriteExtended("S", "K", v);
        EXPECT_EQ(ini.ReadExtended("S", "K", 0.0L), v) << ini.ReadString("S", "K");
    }
}

TEST(IniFile, NumbersIgnoreTheLocale) {
    const char* previous = std::setlocale(LC_ALL, nullptr);
    const std::string saved = previous ? previous : "C";
    if (!std::setlocale(LC_ALL, "ru_RU.UTF-8") && !std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "no locale with a decimal comma installed";
    TTempDir dir;
    TIniFile ini(dir.file("x.ini"));
    ini.WriteFloat("S", "K", 12.5);
    const std::string written = ini.ReadString("S", "K");
    const double read = ini.ReadFloat("S", "K", 0.0);
    std::setlocale(LC_ALL, saved.c_str());
    EXPECT_EQ(written, "12.5");
    EXPECT_EQ(read, 12.5);
}

TEST(IniFile, BoolsAreOneOrZero) {
    TTempDir dir;
    TIniFile ini = IniWith(dir, "[S]\r\nzero=0\r\ntwo=2\r\nword=yes\r\nempty=\r\n");
    EXPECT_FALSE(ini.ReadBool("S", "zero", true));
    EXPECT_TRUE(ini.ReadBool("S", "two", false));
    EXPECT_TRUE(ini.ReadBool("S", "word", true));
    EXPECT_FALSE(ini.ReadBool("S", "word", false));
    EXPECT_TRUE(ini.ReadBool("S", "empty", true));
    EXPECT_TRUE(ini.HasKey("S", "empty"));
    EXPECT_EQ(ini.ReadString("S", "empty", "dflt"), "");
    ini.WriteBool("S", "zero", true);
    ini.WriteBool("S", "two", false);
    EXPECT_EQ(ini.ReadString("S", "zero"), "1");
    EXPECT_EQ(ini.ReadString("S", "two"), "0");
}

TEST(IniFile, SaveKeepsOrderCommentsAndOtherSectionsWithCrLf) {
    TTempDir dir;
    TIniFile ini = IniWith(dir, "; settings\n[A]\nx=1\ny=2\n\n[B]\r\nz=3\r\n");
    ini.WriteString("A", "new", "4");
    ini.WriteString("C", "w", "5");
    ini.Save();

    TIniFile again(dir.file("test.ini"));
    EXPECT_EQ(again.ReadSections(), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(again.ReadSection("A"), (std::vector<std::string>{"x", "y", "new"}));
    EXPECT_EQ(again.ReadString("B", "z"), "3");

    const std::string bytes = ReadWholeFile(dir.file("test.ini"));
    EXPECT_NE(bytes.find("; settings\r\n"), std::string::npos);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << "bare LF at " << i;
        }
    }
    EXPECT_EQ(bytes.find("\r\r"), std::string::npos);
    EXPECT_EQ(again.ToBytes(), bytes); // saving again changes nothing, blank lines do not grow
}

TEST(IniFile, EraseKeyKeepsTheSectionEraseSectionRemovesIt) {
    TTempDir dir;
    TIniFile ini = IniWith(dir, "[A]\r\nx=1\r\n[B]\r\ny=2\r\n");
    ini.EraseKey("a", "X");
    EXPECT_TRUE(ini.HasSection("A"));
    EXPECT_FALSE(ini.HasKey("A", "x"));
    ini.EraseSection("b");
    EXPECT_FALSE(ini.HasSection("B"));
    EXPECT_EQ(ini.ToBytes(), "[A]\r\n");
}

TEST(IniFile, LineBreaksInsideAValueCannotBreakTheFile) {
    TTempDir dir;
    TIniFile ini(dir.file("x.ini"));
    ini.WriteString("S", "K", "one\r\ntwo\n[Evil]");
    ini.Save();
    TIniFile again(dir.file("x.ini"));
    EXPECT_FALSE(again.HasSection("Evil"));
    EXPECT_EQ(again.ReadSection("S"), std::vector<std::string>{"K"});
}

} // namespace
} // namespace pelko
