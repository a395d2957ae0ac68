#include "app/comb_lists.h"
#include "core/record_helpers.h"
#include "core/comb_generation.h"
#include "core/text_forms.h"
#include "support/temp_dir.h"
#include "support/test_host.h"

#include <gtest/gtest.h>

#include <fstream>

namespace pelko {
namespace {

TComb Comb(std::initializer_list<int> nums) {
    TComb c;
    int i = 0;
    for (const int n : nums)
        c[i++] = static_cast<std::uint8_t>(n);
    return c;
}

TDrawData Draw(const TComb& c, int number) {
    TDrawData d;
    d.Number = number;
    std::copy(c.begin(), c.end(), d.Nums);
    d.SetDateText("05.03.2024 21:00");
    return d;
}

std::vector<TComb> Entries(const TCombList& list) {
    return {list.begin(), list.end()};
}

class CombLists : public ::testing::Test {
  protected:
    test::TTempDir dir;
    test::TTestHost host;
    TBusyState busy{host};
    TCombLists lists{host, busy};
    int listChanges = 0;

    void SetUp() override {
        lists.OnListChanged = [this] { ++listChanges; };
        lists.SetBufferFile(dir.file("Pelko_6x45.~buff"));
    }

    // A small list with something to undo behind it.
    void SetList(std::initializer_list<TComb> combs) {
        lists.List.Clear();
        for (const TComb& c : combs)
            lists.List.Append(c);
    }

    void Write(const std::string& name, const std::string& bytes) {
        std::ofstream(dir.file(name), std::ios::binary) << bytes;
    }

    std::vector<std::string> StatusesStartingWith(const std::string& prefix) const {
        std::vector<std::string> out;
        for (const std::string& s : host.statuses)
            if (s.rfind(prefix, 0) == 0) out.push_back(s);
        return out;
    }
};

TEST_F(CombLists, GenerationReplacesTheListAndLeavesNothingToUndo) {
    lists.ReserveAll();
    SetList({Comb({1, 2, 3, 4, 5, 6})});
    lists.AddFilterHistory(false, "NUMS", "1");
    lists.CombsGen(TGenerateParams{GEN_ONLY_MINE, "1,2,3,4,5,6,7"});
    EXPECT_EQ(lists.List.Count(), 7u);
    EXPECT_FALSE(lists.CanUndo());
    EXPECT_TRUE(lists.History().empty());
    EXPECT_GE(listChanges, 1);
    EXPECT_EQ(lists.List.Capacity(), static_cast<std::size_t>(COMBS_TOTAL));
    EXPECT_EQ(host.statuses.front(), "Создание файла отката...");
    EXPECT_EQ(StatusesStartingWith("Генерация").size(), 1u);
    EXPECT_EQ(host.statuses.back(), "");
    EXPECT_EQ(host.busyChanges, (std::vector<bool>{true, false}));
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(CombLists, GenerationFromAMissingFileShowsTheReadError) {
    const auto missing = dir.file("missing.lcv");
    SetList({Comb({1, 2, 3, 4, 5, 6})});
    lists.CombsGen(TGenerateParams{GEN_FROM_FILE, missing.string()});
    ASSERT_EQ(host.Errors().size(), 1u);
    EXPECT_EQ(host.Errors()[0].rfind(
                  "Ошибка чтения файла \"" + missing.string() + "\"!\n\nSysError #2: ", 0),
              0u)
        << host.Errors()[0];
    EXPECT_EQ(lists.List.Count(), 0u);
}

TEST_F(CombLists, ExcludingRecentDrawsWithAnOffsetAndUndoingIt) {
    lists.ReserveAll();
    lists.GenerateCombs(true, TGenerateParams{});
    TDrawsArray draws;
    draws.push_back(Draw(Comb({45, 44, 43, 42, 41, 40}), 1));
    draws.push_back(Draw(Comb({6, 5, 4, 3, 2, 1}), 2)); // the same six numbers as 1..6
    draws.push_back(Draw(Comb({1, 2, 3, 4, 5, 7}), 3));
    draws.push_back(Draw(Comb({1, 2, 3, 4, 5, 8}), 4)); // hidden by the offset
    lists.CombsDelExists(1000, draws, 1);

    EXPECT_EQ(lists.List.Count(), static_cast<std::size_t>(COMBS_TOTAL) - 3);
    EXPECT_FALSE(lists.IsInCombs(Comb({1, 2, 3, 4, 5, 6})));
    EXPECT_FALSE(lists.IsInCombs(Comb({1, 2, 3, 4, 5, 7})));
    EXPECT_FALSE(lists.IsInCombs(Comb({40, 41, 42, 43, 44, 45})));
    EXPECT_TRUE(lists.IsInCombs(Comb({1, 2, 3, 4, 5, 8})));
    EXPECT_FALSE(lists.IsInCombs(Comb({2, 1, 3, 4, 5, 8}))); // same bytes in the same order only
    ASSERT_EQ(lists.History().size(), 1u);
    EXPECT_EQ(lists.History()[0], (TFilterHistoryRow{"Последние тиражи", "1000", lists.List.Count(),
                                                     TFilterKind::Exclude}));
    const auto progress =
        StatusesStartingWith("Удаление из списка комбинаций 1000 последних тиражей ( завершено ");
    EXPECT_EQ(progress.size(), 101u); // after entry 0 and every 1 %
    EXPECT_EQ(progress.back(),
              "Удаление из списка комбинаций 1000 последних тиражей ( завершено 100 % )...");

    ASSERT_TRUE(lists.CanUndo());
    EXPECT_TRUE(lists.CombsUndo());
    EXPECT_EQ(lists.List.Count(), static_cast<std::size_t>(COMBS_TOTAL));
    EXPECT_TRUE(lists.IsInCombs(Comb({1, 2, 3, 4, 5, 6})));
    EXPECT_TRUE(lists.History().empty());
    EXPECT_FALSE(lists.CanUndo());
    EXPECT_FALSE(lists.CombsUndo()); // a second undo is not available
}

TEST_F(CombLists, ExcludingZeroDrawsOrAnEmptyArchiveKeepsTheList) {
    SetList({Comb({1, 2, 3, 4, 5, 6}), Comb({1, 2, 3, 4, 5, 7})});
    const TDrawsArray draws{Draw(Comb({1, 2, 3, 4, 5, 6}), 1)};
    lists.CombsDelExists(0, draws, 0);
    EXPECT_EQ(lists.List.Count(), 2u);
    lists.CombsDelExists(5, TDrawsArray{}, 0);
    EXPECT_EQ(lists.List.Count(), 2u);
    lists.CombsDelExists(5, draws, 3); // the analysis point lies before the archive
    EXPECT_EQ(lists.List.Count(), 2u);
    lists.CombsDelExists(5, draws, 0);
    EXPECT_EQ(Entries(lists.List), std::vector<TComb>{Comb({1, 2, 3, 4, 5, 7})});
}

TEST_F(CombLists, CopyAndPasteRoundTrip) {
    SetList(
        {Comb({1, 2, 3, 4, 5, 6}), Comb({7, 8, 9, 10, 11, 12}), Comb({40, 41, 42, 43, 44, 45})});
    lists.AddFilterHistory(true, "Выделенные комбинации", "1");
    TCombSelection selection;
    selection.Add(2);
    selection.Add(0);
    const std::string text = lists.CopyText(selection);
    EXPECT_EQ(text, "01 02 03 04 05 06\r\n40 41 42 43 44 45\r\n");
    EXPECT_EQ(lists.CopyText(TCombSelection{}), "");

    EXPECT_TRUE(lists.PasteText(text));
    EXPECT_EQ(Entries(lists.List),
              (std::vector<TComb>{Comb({1, 2, 3, 4, 5, 6}), Comb({40, 41, 42, 43, 44, 45})}));
    EXPECT_TRUE(lists.History().empty());
    EXPECT_FALSE(lists.CanUndo());
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(CombLists, BadPasteIsRefusedAsAWholeAndThePreviousListIsBack) {
    const std::vector<TComb> before{Comb({1, 2, 3, 4, 5, 6}), Comb({3, 4, 5, 6, 7, 8})};
    for (const char* text :
         {"01 02 03 04 05 06\r\n\r\n07 08 09 10 11 12\r\n", "01 02 03 04 05 06\r\n1 2 3 4 5\r\n"}) {
        SetList({before[0], before[1]});
        lists.AddFilterHistory(false, "NUMS", "1");
        host.boxes.clear();
        EXPECT_FALSE(lists.PasteText(text));
        EXPECT_EQ(Entries(lists.List), before);
        ASSERT_EQ(host.Errors().size(), 1u);
        EXPECT_EQ(host.Errors()[0].rfind("Некорректная комбинация: \"", 0), 0u);
        EXPECT_FALSE(lists.CanUndo());
        EXPECT_EQ(lists.History().size(), 1u); // the restored list keeps its history
        lists.ClearFilterHistory();
    }
    // No lines at all: nothing happens, not even the undo copy is touched.
    lists.BackupCombs(false);
    EXPECT_FALSE(lists.PasteText(""));
    EXPECT_EQ(Entries(lists.List), before);
    EXPECT_TRUE(lists.CanUndo());
}

TEST_F(CombLists, OpeningFiles) {
    SetList({Comb({1, 2, 3, 4, 5, 6})});
    lists.AddFilterHistory(false, "NUMS", "1");
    Write("one.lcv", "1;2;3;4;5\r\n45;44;43;42;41;40\r\n");
    EXPECT_TRUE(lists.OpenCombsFile(dir.file("one.lcv")));
    EXPECT_EQ(Entries(lists.List), std::vector<TComb>{Comb({45, 44, 43, 42, 41, 40})});
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_FALSE(lists.CanUndo());
    EXPECT_TRUE(lists.History().empty());

    const auto missing = dir.file("missing.lcv");
    EXPECT_FALSE(lists.OpenCombsFile(missing));
    EXPECT_EQ(Entries(lists.List), std::vector<TComb>{Comb({45, 44, 43, 42, 41, 40})});
    ASSERT_EQ(host.Errors().size(), 1u);
    EXPECT_EQ(host.Errors()[0].rfind("Ошибка чтения файла \"" + missing.string() + "\"!\n\n", 0),
              0u);
    EXPECT_FALSE(lists.CanUndo());
    EXPECT_EQ(StatusesStartingWith("Загрузка файла \"").size(), 2u);
    EXPECT_EQ(StatusesStartingWith("Отмена изменений...").size(), 1u);
}

TEST_F(CombLists, OpeningAFileLargerThanTheCapacityGrowsTheList) {
    lists.List.Reserve(4);
    lists.Undo.Reserve(4);
    std::string text;
    for (int i = 0; i < 3000; ++i)
        text += CombToText(Comb({1, 2, 3, 4, 5, 6 + i % 39})) + "\r\n";
    Write("many.lcv", text);
    EXPECT_TRUE(lists.OpenCombsFile(dir.file("many.lcv")));
    EXPECT_EQ(lists.List.Count(), 3000u);
    EXPECT_GE(lists.List.Capacity(), 3000u);
}

TEST_F(CombLists, SaveFailureShowsTheWriteError) {
    SetList({Comb({1, 2, 3, 4, 5, 6})});
    EXPECT_TRUE(lists.SaveCombsFile(dir.file("out.lcv")));
    const auto bad = dir.file("no/such/out.lcv");
    EXPECT_FALSE(lists.SaveCombsFile(bad));
    ASSERT_EQ(host.Errors().size(), 1u);
    EXPECT_EQ(host.Errors()[0].rfind("Ошибка записи в файл \"" + bad.string() + "\"!\n\n", 0), 0u);
    EXPECT_EQ(StatusesStartingWith("Сохранение файла \"").size(), 2u);
}

// Numbers outside 1..45 or twice in a line never reach the list: they are refused,
// counted and reported, from a file and from the clipboard alike.
TEST_F(CombLists, ImpossibleNumbersFromAFileOrTheClipboardAreRefused) {
    Write("odd.lcv", "0;255;46;64;63;1\r\n1;1;1;1;1;1\r\n200;201;202;203;204;205\r\n"
                     "1;2;3;4;5;6\r\n");
    ASSERT_TRUE(lists.OpenCombsFile(dir.file("odd.lcv")));
    EXPECT_EQ(Entries(lists.List), std::vector<TComb>{Comb({1, 2, 3, 4, 5, 6})});
    EXPECT_EQ(host.remarks.back(), RefusedNumbersText(3));
    EXPECT_TRUE(lists.PasteText("01 02 03 04 05 46\r\n40 41 42 43 44 45\r\n"));
    EXPECT_EQ(Entries(lists.List), std::vector<TComb>{Comb({40, 41, 42, 43, 44, 45})});
    EXPECT_EQ(host.remarks.back(), RefusedNumbersText(1));
}

TEST_F(CombLists, DeletingSelectedEntries) {
    SetList({Comb({1, 2, 3, 4, 5, 6}), Comb({1, 2, 3, 4, 5, 7}), Comb({1, 2, 3, 4, 5, 8}),
             Comb({1, 2, 3, 4, 5, 9}), Comb({1, 2, 3, 4, 5, 10})});
    lists.CombsDelSelected(TCombSelection::FromPositions({0, 2, 3, 9}));
    EXPECT_EQ(Entries(lists.List),
              (std::vector<TComb>{Comb({1, 2, 3, 4, 5, 7}), Comb({1, 2, 3, 4, 5, 10})}));
    ASSERT_EQ(lists.History().size(), 1u);
    EXPECT_EQ(lists.History()[0],
              (TFilterHistoryRow{"Выделенные комбинации", "3", 2, TFilterKind::Exclude}));
    EXPECT_EQ(StatusesStartingWith("Удаление выделенных комбинаций...").size(), 1u);
    EXPECT_EQ(lists.FirstSelected(TCombSelection::FromPositions({1, 7})),
              Comb({1, 2, 3, 4, 5, 10}));
    EXPECT_FALSE(lists.FirstSelected(TCombSelection::FromPositions({2})).has_value());

    lists.CombsDelSelected(TCombSelection::All(2));
    EXPECT_EQ(lists.List.Count(), 0u);
    EXPECT_TRUE(lists.CombsUndo());
    EXPECT_EQ(lists.List.Count(), 2u);
}

TEST_F(CombLists, FindInDrawsShowsAtMostTwentySixDraws) {
    TDrawsArray draws;
    for (int i = 1; i <= 30; ++i)
        draws.push_back(Draw(Comb({6, 5, 4, 3, 2, 1}), i));
    const auto hits = lists.FindInDraws(Comb({1, 2, 3, 4, 5, 6}), draws);
    ASSERT_EQ(hits.size(), 26u);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].kind, TBoxKind::Info);
    const std::string& text = host.boxes[0].text;
    EXPECT_EQ(text.rfind("Выделенная комбинация найдена в следующих тиражах:\n\n"
                         "Тираж № 30 от 05.03.2024 21:00, значения: 6;5;4;3;2;1\n",
                         0),
              0u)
        << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 27);

    EXPECT_TRUE(lists.FindInDraws(Comb({1, 2, 3, 4, 5, 7}), draws).empty());
    EXPECT_EQ(host.boxes.back().text, "Выделенная комбинация не найдена архиве тиражей!");
}

TEST_F(CombLists, UniqueNumbersOfTheWholeList) {
    lists.GenerateCombs(false, TGenerateParams{GEN_ONLY_MINE, "3,9,12,17,21,30,44"});
    EXPECT_EQ(lists.CountUniqueNumbers(), 7);
    EXPECT_EQ(host.boxes.back().text,
              "В текущем списке комбинаций содержится 7 уникальных номеров");
    SetList({});
    EXPECT_EQ(lists.CountUniqueNumbers(), 0);
}

TEST_F(CombLists, HistoryRows) {
    int changes = 0;
    lists.OnHistoryChanged = [&] { ++changes; };
    lists.RemoveLastFilterHistory(); // nothing to remove
    SetList({Comb({1, 2, 3, 4, 5, 6})});
    lists.AddFilterHistory(false, "Сумма", "21-30");
    lists.AddUndoHistory();
    ASSERT_EQ(lists.History().size(), 2u);
    EXPECT_EQ(lists.History()[0], (TFilterHistoryRow{"Сумма", "21-30", 1, TFilterKind::Include}));
    EXPECT_EQ(lists.History()[1],
              (TFilterHistoryRow{"Отмена последней операции", "", 1, TFilterKind::Undo}));
    lists.RemoveLastFilterHistory();
    EXPECT_EQ(lists.History().size(), 1u);
    lists.ClearFilterHistory();
    EXPECT_TRUE(lists.History().empty());
    EXPECT_EQ(changes, 4);
}

TEST_F(CombLists, BufferIsWrittenOncePerKeyAndReadBackOnlyForIt) {
    const auto file = lists.BufferFile();
    lists.GenerateCombs(true, TGenerateParams{GEN_ONLY_MINE, "1,2,3,4,5,6,7,8"});
    const std::vector<TComb> buffered = Entries(lists.List);
    EXPECT_FALSE(lists.LoadCombsBuffer(-1, -1)); // the starting key has no file
    lists.SaveCombsBuffer(2, 10);
    EXPECT_EQ(lists.BufferKey(), std::make_pair(2, 10));
    ASSERT_EQ(std::filesystem::file_size(file), 6u * 28);
    EXPECT_EQ(StatusesStartingWith("Создание буфера комбинаций ( завершено ").size(), 28u);

    std::filesystem::remove(file);
    lists.SaveCombsBuffer(2, 10); // same key: not written again
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_FALSE(lists.LoadCombsBuffer(2, 10)); // no file
    lists.SaveCombsBuffer(2, 11);
    ASSERT_TRUE(std::filesystem::exists(file));

    SetList({Comb({9, 9, 9, 9, 9, 9})});
    EXPECT_FALSE(lists.LoadCombsBuffer(2, 10));
    EXPECT_TRUE(lists.LoadCombsBuffer(2, 11));
    EXPECT_EQ(Entries(lists.List), buffered);
    EXPECT_FALSE(lists.CanUndo());

    lists.DropCombsBuffer();
    EXPECT_EQ(lists.BufferKey(), std::make_pair(-1, -1));
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(CombLists, BufferFailuresShowTheirBoxesAndKeepTheList) {
    lists.SetBufferFile(dir.file("no/such/folder.~buff"));
    SetList({Comb({1, 2, 3, 4, 5, 6})});
    lists.SaveCombsBuffer(0, 5);
    ASSERT_EQ(host.Errors().size(), 1u);
    EXPECT_EQ(host.Errors()[0].rfind("Ошибка создания буфера комбинаций!\n\nSysError #2", 0), 0u);
    EXPECT_EQ(lists.BufferKey(), std::make_pair(-1, -1)); // never taken for a written buffer

    // A buffer that cannot be read (a folder in its place) leaves the list as it was.
    const auto file = dir.file("b.~buff");
    lists.SetBufferFile(file);
    lists.SaveCombsBuffer(0, 5);
    ASSERT_TRUE(std::filesystem::remove(file));
    std::filesystem::create_directory(file);
    SetList({Comb({1, 2, 3, 4, 5, 6}), Comb({7, 8, 9, 10, 11, 12})});
    EXPECT_FALSE(lists.LoadCombsBuffer(0, 5));
    ASSERT_EQ(host.Errors().size(), 2u);
    EXPECT_EQ(host.Errors()[1].rfind("Ошибка загрузки буфера комбинаций!\n\n", 0), 0u);
    EXPECT_EQ(Entries(lists.List),
              (std::vector<TComb>{Comb({1, 2, 3, 4, 5, 6}), Comb({7, 8, 9, 10, 11, 12})}));
}

} // namespace
} // namespace pelko
