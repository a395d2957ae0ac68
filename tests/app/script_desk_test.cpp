#include "app/script_desk.h"
#include "app/workspace.h"
#include "core/atomic_file.h"
#include "scenarios/script_file.h"
#include "stats/stat_list.h"
#include "support/temp_dir.h"
#include "support/test_host.h"

#include <gtest/gtest.h>

namespace pelko {
namespace {

using Lines = std::vector<std::string>;

class ScriptDesk : public ::testing::Test {
  protected:
    test::TTempDir dir;
    test::TTestHost host;
    Workspace ws{host, dir.path()};
    TScriptDesk& desk = ws.Script();
    int viewRefreshes = 0;

    void SetUp() override {
        desk.OnScriptChanged = [this] { ++viewRefreshes; };
    }
    Lines WorkingFileLines() { return ReadScriptFile(desk.WorkingFile()); }
    void ExpectMirrored() {
        EXPECT_EQ(WorkingFileLines(), desk.Lines().Lines());
        EXPECT_TRUE(ws.IsIdle());
        EXPECT_TRUE(host.statuses.empty() || host.statuses.back().empty());
    }
};

TEST_F(ScriptDesk, TheWorkingFileMirrorsEveryChange) {
    EXPECT_EQ(desk.AddScriptLine("FULL:0#EXT|A| | | | | | |"), 0u);
    ExpectMirrored();
    EXPECT_EQ(desk.AddScriptLine(""), 1u);
    EXPECT_EQ(desk.AddScriptLine("FULL:0#RAND|B| | | | | | |"), 2u);
    ExpectMirrored();
    EXPECT_TRUE(desk.SetScriptLine(0, "EXCL:3#EXT|C| | | | | | |"));
    ExpectMirrored();
    EXPECT_TRUE(desk.MoveScriptUp(2));
    EXPECT_EQ(desk.Lines().Lines(),
              (Lines{"EXCL:3#EXT|C| | | | | | |", "FULL:0#RAND|B| | | | | | |", ""}));
    ExpectMirrored();
    EXPECT_FALSE(desk.MoveScriptDown(2));
    EXPECT_TRUE(desk.MoveScriptDown(0));
    ExpectMirrored();
    EXPECT_TRUE(desk.DeleteScriptRows({2}));
    EXPECT_EQ(desk.Lines().Lines(),
              (Lines{"FULL:0#RAND|B| | | | | | |", "EXCL:3#EXT|C| | | | | | |"}));
    ExpectMirrored();
    EXPECT_TRUE(desk.ClearScript());
    EXPECT_EQ(ReadWholeFile(desk.WorkingFile()), "");
    EXPECT_EQ(desk.LineCountText(), "Строк: 0");
    EXPECT_GE(viewRefreshes, 8);
    EXPECT_TRUE(host.Errors().empty());
}

TEST_F(ScriptDesk, LineBreaksInsideALineDoNotSplitItInTheFile) {
    desk.AddScriptLine("FULL:0#EXT|A| | | | | | |two\nlines");
    desk.SetScriptLine(0, desk.GetScriptLine(0) + "\r\nmore");
    ASSERT_EQ(desk.Count(), 1u);
    EXPECT_EQ(desk.GetScriptLine(0), "FULL:0#EXT|A| | | | | | |two lines  more");
    ExpectMirrored();
}

TEST_F(ScriptDesk, AStartedWorkspaceLoadsTheWorkingScenario) {
    WriteScriptFile(desk.WorkingFile(), {"FULL:0#EXT|A| | | | | | |x", "", "b"});
    test::TTestHost otherHost;
    Workspace other{otherHost, dir.path()};
    other.Open(false);
    EXPECT_EQ(other.Script().Lines().Lines(), (Lines{"FULL:0#EXT|A| | | | | | |x", "", "b"}));
    EXPECT_EQ(other.Script().LineCountText(), "Строк: 3");
    EXPECT_EQ(other.Script().GetScriptLine(2), "b");
    EXPECT_THROW(other.Script().GetScriptLine(3), std::runtime_error);
}

TEST_F(ScriptDesk, DeletingAsksFirstAndADeclinedQuestionChangesNothing) {
    for (const char* line : {"a", "", "b", "c"})
        desk.AddScriptLine(line);
    host.answers = {false};
    EXPECT_FALSE(desk.DeleteScriptRows({0, 1, 1}));
    ASSERT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(host.questions[0],
              "Удалить все выделенные записи (всего будет удалено 2 записи(ей))?");
    EXPECT_EQ(desk.Count(), 4u);
    EXPECT_TRUE(desk.DeleteScriptRows({3}));
    EXPECT_EQ(host.questions[1], "Удалить выделенную запись?");
    EXPECT_EQ(desk.Lines().Lines(), (Lines{"a", "", "b"}));
    EXPECT_TRUE(desk.DeleteScriptRows({1, 0}));
    EXPECT_EQ(desk.Lines().Lines(), (Lines{"b"}));
    ExpectMirrored();
    EXPECT_FALSE(desk.SetScriptLine(4, "x"));
    EXPECT_EQ(host.Errors(), (Lines{"Запись со индексом 4 в файле данных не найдена!"}));
}

TEST_F(ScriptDesk, AFailedReadLeavesTheScenarioAndTheWorkingFileUnchanged) {
    desk.AddScriptLine("a");
    for (const bool append : {false, true}) {
        EXPECT_FALSE(desk.LoadScript(dir.file("missing.lsc"), append));
        EXPECT_FALSE(desk.OpenScript(dir.file("missing.lsc")));
    }
    EXPECT_EQ(desk.Lines().Lines(), (Lines{"a"}));
    ExpectMirrored();
    const Lines errors = host.Errors();
    ASSERT_EQ(errors.size(), 4u);
    EXPECT_EQ(errors[0].rfind("Ошибка чтения файла \"" + dir.file("missing.lsc").string() +
                                  "\"!\n\nSysError #2: ",
                              0),
              0u)
        << errors[0];
}

TEST_F(ScriptDesk, OpeningAndAppendingFilesFollowTheSeparatorRule) {
    WriteFileAtomically(dir.file("one.lsc"), "x\r\ny");
    WriteFileAtomically(dir.file("empty.lsc"), "");
    EXPECT_TRUE(desk.AppendScript(dir.file("one.lsc")));
    EXPECT_EQ(desk.Lines().Lines(), (Lines{"x", "y"}));
    EXPECT_TRUE(desk.AppendScript(dir.file("empty.lsc")));
    EXPECT_EQ(desk.Lines().Lines(), (Lines{"x", "y"}));
    EXPECT_TRUE(desk.AppendScript(dir.file("one.lsc")));
    EXPECT_EQ(desk.Lines().Lines(), (Lines{"x", "y", "", "x", "y"}));
    ExpectMirrored();
    EXPECT_TRUE(desk.OpenScript(dir.file("one.lsc")));
    EXPECT_EQ(desk.Lines().Lines(), (Lines{"x", "y"}));
    ExpectMirrored();
    EXPECT_TRUE(desk.SaveScript(dir.file("saved.lsc")));
    EXPECT_EQ(ReadWholeFile(dir.file("saved.lsc")), "x\r\ny\r\n");
}

TEST_F(ScriptDesk, AWriteFailureShowsTheFileAndTheReason) {
    EXPECT_FALSE(desk.SaveScript(dir.file("no/such.lsc")));
    const Lines errors = host.Errors();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].rfind("Ошибка записи в файл \"" + dir.file("no/such.lsc").string() +
                                  "\"!\n\nSysError #",
                              0),
              0u)
        << errors[0];
    EXPECT_TRUE(ws.IsIdle());
}

TEST_F(ScriptDesk, RunLogIsWrittenOnlyWhenEnabledAndForwardedToTheHost) {
    desk.SetLogClock([] { return TDateTime{2024, 3, 5, 19, 40, 7}; });
    desk.StartScriptLog();
    desk.ScriptLog("off");
    EXPECT_EQ(desk.EndScriptLog(), std::nullopt);
    EXPECT_TRUE(FindScriptLogs(dir.path()).empty());
    EXPECT_TRUE(host.log.empty());

    desk.ScriptLogEnabled = true;
    desk.StartScriptLog();
    desk.ScriptLog("### ЗАПУСК СЦЕНАРИЯ");
    desk.ScriptLog("");
    const auto file = desk.EndScriptLog();
    ASSERT_TRUE(file.has_value());
    EXPECT_EQ(file->filename(), "ScriptLog_2024-03-05-19-40-07.txt");
    EXPECT_EQ(ReadWholeFile(*file),
              "[2024-03-05 19:40:07]: ### \xC7\xC0\xCF\xD3\xD1\xCA "
              "\xD1\xD6\xC5\xCD\xC0\xD0\xC8\xDF\r\n[2024-03-05 19:40:07]: \r\n");
    EXPECT_EQ(host.log, (Lines{"### ЗАПУСК СЦЕНАРИЯ", ""}));
    EXPECT_EQ(desk.EndScriptLog(), std::nullopt);
}

TEST_F(ScriptDesk, AFailedLogWriteShowsItsBoxAndTheNextMessageTriesAgain) {
    desk.SetLogClock([] { return TDateTime{2024, 3, 5, 19, 40, 7}; });
    desk.ScriptLogEnabled = true;
    desk.StartScriptLog();
    const auto path = dir.file("ScriptLog_2024-03-05-19-40-07.txt");
    std::filesystem::create_directory(path); // a folder in the file's place
    desk.ScriptLog("a");
    desk.ScriptLog("b");
    const Lines errors = host.Errors();
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[0].rfind("Ошибка записи журнала: SysError #21: ", 0), 0u) << errors[0];
    EXPECT_EQ(errors[0].back(), '!');
    std::filesystem::remove(path);
    desk.ScriptLog("c");
    EXPECT_EQ(host.Errors().size(), 2u);
    EXPECT_EQ(ReadWholeFile(path), "[2024-03-05 19:40:07]: c\r\n");
}

TEST_F(ScriptDesk, DeletingLogsReportsNoneOrASummary) {
    EXPECT_FALSE(desk.DeleteScriptLogs());
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].kind, TBoxKind::Info);
    EXPECT_EQ(host.boxes[0].text, "Файлы журналов не найдены!");

    WriteFileAtomically(dir.file("ScriptLog_2024-01-01-00-00-00.txt"), "x");
    WriteFileAtomically(dir.file("ScriptLog_2024-01-01-00-00-01.txt"), "x");
    WriteFileAtomically(dir.file("Pelko_6x45-3.log"), "x");
    EXPECT_TRUE(desk.DeleteScriptLogs());
    ASSERT_EQ(host.boxes.size(), 2u);
    EXPECT_EQ(host.boxes[1].kind, TBoxKind::Info);
    EXPECT_EQ(host.boxes[1].text,
              "Удаление файлов журналов сценариев\n\nВсего - 2, обработано - 2, пропущено - 0, "
              "предупреждений - 0, ошибок - 0.");
    EXPECT_TRUE(std::filesystem::exists(dir.file("Pelko_6x45-3.log")));
    EXPECT_TRUE(ws.IsIdle());
}

TEST(ScriptRows, ShowTheCommentTheOptionsCaptionAndNormalisedFilters) {
    const TDrawsArray draws;
    TStatList stats(draws, TConfigData{});
    stats.Build();
    const TScriptRowTexts cells = ScriptRowTexts(
        stats,
        "excl:5#rand#clr| TSD1#NUMS:1000 | |TSD1#QQQQ:100#LMV:5#SF:1| | | | | мой комментарий ");
    const TScriptRowTexts expected{"мой комментарий",
                                   "Исключить 5 тиражей; Случайно; Удалить ставки; "
                                   "Все создаваемые ставки",
                                   "TSD1#NUMS:1000#LNO:#SF:0",
                                   "",
                                   "TSD1#QQQQ:100#LMV:5#SF:1",
                                   "",
                                   "",
                                   "",
                                   ""};
    EXPECT_EQ(cells, expected);
    EXPECT_EQ(ScriptRowTexts(stats, " \t "), TScriptRowTexts{});
    // A line of garbage still gives a row (default options, its words as filters).
    EXPECT_EQ(ScriptRowTexts(stats, "garbage")[1],
              "Исходный список; Расширенная; Все создаваемые ставки");
}

} // namespace
} // namespace pelko
