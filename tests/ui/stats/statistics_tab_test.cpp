// The statistics tab over a workspace on a temporary folder with a small archive: the table
// model, header sorting through the table, keeping and dropping the combinations of the
// selected rows, the cache rule of Enter, the enable rules and the window settings.

#include "app/workspace.h"
#include "core/comb_generation.h"
#include "core/draw_archive.h"
#include "core/format.h"
#include "core/ini_file.h"
#include "stats/prefetch_files.h"
#include "stats/stat_table.h"
#include "ui/common/gui_host.h"
#include "ui/common/operation_progress.h"
#include "ui/stats/stat_chart_view.h"
#include "ui/stats/stat_table_model.h"
#include "ui/stats/statistics_tab.h"
#include "ui/ui_test_support.h"
#include "ui/shell/window_settings.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLineSeries>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>

using namespace pelko;

namespace {

constexpr int DRAWS = 20;

} // namespace

class TestStatisticsTab : public QObject {
    Q_OBJECT

    uitest::TScriptedSeams seams_;
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<TGuiHost> host_;
    std::unique_ptr<Workspace> ws_;
    std::unique_ptr<TStatisticsTab> tab_;

    // A computation starts from fresh rows; the cache keeps the rows and their selection.
    bool KeptRows() const {
        return ws_->StatTable().RowCount() > 0 && ws_->StatTable().IsSelected(0);
    }
    void MarkRows() { ws_->StatTable().SelectRow(0); }
    void SelectMethod(const char* code) {
        const int index = ws_->Stats().IndexOfCode(code);
        QVERIFY(index >= 0);
        const int position = tab_->cbDrawsStatType->findData(index);
        QVERIFY(position >= 0);
        if (tab_->cbDrawsStatType->currentIndex() == position)
            tab_->DrawsStatCalc->trigger(); // already chosen: no change to react to
        else
            tab_->cbDrawsStatType->setCurrentIndex(position);
    }
    int RowOfCaption(const std::string& caption) const {
        const TStatTable& table = ws_->StatTable();
        for (std::size_t i = 0; i < table.RowCount(); ++i)
            if (table.Row(i).Caption == caption) return static_cast<int>(i);
        return -1;
    }
    void ClickHeader(int column) {
        QHeaderView* header = tab_->lvDrawsStat->horizontalHeader();
        const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                        header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    }
    void GenerateMyNumbers(const char* numbers) {
        TGenerateParams params;
        params.Mode = GEN_ONLY_MINE;
        params.Parameters = numbers;
        ws_->Combs().GenerateCombs(true, params);
    }

  private Q_SLOTS:
    void init() {
        seams_.Boxes.clear();
        seams_.OnDialog = nullptr;
        dir_ = std::make_unique<QTemporaryDir>();
        uitest::WriteArchive(uitest::FolderOf(*dir_), uitest::MakeDraws(DRAWS));
        host_ = std::make_unique<TGuiHost>();
        ws_ = std::make_unique<Workspace>(*host_, uitest::FolderOf(*dir_));
        ws_->Open(false);
        tab_ = std::make_unique<TStatisticsTab>(*ws_);
        tab_->resize(900, 600);
        tab_->RefillMethods(false);
    }
    void cleanup() {
        tab_.reset();
        ws_.reset();
        host_.reset();
        dir_.reset();
    }

    void modelPassesTheTesterThroughComputeSortAndClear() {
        QAbstractItemModelTester tester(tab_->Model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        SelectMethod("NUMS");
        QCOMPARE(tab_->Model()->rowCount(), LOTTO_MAX);
        QCOMPARE(tab_->Model()->columnCount(), int(STAT_COLUMNS));
        tab_->Model()->sort(scCount, Qt::DescendingOrder);
        ws_->RebuildMethods(); // clears the table behind the model's back
        QCOMPARE(tab_->Model()->data(tab_->Model()->index(0, 0)), QVariant());
        tab_->RefreshView();
        QCOMPARE(tab_->Model()->rowCount(), LOTTO_MAX);
    }

    void rowsShowTheTableTextsAndTheChartItsCounts() {
        SelectMethod("NUMS");
        const TStatTable& table = ws_->StatTable();
        QCOMPARE(int(table.RowCount()), LOTTO_MAX);
        const QModelIndex count = tab_->Model()->index(3, scCount);
        QCOMPARE(count.data().toString(), QString::fromStdString(table.Row(3).Texts[scCount]));
        QCOMPARE(count.data(TStatTableModel::SortRole).toInt(), table.Row(3).Item.Count);
        QCOMPARE(tab_->Model()->headerData(scNorm, Qt::Horizontal).toString(),
                 QStringLiteral("Норма"));

        // Without the comparison: one series, one point per value in key order.
        QLineSeries* actual = tab_->crtDrawsStat->ActualSeries();
        QVERIFY(actual);
        QCOMPARE(actual->name(), QStringLiteral("Фактические данные"));
        QCOMPARE(actual->count(), LOTTO_MAX);
        QVERIFY(!tab_->crtDrawsStat->TotalSeries());
        double total = 0;
        for (const QPointF& p : actual->points())
            total += p.y();
        QCOMPARE(total, double(DRAWS * LOTTO_COUNT));

        // The comparison columns are hidden while it is off.
        for (int column : {int(scNorm), int(scDeviation), int(scDeviationPercent)})
            QVERIFY(tab_->lvDrawsStat->isColumnHidden(column));
        QVERIFY(!tab_->lvDrawsStat->isColumnHidden(scDepth));
    }

    void headerClicksSortThroughTheTableAndKeepTheSelection() {
        tab_->show();
        QVERIFY(QTest::qWaitForWindowExposed(tab_.get()));
        SelectMethod("NUMS");
        const int five = RowOfCaption("5");
        tab_->lvDrawsStat->selectRow(five);

        ClickHeader(scCount);
        const TStatTable& table = ws_->StatTable();
        QCOMPARE(table.SortColumn(), int(scCount));
        QVERIFY(!table.SortDescending());
        for (std::size_t i = 1; i < table.RowCount(); ++i)
            QVERIFY(table.Row(i - 1).Item.Count <= table.Row(i).Item.Count);
        QCOMPARE(tab_->lvDrawsStat->horizontalHeader()->sortIndicatorSection(), int(scCount));

        ClickHeader(scCount);
        QVERIFY(table.SortDescending());
        QCOMPARE(tab_->lvDrawsStat->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
        QVERIFY(table.Row(0).Item.Count >= table.Row(table.RowCount() - 1).Item.Count);

        // The selected value moved with its row, in the table and in the view.
        const QModelIndexList selected = tab_->lvDrawsStat->selectionModel()->selectedRows();
        QCOMPARE(selected.size(), 1);
        QCOMPARE(selected.first().data().toString(), QStringLiteral("5"));
        QCOMPARE(table.SelectedCaptions(), std::string("5"));

        ClickHeader(scValue); // another column sorts ascending again
        QCOMPARE(table.SortColumn(), int(scValue));
        QVERIFY(!table.SortDescending());
    }

    void keepAndDropSelectedRows_data() {
        QTest::addColumn<bool>("exclude");
        QTest::addColumn<int>("left");
        // Seven numbers give 7 combinations; 6 of them hold the number 5.
        QTest::newRow("keep") << false << 6;
        QTest::newRow("drop") << true << 1;
    }
    void keepAndDropSelectedRows() {
        QFETCH(bool, exclude);
        QFETCH(int, left);
        GenerateMyNumbers("1, 2, 3, 4, 5, 6, 7");
        QCOMPARE(int(ws_->Combs().List.Count()), 7);
        SelectMethod("NUMS");
        QAction* action = exclude ? tab_->StatFilter_Exclude : tab_->StatFilter_Include;
        QVERIFY(!action->isEnabled()); // nothing selected yet

        tab_->lvDrawsStat->selectRow(RowOfCaption("5"));
        QVERIFY(action->isEnabled());
        QSignalSpy changed(tab_.get(), &TStatisticsTab::CombsChanged);
        action->trigger();
        QCOMPARE(changed.count(), 1);
        QCOMPARE(int(ws_->Combs().List.Count()), left);
        QCOMPARE(int(ws_->Combs().Undo.Count()), 7);
        QCOMPARE(int(ws_->Combs().History().size()), 1);
        QCOMPARE(ws_->Combs().History().back().Values, std::string("5"));
        QVERIFY(ws_->IsIdle());
    }

    void keepWithSeveralRowsHoldsAnyOfTheirValues() {
        GenerateMyNumbers("1, 2, 3, 4, 5, 6, 7, 8");
        SelectMethod("NUMS");
        QItemSelection rows;
        for (const char* caption : {"1", "2"}) {
            const int row = RowOfCaption(caption);
            rows.select(tab_->Model()->index(row, 0), tab_->Model()->index(row, STAT_COLUMNS - 1));
        }
        tab_->lvDrawsStat->selectionModel()->select(rows, QItemSelectionModel::ClearAndSelect);
        QCOMPARE(int(ws_->StatTable().SelectedRows().size()), 2);
        tab_->StatFilter_Exclude->trigger();
        // Of the 28 combinations only 3-4-5-6-7-8 holds neither 1 nor 2.
        QCOMPARE(int(ws_->Combs().List.Count()), 1);
    }

    void enterRecomputesOnlyWhenSomethingChanged() {
        SelectMethod("NUMS");
        MarkRows();
        QTest::keyClick(tab_->edDrawsStatLen, Qt::Key_Return);
        QVERIFY(KeptRows());

        tab_->edDrawsStatLen->setValue(10);
        QTest::keyClick(tab_->edDrawsStatLen, Qt::Key_Return);
        QVERIFY(!KeptRows());
        QCOMPARE(ws_->DrawsStatLen, 10);
        QCOMPARE(ws_->StatTable().WindowSize(), 10);

        MarkRows();
        tab_->RefreshView(); // nothing changed: the cache holds
        QVERIFY(KeptRows());
        tab_->DrawsStatCalc->trigger(); // "Обновить" always recomputes
        QVERIFY(!KeptRows());
    }

    void refreshFollowsTheWorkspace() {
        SelectMethod("NUMS");
        // A scenario step sets N and the method in the workspace; the view follows them.
        ws_->DrawsStatLen = 5;
        ws_->StatMethod = ws_->Stats().IndexOfCode("NUMS");
        tab_->RefreshView();
        QCOMPARE(tab_->edDrawsStatLen->value(), 5);
        QCOMPARE(ws_->StatTable().WindowSize(), 5);
    }

    void actionsFollowTheBusyState() {
        GenerateMyNumbers("1, 2, 3, 4, 5, 6, 7");
        SelectMethod("NUMS");
        tab_->lvDrawsStat->selectRow(0);
        tab_->UpdateActions();
        const QList<QAction*> guarded = {tab_->DrawsStatCalc, tab_->StatFilter_Include,
                                         tab_->StatFilter_Exclude, tab_->DrawsStatePrefetchsEnabled,
                                         tab_->DrawsStatExportToExcel};
        for (QAction* action : guarded)
            QVERIFY2(action->isEnabled(), qPrintable(action->objectName()));
        QVERIFY(!tab_->DrawsStatShowTotalLine->isEnabled()); // only with the comparison on

        ws_->Busy().Begin();
        tab_->UpdateActions();
        for (QAction* action : guarded)
            QVERIFY2(!action->isEnabled(), qPrintable(action->objectName()));
        QVERIFY(!tab_->edDrawsStatLen->isEnabled());
        ws_->Busy().End();
        tab_->UpdateActions();
        QVERIFY(tab_->DrawsStatCalc->isEnabled());
    }

    void menuHasTheShortcutsAndCaptions() {
        QCOMPARE(tab_->StatFilter_Include->shortcut(), QKeySequence(Qt::Key_F7));
        QCOMPARE(tab_->StatFilter_Exclude->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F7));
        QCOMPARE(tab_->DrawsStatePrefetchsEnabled->text(),
                 QStringLiteral("Использовать сравнение с полным набором комбинаций"));
        QVERIFY(tab_->MenuActions().contains(tab_->DrawsStatShowTotalLine));
    }

    void methodListFollowsFavouritesAndOrder() {
        TStatList& stats = ws_->Stats();
        stats.SetFavoritesText("POS3,NUMS");
        tab_->RefillMethods(false);
        QCOMPARE(tab_->cbDrawsStatType->count(), 2);
        QCOMPARE(tab_->cbDrawsStatType->itemText(0),
                 QString::fromStdString(stats.DisplayName(stats.IndexOfCode("NUMS"), true)));
        QCOMPARE(ws_->StatMethod, stats.IndexOfCode("NUMS"));

        tab_->cbDrawsStatType->setCurrentIndex(1);
        stats.SelectAll();
        tab_->RefreshView(); // the list changed behind the tab: it refills, keeping the position
        QCOMPARE(tab_->cbDrawsStatType->count(), int(stats.ListedMethods(false).size()));
        QCOMPARE(tab_->cbDrawsStatType->currentIndex(), 1);
        QCOMPARE(ws_->StatMethod, tab_->cbDrawsStatType->itemData(1).toInt());
    }

    void settingsRoundTrip() {
        const auto file = uitest::FolderOf(*dir_) / "settings.frm";
        {
            TIniFile ini(file);
            ini.WriteInteger("TFormMain", "DrawsStatLen", 30);
            ini.WriteBool("TFormMain", "ShowTotalLine", false);
            ini.WriteBool("TFormMain", "PrefetchsEnabled", true);
            ini.WriteInteger("TFormMain", "lvDrawsStat.Column0", 111);
            ini.WriteString("TFormMain", "lvDrawsStat.SortType", "1,1");
            ini.Save();
        }
        tab_->LoadSettings(TIniFile(file));
        QCOMPARE(tab_->edDrawsStatLen->value(), 30);
        QCOMPARE(ws_->DrawsStatLen, 30);
        QVERIFY(!ws_->ShowTotalLine);
        QVERIFY(ws_->PrefetchsEnabled);
        QVERIFY(tab_->DrawsStatShowTotalLine->isEnabled());
        QCOMPARE(tab_->lvDrawsStat->columnWidth(0), 111);
        for (int column : {int(scNorm), int(scDeviation), int(scDeviationPercent)}) {
            QVERIFY(!tab_->lvDrawsStat->isColumnHidden(column));
            QCOMPARE(tab_->lvDrawsStat->columnWidth(column),
                     int(TStatisticsTab::NORM_COLUMN_WIDTH));
        }
        QCOMPARE(ws_->StatTable().SortColumn(), 1);
        QVERIFY(ws_->StatTable().SortDescending());

        TIniFile saved(uitest::FolderOf(*dir_) / "saved.frm");
        tab_->SaveSettings(saved);
        QCOMPARE(saved.ReadInteger("TFormMain", "DrawsStatLen", 0), 30);
        QVERIFY(saved.ReadBool("TFormMain", "PrefetchsEnabled", false));
        QVERIFY(saved.ReadBool("TFormMain", "PrefetchsInit", false));
        QVERIFY(!saved.ReadBool("TFormMain", "ShowTotalLine", true));
        QCOMPARE(saved.ReadString("TFormMain", "lvDrawsStat.SortType"), std::string("1,1"));
        QVERIFY(saved.ReadInteger("TFormMain", "DrawsStatHeight", 0) > 0);
    }

    void comparisonShowsNormsAndTheIdealLine() {
        // Every other prefetch file exists (a distribution without values), so switching the
        // comparison on makes only the file of NUMS.
        const std::string trailerOnly = PrefetchToBytes(TPrefetchData{});
        for (const TStatMethod& method : ws_->Stats().Methods()) {
            if (!method.StatClass->SupportsCombinations() ||
                ws_->Stats().MethodCode(method) == "NUMS")
                continue;
            const auto file = ws_->Prefetch().PrefetchFileName(method);
            std::filesystem::create_directories(file.parent_path());
            std::ofstream(file, std::ios::binary) << trailerOnly;
        }
        SelectMethod("NUMS");
        const int nums = ws_->Stats().IndexOfCode("NUMS");
        tab_->DrawsStatePrefetchsEnabled->trigger();
        QVERIFY(ws_->PrefetchsEnabled);
        QVERIFY(
            std::filesystem::exists(ws_->Prefetch().PrefetchFileName(ws_->Stats().Items(nums))));
        QVERIFY(seams_.Boxes.isEmpty());
        QVERIFY(ws_->IsIdle());
        const TIniFile settings(WindowSettingsPath(uitest::FolderOf(*dir_)));
        QVERIFY(settings.ReadBool("TFormMain", "PrefetchsEnabled", false));

        for (int column : {int(scNorm), int(scDeviation), int(scDeviationPercent)}) {
            QVERIFY(!tab_->lvDrawsStat->isColumnHidden(column));
            QCOMPARE(tab_->lvDrawsStat->columnWidth(column),
                     int(TStatisticsTab::NORM_COLUMN_WIDTH));
        }
        // Every number is in as many combinations as any other: each norm is the mean of the
        // table's largest and smallest counts.
        const TStatTable& table = ws_->StatTable();
        QVERIFY(table.HasPrefetchData());
        const long long norm =
            std::llrint((table.Totals().MaxCount + table.Totals().MinCount) / 2.0L);
        for (std::size_t i = 0; i < table.RowCount(); ++i)
            QCOMPARE(static_cast<long long>(table.Row(i).Item.Norm), norm);
        QLineSeries* total = tab_->crtDrawsStat->TotalSeries();
        QVERIFY(total);
        QCOMPARE(total->name(), QStringLiteral("Все возможные комбинации"));
        QCOMPARE(total->count(), LOTTO_MAX);

        QVERIFY(tab_->DrawsStatShowTotalLine->isEnabled());
        tab_->DrawsStatShowTotalLine->trigger();
        QVERIFY(!ws_->ShowTotalLine);
        QVERIFY(!tab_->crtDrawsStat->TotalSeries());
        QVERIFY(tab_->crtDrawsStat->ActualSeries());
        QVERIFY(!TIniFile(WindowSettingsPath(uitest::FolderOf(*dir_)))
                     .ReadBool("TFormMain", "ShowTotalLine", true));

        tab_->DrawsStatePrefetchsEnabled->trigger();
        QVERIFY(!ws_->PrefetchsEnabled);
        QVERIFY(tab_->lvDrawsStat->isColumnHidden(scNorm));
        QCOMPARE(table.Row(0).Texts[scNorm], std::string("-"));
        QVERIFY(!tab_->DrawsStatShowTotalLine->isEnabled());
    }

    void keepDropAndUndoInTheWindow() {
        QTemporaryDir folder;
        uitest::WriteArchive(uitest::FolderOf(folder), uitest::MakeDraws(DRAWS));
        uitest::WriteGenerateParams(uitest::FolderOf(folder), GEN_ONLY_MINE,
                                    "1, 2, 3, 4, 5, 6, 7, 8");
        std::unique_ptr<TFormMain> window = uitest::StartWindow(uitest::FolderOf(folder));
        QVERIFY(window);
        auto* tab = window->findChild<TStatisticsTab*>();
        QVERIFY(tab);
        Workspace& ws = window->Ws();
        QCOMPARE(int(ws.Combs().List.Count()), 28);
        QVERIFY(ws.StatMethod >= 0); // the first method is chosen and computed at start-up
        QVERIFY(ws.StatTable().RowCount() > 0);

        const int position = tab->cbDrawsStatType->findData(ws.Stats().IndexOfCode("NUMS"));
        if (tab->cbDrawsStatType->currentIndex() == position)
            tab->DrawsStatCalc->trigger();
        else
            tab->cbDrawsStatType->setCurrentIndex(position);
        int five = -1;
        for (std::size_t i = 0; i < ws.StatTable().RowCount(); ++i)
            if (ws.StatTable().Row(i).Caption == "5") five = static_cast<int>(i);
        QVERIFY(five >= 0);
        tab->lvDrawsStat->selectRow(five);
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));

        // F7 keeps the 21 combinations holding 5; undo brings the 28 back; Ctrl+F7 drops them.
        QTest::keyClick(tab->lvDrawsStat, Qt::Key_F7);
        QTRY_COMPARE(int(ws.Combs().List.Count()), 21);
        auto* undo = window->findChild<QAction*>(QStringLiteral("CombsUndo"));
        QVERIFY(undo);
        QTRY_VERIFY(undo->isEnabled());
        undo->trigger();
        QTRY_COMPARE(int(ws.Combs().List.Count()), 28);
        QTest::keyClick(tab->lvDrawsStat, Qt::Key_F7, Qt::ControlModifier);
        QTRY_COMPARE(int(ws.Combs().List.Count()), 7);
        uitest::CloseWindow(window);
    }

    void progressWindowReadsThePercentOfTheStatus_data() {
        QTest::addColumn<QString>("status");
        QTest::addColumn<int>("percent");
        const std::string prefix = "Создание файлов для полного набора комбинаций...";
        QTest::newRow("core text") << QString::fromStdString(PercentText(prefix, 42, 100)) << 42;
        QTest::newRow("done") << QString::fromStdString(PercentText(prefix, 3, 3)) << 100;
        QTest::newRow("no percent") << QString::fromStdString(prefix) << -1;
    }
    void progressWindowReadsThePercentOfTheStatus() {
        QFETCH(QString, status);
        QFETCH(int, percent);
        QCOMPARE(TOperationProgress::PercentOf(status), percent);
    }
};

QTEST_MAIN(TestStatisticsTab)
#include "statistics_tab_test.moc"
