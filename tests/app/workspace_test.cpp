#include "app/workspace.h"
#include "core/record_helpers.h"
#include "core/sys_io.h"
#include "core/atomic_file.h"
#include "core/draw_archive.h"
#include "stats/prefetch_files.h"
#include "support/temp_dir.h"
#include "support/test_host.h"

#include <gtest/gtest.h>

#include <set>

#include <algorithm>
#include <csignal>
#include <fstream>
#include <sys/resource.h>
#include <tuple>

namespace pelko {
namespace {

TDrawData Draw(int number, int first = 1) {
    TDrawData d;
    d.Number = number;
    for (int i = 0; i < LOTTO_COUNT; ++i)
        d.Nums[i] = static_cast<std::uint8_t>(first + i);
    d.SetDateText("05.03.2024 21:00");
    return d;
}

class WorkspaceDraws : public ::testing::Test {
protected:
    test::TTempDir dir;
    test::TTestHost host;
    Workspace ws{host, dir.path()};
    std::filesystem::path archive = dir.file(DRAWS_FILE_NAME);

    void SetUp() override { ws.Open(false); }

    std::vector<std::int32_t> Numbers() const {
        std::vector<std::int32_t> out;
        for (const auto& d : ws.Draws())
            out.push_back(d.Number);
        return out;
    }
};

TEST_F(WorkspaceDraws, EmptyFolderStartsEmptyWithDefaults) {
    EXPECT_TRUE(ws.Draws().empty());
    EXPECT_EQ(ws.Config().MatrixCols, 5);
    EXPECT_EQ(ws.AnalysisIndex(), -1);
    EXPECT_TRUE(host.Errors().empty());
    EXPECT_TRUE(ws.IsIdle());
}

TEST_F(WorkspaceDraws, EveryChangeIsSavedAtOnce) {
    ws.AddDraw(Draw(1));
    ws.AddDraw(Draw(2, 10));
    ws.ReplaceDraw(0, Draw(1, 20));
    TDrawsArray onDisk;
    ReadDrawsFile(archive, onDisk);
    ASSERT_EQ(onDisk.size(), 2u);
    EXPECT_EQ(onDisk[0].Nums[0], 20);
    EXPECT_FALSE(ws.ReplaceDraw(7, Draw(9)));
}

TEST_F(WorkspaceDraws, DeleteAsksFirstAndSaves) {
    for (int n = 1; n <= 5; ++n)
        ws.AddDraw(Draw(n));
    host.answers = {false};
    EXPECT_FALSE(ws.DeleteDraws({4, 2}));
    EXPECT_EQ(host.questions.back(),
              "Удалить все выделенные записи (всего будет удалено 2 записи(ей))?");
    EXPECT_EQ(Numbers().size(), 5u);

    EXPECT_TRUE(ws.DeleteDraws({4, 2}));
    EXPECT_EQ(Numbers(), (std::vector<std::int32_t>{1, 3, 5}));
    EXPECT_TRUE(ws.DeleteDraws({5}));
    EXPECT_EQ(host.questions.back(), "Удалить выделенную запись?");
    TDrawsArray onDisk;
    ReadDrawsFile(archive, onDisk);
    EXPECT_EQ(onDisk.size(), 2u);
}

TEST_F(WorkspaceDraws, DeletingAnAbsentNumberChangesNothing) {
    for (int n = 1; n <= 3; ++n)
        ws.AddDraw(Draw(n));
    EXPECT_FALSE(ws.DeleteDraws({2, 99}));
    EXPECT_EQ(Numbers(), (std::vector<std::int32_t>{1, 2, 3}));
    ASSERT_EQ(host.Errors().size(), 1u);
    EXPECT_EQ(host.Errors()[0], "Запись со индексом -1 в файле данных не найдена!");
}

TEST_F(WorkspaceDraws, OffsetIsClampedToTheArchive) {
    for (int n = 1; n <= 4; ++n)
        ws.AddDraw(Draw(n));
    int refreshes = 0;
    ws.OnRefreshViews = [&] { ++refreshes; };
    ws.ChangeDrawsOffset(10);
    EXPECT_EQ(ws.DrawsOffset(), 3);
    EXPECT_EQ(ws.AnalysisIndex(), 0);
    ws.ChangeDrawsOffset(3);
    EXPECT_EQ(refreshes, 1); // no change, no refresh
}

TEST_F(WorkspaceDraws, ImpossibleDrawsAreLeftOutReportedAndCopiedAside) {
    const std::string damaged = std::string(28 * 3 + 5, '\x07') + EncodeDrawRecord(Draw(4));
    WriteFileAtomically(archive, damaged);
    test::TTestHost host2;
    Workspace ws2(host2, dir.path());
    ws2.Open(false);
    ASSERT_EQ(ws2.Draws().size(), 0u); // the valid record sits after the partial one
    ASSERT_EQ(host2.boxes.size(), 1u);
    EXPECT_NE(host2.boxes[0].text.find("некорректными числами"), std::string::npos);
    EXPECT_EQ(ReadWholeFile(dir.file("Pelko_6x45.ldr.bak")), damaged);
    EXPECT_TRUE(host2.Errors().empty());
}

// A read error while loading: the archive is not saved over until a load succeeds.
TEST_F(WorkspaceDraws, AFailedLoadSavesNothing) {
    for (int n = 1; n <= 5; ++n)
        ws.AddDraw(Draw(n));
    const std::string before = ReadWholeFile(archive);
    if (!FaultInjectionBuilt()) GTEST_SKIP();
    test::TTestHost host2;
    Workspace ws2(host2, dir.path());
    ArmFault({TFaultKind::Read, 1, EIO});
    ws2.LoadDraws();
    DisarmFault();
    EXPECT_TRUE(ws2.DrawsLoadFailed());
    EXPECT_FALSE(ws2.AddDraw(Draw(6)));
    EXPECT_EQ(ws2.ImportDrawsCsv(archive), -1);
    EXPECT_FALSE(ws2.DeleteDraws({1}));
    EXPECT_EQ(ReadWholeFile(archive), before);
    EXPECT_EQ(host2.Errors().back(), DRAWS_NOT_LOADED_MESSAGE);
    ws2.LoadDraws(); // read again, fine now
    EXPECT_TRUE(ws2.AddDraw(Draw(6)));
}

// A full disk during a save: the write fails part way; the archive on disk stays whole.
TEST_F(WorkspaceDraws, FailedSaveLeavesTheOldArchiveIntact) {
    for (int n = 1; n <= 10; ++n)
        ws.AddDraw(Draw(n));
    const std::string before = ReadWholeFile(archive);

    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 300; // less than the 11 records the save needs
    setrlimit(RLIMIT_FSIZE, &small);
    ws.AddDraw(Draw(11));
    setrlimit(RLIMIT_FSIZE, &old);

    ASSERT_EQ(host.Errors().size(), 1u);
    EXPECT_EQ(host.Errors()[0].rfind("Ошибка записи в файл тиражей!\n\n", 0), 0u);
    EXPECT_EQ(ReadWholeFile(archive), before);
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
        EXPECT_EQ(e.path().filename(), DRAWS_FILE_NAME) << "left behind: " << e.path();
}

TEST_F(WorkspaceDraws, CsvImportAndExport) {
    const auto csv = dir.file("in.csv");
    WriteFileAtomically(csv, "1;\"10.11.2008 00:00\";15;17;22;23;25;33\r\n"
                             "2;\"13.11.2008 00:00\";19;23;24;29;44;45\r\n");
    EXPECT_EQ(ws.ImportDrawsCsv(csv), 2);
    EXPECT_EQ(ws.ImportDrawsCsv(csv), 0);
    const auto out = dir.file("out.csv");
    EXPECT_TRUE(ws.ExportDrawsCsv(out));
    EXPECT_EQ(ReadWholeFile(out), ReadWholeFile(csv));

    EXPECT_EQ(ws.ImportDrawsCsv(dir.file("missing.csv")), -1);
    EXPECT_EQ(host.Errors().size(), 1u);
    EXPECT_EQ(ws.Draws().size(), 2u);

    WriteFileAtomically(csv, "3;\"d\";1;2;3;4;5;46\r\n4;\"d\";7;7;8;9;10;11\r\n5;\"d\";1;2;3;4;5;6\r\n");
    EXPECT_EQ(ws.ImportDrawsCsv(csv), 1);
    EXPECT_EQ(host.remarks.back(), RefusedNumbersText(2));
}

TEST(WorkspaceStartup, GeneratesTheListFromTheSavedParameters) {
    test::TTempDir dir;
    SaveGenerateParams(dir.file("Pelko_6x45.ini"), TGenerateParams{2, "1;2;3;4;5;6;7"});
    test::TTestHost host;
    Workspace ws(host, dir.path());
    ws.Open();
    EXPECT_EQ(ws.Combs().List.Count(), 7u);
    EXPECT_GE(ws.Combs().List.Capacity(), static_cast<std::size_t>(COMBS_TOTAL));
    EXPECT_GE(ws.Combs().Undo.Capacity(), static_cast<std::size_t>(COMBS_TOTAL));
    EXPECT_FALSE(ws.Combs().CanUndo());
    EXPECT_TRUE(ws.Combs().History().empty());
    EXPECT_TRUE(ws.IsIdle());
    EXPECT_TRUE(host.Errors().empty());
}

// A change of the parameters a group's prefetch files were made with: those files must not
// survive as they stand, whether the comparison with the full set is on or off.
struct TParameterChange {
    const char* Name;
    TStatGroup Group;
    void (*Apply)(Workspace& ws);
};

class WorkspacePrefetchs : public ::testing::TestWithParam<std::tuple<TParameterChange, bool>> {
protected:
    static constexpr const char* STALE = "stale";
    test::TTempDir dir;
    test::TTestHost host;
    Workspace ws{host, dir.path()};

    // A stale stand-in for every file, so only the files the operation makes cost a pass.
    void SetUp() override {
        ws.Open(false);
        for (const TStatMethod& m : ws.Stats().Methods())
            if (m.StatClass->SupportsCombinations()) {
                const auto file = ws.Prefetch().PrefetchFileName(m);
                std::filesystem::create_directories(file.parent_path());
                std::ofstream(file, std::ios::binary) << STALE; // no sync: seventy files
                before.push_back({file, m.StatClass->GetGroup()});
            }
    }
    std::vector<std::pair<std::filesystem::path, int>> before;
};

TEST_P(WorkspacePrefetchs, FilesOfTheChangedGroupAreRemadeOrDeleted) {
    const auto& [change, comparisonOn] = GetParam();
    ws.PrefetchsEnabled = comparisonOn;
    change.Apply(ws);

    int ofGroup = 0;
    for (const TStatMethod& m : ws.Stats().Methods()) {
        if (!m.StatClass->SupportsCombinations())
            continue;
        const auto file = ws.Prefetch().PrefetchFileName(m);
        if (m.StatClass->GetGroup() != change.Group) {
            EXPECT_EQ(ReadWholeFile(file), STALE) << file << ": another group's file is left alone";
            continue;
        }
        ++ofGroup;
        if (!comparisonOn) {
            EXPECT_FALSE(std::filesystem::exists(file)) << file;
            continue;
        }
        const auto data = PrefetchFromBytes(ReadWholeFile(file));
        ASSERT_TRUE(data.has_value()) << file;
        EXPECT_TRUE(data->HasNorms()) << file;
    }
    EXPECT_GT(ofGroup, 0);
    // Files of the group's methods that the new parameters no longer have are gone too
    // (channel size 15 keeps three of the nine channel methods).
    std::set<std::filesystem::path> current;
    for (const TStatMethod& m : ws.Stats().Methods())
        current.insert(ws.Prefetch().PrefetchFileName(m));
    for (const auto& [file, group] : before) {
        if (group == change.Group && !current.count(file)) {
            EXPECT_FALSE(std::filesystem::exists(file)) << file;
        }
    }
    EXPECT_TRUE(host.Errors().empty());
    EXPECT_TRUE(ws.IsIdle());
    const bool progressShown = std::find(host.statuses.begin(), host.statuses.end(),
                                         "Создание файлов для полного набора комбинаций...") != host.statuses.end();
    EXPECT_EQ(progressShown, comparisonOn);
}

const TParameterChange PARAMETER_CHANGES[] = {
    {"ShreddingFormula", sgShredding,
     [](Workspace& ws) {
         TShreddingFormulas formulas = ws.Shredding();
         formulas.Formula[0] = "n1/7";
         ws.ApplyShredding(formulas);
     }},
    {"ChannelSize", sgChannels,
     [](Workspace& ws) {
         TConfigData config = ws.Config();
         config.ChannelSize = 15; // three channels: few files to remake
         ws.ApplyConfig(config);
     }},
};

INSTANTIATE_TEST_SUITE_P(Workspace, WorkspacePrefetchs,
                         ::testing::Combine(::testing::ValuesIn(PARAMETER_CHANGES), ::testing::Bool()),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).Name) +
                                    (std::get<1>(info.param) ? "_ComparisonOn" : "_ComparisonOff");
                         });

} // namespace
} // namespace pelko
