// The tabs "Карта", "Схема" and "Неделя" over a workspace on a temporary folder with four
// hand-made draws: what the grids show and how they are coloured, keeping and dropping the
// combinations of a selection, the refresh rules, the week chart and the window settings.

#include "app/workspace.h"
#include "core/comb_generation.h"
#include "core/geometry.h"
#include "core/ini_file.h"
#include "stats/analysis/numbers_pick.h"
#include "ui/analysis/analysis_grids.h"
#include "ui/analysis/card_model.h"
#include "ui/analysis/card_tab.h"
#include "ui/analysis/layout_compare_model.h"
#include "ui/analysis/layout_model.h"
#include "ui/analysis/layout_tab.h"
#include "ui/analysis/week_chart_view.h"
#include "ui/analysis/week_model.h"
#include "ui/analysis/week_tab.h"
#include "ui/common/gui_host.h"
#include "ui/ui_test_support.h"

#include <QAbstractItemModelTester>
#include <QBarSeries>
#include <QColor>
#include <QLineSeries>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableView>
#include <QtTest>

#include <memory>

using namespace pelko;

namespace {

// Oldest first. On the card (newest first): row 0 holds 12 repeated from row 1, where 12
// stands next to 13; row 2 holds 3, 17, 40 with nothing else below 41. With the offset 1
// the hidden draw 4 brackets 12 and 17 in the layout. Draws 2 and 4 fall on Wednesdays.
TDrawsArray Archive() {
    TDrawsArray draws{uitest::MakeDraw(1, {41, 42, 43, 1, 2, 4}),
                      uitest::MakeDraw(2, {3, 17, 40, 41, 42, 43}),
                      uitest::MakeDraw(3, {12, 13, 22, 27, 33, 38}),
                      uitest::MakeDraw(4, {12, 17, 25, 30, 35, 44})};
    draws[3].SetDateText("10.01.2024 21:00");
    return draws;
}

// C(12, 6) combinations; 84 of them hold none of 3, 17, 40 and 84 none of 7, 8, 9.
constexpr const char* MY_NUMBERS = "1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 17, 40";
constexpr int MY_COMBS = 924;

QColor Rgb(std::uint32_t color) {
    return QColor::fromRgb(color);
}

void SelectCells(QTableView* view, int top, int left, int bottom, int right) {
    QAbstractItemModel* model = view->model();
    view->selectionModel()->select(
        QItemSelection(model->index(top, left), model->index(bottom, right)),
        QItemSelectionModel::ClearAndSelect);
}

// Types a count and presses Enter (the edit takes the text only then).
void Type(QSpinBox* edit, const char* text) {
    edit->selectAll();
    QTest::keyClicks(edit, QString::fromLatin1(text));
    QTest::keyClick(edit, Qt::Key_Return);
}

QList<qreal> NumbersRow(std::initializer_list<std::pair<int, qreal>> counts) {
    QList<qreal> row(LOTTO_MAX, 0);
    for (const auto& [n, count] : counts)
        row[n - 1] = count;
    return row;
}

} // namespace

class TestAnalysisTabs : public QObject {
    Q_OBJECT

    uitest::TScriptedSeams seams_;
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<TGuiHost> host_;
    std::unique_ptr<Workspace> ws_;

    void Generate(int mode, const char* numbers = "") {
        TGenerateParams params;
        params.Mode = static_cast<std::uint8_t>(mode);
        params.Parameters = numbers;
        QVERIFY(ws_->Combs().GenerateCombs(true, params));
    }
    const TFilterHistoryRow& LastHistory() const { return ws_->Combs().History().back(); }

  private Q_SLOTS:
    void init() {
        seams_.Boxes.clear();
        dir_ = std::make_unique<QTemporaryDir>();
        uitest::WriteArchive(uitest::FolderOf(*dir_), Archive());
        host_ = std::make_unique<TGuiHost>();
        ws_ = std::make_unique<Workspace>(*host_, uitest::FolderOf(*dir_));
        ws_->Open(false);
        QCOMPARE(int(ws_->Draws().size()), 4);
    }
    void cleanup() {
        ws_.reset();
        host_.reset();
        dir_.reset();
    }

    void cardColoursByItsOptions_data() {
        QTest::addColumn<bool>("channels");
        QTest::addColumn<bool>("sequences");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("number");
        QTest::addColumn<QColor>("expected"); // invalid: the palette's own
        const int width = 5;                  // the default channel size
        QTest::newRow("repeated next to a neighbour") << true << true << 1 << 12 << Rgb(0xFFFF00);
        QTest::newRow("repeated") << true << true << 0 << 12 << Rgb(0x00FF00);
        QTest::newRow("next to a neighbour") << true << true << 1 << 13 << Rgb(0x00FFFF);
        QTest::newRow("drawn alone: its channel")
            << true << true << 0 << 44 << Rgb(ChannelColor(44, width));
        QTest::newRow("empty: its channel")
            << true << true << 0 << 1 << Rgb(ChannelColor(1, width));
        QTest::newRow("sequences off") << true << false << 1 << 12 << Rgb(ChannelColor(12, width));
        QTest::newRow("channels off, marked") << false << true << 1 << 13 << Rgb(0x00FFFF);
        QTest::newRow("channels off, empty") << false << true << 0 << 1 << QColor();
    }
    void cardColoursByItsOptions() {
        QFETCH(bool, channels);
        QFETCH(bool, sequences);
        QFETCH(int, row);
        QFETCH(int, number);
        QFETCH(QColor, expected);
        QCOMPARE(ws_->Config().ChannelSize, 5);
        TCardTab tab(*ws_);
        QAbstractItemModelTester tester(tab.Model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        tab.SetShown(true);
        if (!channels) tab.ViewColorCard->trigger();
        if (!sequences) tab.ViewColorCardSequences->trigger();

        const QModelIndex cell = tab.Model()->index(row, number - 1);
        QCOMPARE(cell.data(Qt::BackgroundRole).value<QColor>(), expected);
        // A fill brings its own dark text; the palette's own brings none.
        QCOMPARE(cell.data(Qt::ForegroundRole).isValid(), expected.isValid());
    }

    void cardKeepHoldsAnyNumberOfTheRectangle() {
        TCardTab tab(*ws_);
        Generate(GEN_ALL);
        QCOMPARE(int(ws_->Combs().List.Count()), 8145060);
        tab.SetShown(true);
        QCOMPARE(tab.Model()->headerData(0, Qt::Vertical).toInt(), 4); // newest first
        QCOMPARE(tab.Model()->index(0, 11).data().toInt(), 12);
        QVERIFY(!tab.Model()->index(0, 0).data().isValid());
        QVERIFY(!tab.CardFilter_Include->isEnabled()); // nothing selected
        SelectCells(tab.sgCard, 2, 0, 2, 39);          // draw 2, numbers 1..40: 3, 17, 40
        QVERIFY(tab.CardFilter_Include->isEnabled());
        QSignalSpy changed(&tab, &TCardTab::CombsChanged);

        tab.CardFilter_Include->trigger();
        QCOMPARE(changed.count(), 1);
        QCOMPARE(int(ws_->Combs().List.Count()), 8145060 - 5245786);
        QCOMPARE(LastHistory().Operation, std::string("Карта"));
        QCOMPARE(LastHistory().Values, std::string("3; 17; 40"));
        QVERIFY(ws_->Combs().CombsUndo());
        QCOMPARE(int(ws_->Combs().List.Count()), 8145060);
    }

    void cardSelectionWithoutNumbersShowsTheError() {
        TCardTab tab(*ws_);
        tab.SetShown(true);
        Generate(GEN_ONLY_MINE, MY_NUMBERS);
        const std::size_t history = ws_->Combs().History().size();
        SelectCells(tab.sgCard, 0, 0, 0, 10); // draw 4 holds none of 1..11
        tab.CardFilter_Exclude->trigger();
        QCOMPARE(seams_.Boxes.size(), 1);
        QCOMPARE(seams_.Boxes.front().Text, QString::fromUtf8(NO_FILTER_VALUES_MESSAGE));
        QCOMPARE(int(ws_->Combs().List.Count()), MY_COMBS);
        QCOMPARE(ws_->Combs().History().size(), history);
    }

    void cardSheetLeadsWithTheDrawNumbers() {
        TCardTab tab(*ws_);
        tab.SetShown(true);
        const TSheetTable sheet =
            SheetWithRowHeaders(*tab.sgCard, QStringLiteral("Карта"), QStringLiteral("Тираж"));
        QCOMPARE(int(sheet.Columns.size()), 1 + LOTTO_MAX);
        QCOMPARE(sheet.Columns[0].Header, std::string("Тираж"));
        QCOMPARE(sheet.Columns[41].Header, std::string("41"));
        QCOMPARE(int(sheet.RowCount), 4);
        std::vector<TSheetCell> cells(sheet.Columns.size());
        sheet.FillRow(3, cells); // draw 1, the oldest
        QCOMPARE(cells[0].Number, 1.0);
        QCOMPARE(cells[41].Number, 41.0);
        QVERIFY(!cells[3].IsNumber);
    }

    void layoutBracketsTheHiddenDrawAndDropsACell() {
        ws_->ChangeDrawsOffset(1);
        Generate(GEN_ONLY_MINE, MY_NUMBERS);
        TLayoutTab tab(*ws_);
        QAbstractItemModelTester tester(tab.Model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        tab.SetShown(true);
        TLayoutModel* model = tab.Model();
        // Counts 2, 1 down; last draws 3, 2, 1 across.
        QCOMPARE(model->rowCount(), 2);
        QCOMPARE(model->columnCount(), 3);
        QCOMPARE(model->headerData(0, Qt::Vertical).toInt(), 2);
        QCOMPARE(model->headerData(0, Qt::Horizontal).toInt(), 3);
        const QModelIndex bracketed = model->index(1, 1);
        QCOMPARE(bracketed.data().toString(), QStringLiteral("3, [17], 40"));
        QCOMPARE(bracketed.data(Qt::BackgroundRole).value<QColor>(), Rgb(0x00FF00));
        const QModelIndex plain = model->index(0, 1);
        QCOMPARE(plain.data().toString(), QStringLiteral("41, 42, 43"));
        QCOMPARE(plain.data(Qt::BackgroundRole).value<QColor>(),
                 Rgb(LayoutCellColor(1, 2, 3, 4, true)));
        tab.ViewShemaGradient->trigger();
        QCOMPARE(plain.data(Qt::BackgroundRole).value<QColor>(),
                 Rgb(LayoutCellColor(1, 2, 3, 4, false)));
        // The widest text fits its column.
        QVERIFY(tab.sgLayout->columnWidth(0) > tab.sgLayout->fontMetrics().horizontalAdvance(
                                                   QStringLiteral("[12], 13, 22, 27, 33, 38")));

        SelectCells(tab.sgLayout, 1, 1, 1, 1);
        tab.LayoutFilter_Exclude->trigger();
        QCOMPARE(int(ws_->Combs().List.Count()), 84);
        QCOMPARE(LastHistory().Operation, std::string("Схема"));
        QCOMPARE(LastHistory().Values, std::string("3; 17; 40"));
    }

    void layoutRecomputesOnlyForNewInputs() {
        TLayoutTab tab(*ws_);
        QSignalSpy resets(tab.Model(), &QAbstractItemModel::modelReset);
        tab.RefreshLayout(true);
        QCOMPARE(resets.count(), 0); // not shown
        tab.SetShown(true);
        QCOMPARE(resets.count(), 1);
        tab.RefreshView(false);
        QCOMPARE(resets.count(), 1);
        tab.LayoutCalc->trigger();
        QCOMPARE(resets.count(), 2);

        Type(tab.edLayoutLen, "1");
        QCOMPARE(resets.count(), 3);
        QCOMPARE(tab.Model()->rowCount(), 1); // the newest draw alone
        ws_->ChangeDrawsOffset(1);
        tab.RefreshView(false);
        QCOMPARE(resets.count(), 4);
    }

    void layoutCompareListsFollowTheirLengths() {
        TLayoutTab tab(*ws_);
        tab.SetShown(true);
        TLayoutCompareModel* first = tab.CompareModel(0);
        QCOMPARE(first->headerData(1, Qt::Horizontal).toString(), QStringLiteral("1 - 4"));
        QCOMPARE(first->index(0, 0).data().toInt(), 2);
        QCOMPARE(first->index(0, 1).data().toString(), QStringLiteral("12, 17, 41, 42, 43"));
        tab.lvLayoutCmp[0]->sortByColumn(0, Qt::AscendingOrder);
        QCOMPARE(first->index(0, 0).data().toInt(), 1);

        QSpinBox* second = tab.edLayoutCmp[1];
        Type(second, "1");
        QCOMPARE(tab.CompareModel(1)->headerData(1, Qt::Horizontal).toString(),
                 QStringLiteral("4 - 4"));
        QCOMPARE(first->headerData(1, Qt::Horizontal).toString(), QStringLiteral("1 - 4"));
    }

    void weekCountsTheWednesdayDrawAndKeepsColumns() {
        Generate(GEN_ONLY_MINE, MY_NUMBERS);
        TWeekTab tab(*ws_);
        QAbstractItemModelTester tester(tab.Model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        tab.edWeekLen->setValue(1);
        tab.SetShown(true);
        const TWeekModel* model = tab.Model();
        QList<int> red;
        for (int day = 0; day < 7; ++day)
            for (int column = 0; column < LOTTO_MAX; ++column) {
                const QModelIndex cell = model->index(day, column);
                if (!cell.data().isValid()) continue;
                QCOMPARE(day, 2);
                QCOMPARE(cell.data().toInt(), 1);
                QCOMPARE(cell.data(Qt::BackgroundRole).value<QColor>(), Rgb(0xFF0000));
                red.append(column + 1);
            }
        QCOMPARE(red, QList<int>({12, 17, 25, 30, 35, 44}));

        SelectCells(tab.sgWeek, 0, 6, 6, 8);
        tab.WeekFilter_Include->trigger();
        QCOMPARE(int(ws_->Combs().List.Count()), MY_COMBS - 84);
        QCOMPARE(LastHistory().Operation, std::string("Неделя"));
        QCOMPARE(LastHistory().Values, std::string("7; 8; 9"));
    }

    void weekChartFollowsTheCurrentCell_data() {
        QTest::addColumn<bool>("weekdays");
        QTest::addColumn<bool>("line");
        QTest::addColumn<QList<qreal>>("atWednesday17");
        QTest::addColumn<QList<qreal>>("atThursday12");
        QTest::newRow("numbers of a day, bars")
            << false << false
            << NumbersRow({{3, 1},
                           {12, 1},
                           {17, 2},
                           {25, 1},
                           {30, 1},
                           {35, 1},
                           {40, 1},
                           {41, 1},
                           {42, 1},
                           {43, 1},
                           {44, 1}})
            << NumbersRow({{12, 1}, {13, 1}, {22, 1}, {27, 1}, {33, 1}, {38, 1}});
        QTest::newRow("days of a number, line") << true << true << QList<qreal>{0, 0, 2, 0, 0, 0, 0}
                                                << QList<qreal>{0, 0, 1, 1, 0, 0, 0};
    }
    void weekChartFollowsTheCurrentCell() {
        QFETCH(bool, weekdays);
        QFETCH(bool, line);
        QFETCH(QList<qreal>, atWednesday17);
        QFETCH(QList<qreal>, atThursday12);
        TWeekTab tab(*ws_);
        tab.SetShown(true);
        if (weekdays) tab.ViewWeekChartMode->trigger();
        if (line) tab.ViewWeekChartType->trigger();

        tab.sgWeek->setCurrentIndex(tab.Model()->index(2, 16));
        QCOMPARE(tab.crtWeek->Values(), atWednesday17);
        QCOMPARE(tab.crtWeek->LineSeries() != nullptr, line);
        QCOMPARE(tab.crtWeek->BarSeries() != nullptr, !line);
        tab.sgWeek->setCurrentIndex(tab.Model()->index(3, 11));
        QCOMPARE(tab.crtWeek->Values(), atThursday12);
    }

    void optionsAreStoredAtOnce_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("value");
        QTest::newRow("card channels") << "ViewColorCard"
                                       << "ColorCard" << 0;
        QTest::newRow("card sequences") << "ViewColorCardSequences"
                                        << "ColorCardSequences" << 0;
        QTest::newRow("layout gradient") << "ViewShemaGradient"
                                         << "LayoutGradient" << 0;
        QTest::newRow("week chart mode") << "ViewWeekChartMode"
                                         << "WeekChartMode" << 1;
        QTest::newRow("week chart type") << "ViewWeekChartType"
                                         << "WeekChartType" << 1;
    }
    void optionsAreStoredAtOnce() {
        QFETCH(QString, action);
        QFETCH(QString, key);
        QFETCH(int, value);
        TCardTab card(*ws_);
        TLayoutTab layout(*ws_);
        TWeekTab week(*ws_);
        QWidget* owner = nullptr;
        QAction* option = nullptr;
        for (QWidget* tab : QList<QWidget*>{&card, &layout, &week})
            if (auto* found = tab->findChild<QAction*>(action)) {
                owner = tab;
                option = found;
            }
        QVERIFY(option);
        QVERIFY(!option->isEnabled()); // not shown
        card.SetShown(true);
        layout.SetShown(true);
        week.SetShown(true);
        QVERIFY(option->isEnabled());
        QSignalSpy stored(owner, SIGNAL(SettingChanged(QString, int)));
        option->trigger();
        QCOMPARE(stored.count(), 1);
        QCOMPARE(stored[0][0].toString(), key);
        QCOMPARE(stored[0][1].toInt(), value);
    }

    void settingsRoundTrip() {
        const std::filesystem::path file = uitest::FolderOf(*dir_) / "window.ini";
        {
            TIniFile frm(file);
            TCardTab card(*ws_);
            TLayoutTab layout(*ws_);
            TWeekTab week(*ws_);
            card.SetShown(true);
            layout.SetShown(true);
            week.SetShown(true);
            card.ViewColorCardSequences->trigger();
            layout.edLayoutLen->setValue(7);
            layout.edLayoutCmp[4]->setValue(9);
            week.edWeekLen->setValue(11);
            week.ViewWeekChartMode->trigger();
            card.SaveSettings(frm);
            layout.SaveSettings(frm);
            week.SaveSettings(frm);
            QCOMPARE(frm.ReadInteger("TFormMain", "LayoutCompareLen5", 0), 9);
            QCOMPARE(frm.ReadInteger("TFormMain", "LayoutCompareLen1", 0), 50);
            QCOMPARE(frm.ReadInteger("TFormMain", "WeekChartMode", 0), 1);
            frm.Save();
        }
        const TIniFile frm(file);
        TCardTab card(*ws_);
        TLayoutTab layout(*ws_);
        TWeekTab week(*ws_);
        card.LoadSettings(frm);
        layout.LoadSettings(frm);
        week.LoadSettings(frm);
        QVERIFY(card.ViewColorCard->isChecked());
        QVERIFY(!card.ViewColorCardSequences->isChecked());
        QCOMPARE(layout.edLayoutLen->value(), 7);
        QCOMPARE(layout.edLayoutCmp[4]->value(), 9);
        QCOMPARE(layout.edLayoutCmp[3]->value(), 300);
        QCOMPARE(week.edWeekLen->value(), 11);
        QVERIFY(week.ViewWeekChartMode->isChecked());
        QVERIFY(!week.ViewWeekChartType->isChecked());
    }
};

QTEST_MAIN(TestAnalysisTabs)
#include "analysis_tabs_test.moc"
