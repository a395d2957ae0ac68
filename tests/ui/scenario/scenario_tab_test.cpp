// The tab "Сценарий" driven as a person would: a line made in the line dialog with a
// filter from the filter dialog (after each of its refusals), moving and deleting lines
// with the working scenario following, a forecast, a back-test whose stakes are checked,
// the stop and the close during a back-test, the result mode that stops a run, and the
// run log option.

#include "app/script_desk.h"
#include "app/stakes_workspace.h"
#include "app/workspace.h"
#include "core/ini_file.h"
#include "filters/filter_text.h"
#include "scenarios/script_file.h"
#include "scenarios/script_line.h"
#include "stakes/stake_record.h"
#include "stats/stat_class.h"
#include "stats/stat_list.h"
#include "ui/combs/combs_model.h"
#include "ui/combs/combs_page.h"
#include "ui/draws/draws_page.h"
#include "ui/filters/form_filter.h"
#include "ui/scenario/form_script.h"
#include "ui/common/form_test_cnt.h"
#include "ui/scenario/scenario_tab.h"
#include "ui/scenario/script_model.h"
#include "ui/stats/statistics_tab.h"
#include "ui/ui_test_support.h"
#include "ui/common/ui_text.h"
#include "ui/shell/window_settings.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <algorithm>
#include <functional>
#include <memory>

using namespace pelko;
using namespace pelko::uitest;

namespace {

constexpr int DRAWS = 30;
// 210 combinations: every start list is quick to make.
constexpr const char* MY_NUMBERS = "1;2;3;4;5;6;7;8;9;10";
const QString BAD_RANGE = QStringLiteral("Введен некорректный диапазон значений!");

std::vector<TStakeData> ScenarioStakes(TStakesDesk& desk) {
    std::vector<TStakeData> stakes;
    for (std::int64_t i = 0; i < desk.StakesCount(); ++i)
        if (const TStakeData stake = desk.StakeAt(i);
            !stake.IsSeparator() && stake.Kind == skScenario)
            stakes.push_back(stake);
    return stakes;
}

} // namespace

class TScenarioTabTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<TScriptedSeams> seams_;
    std::unique_ptr<TFormMain> window_;
    std::unique_ptr<QAbstractItemModelTester> tester_;
    TScenarioTab* tab_ = nullptr;

    std::filesystem::path Folder() const { return FolderOf(*dir_); }
    Workspace& Ws() { return window_->Ws(); }
    TStatisticsTab* Stats() const { return window_->findChild<TStatisticsTab*>(); }

    bool Start() {
        WriteArchive(Folder(), MakeDraws(DRAWS));
        WriteGenerateParams(Folder(), 2, MY_NUMBERS);
        window_ = StartWindow(Folder());
        if (!window_) return false;
        tab_ = window_->findChild<TScenarioTab*>();
        if (!tab_) return false;
        window_->pcRight->setCurrentWidget(tab_);
        tester_ = std::make_unique<QAbstractItemModelTester>(
            tab_->Model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        return true;
    }
    // Each modal dialog of type T is answered by `script`.
    template <class T> void OnDialog(std::function<int(T&)> script) {
        seams_->OnDialog = [script](QDialog& dialog) {
            T* typed = qobject_cast<T*>(&dialog);
            return typed ? script(*typed) : int(QDialog::Rejected);
        };
    }
    // A filter of the method NUMS over `draws` draws as the filter dialog writes it.
    std::string NumsFilter(const char* draws) {
        TFilterItem item;
        item.Active = true;
        item.Method = &Ws().Stats().Items(Ws().Stats().IndexOfCode("NUMS"));
        item.DrawsLen = draws;
        item.SortOrder = 1;
        return FilterToText(item);
    }
    void AddLines(std::initializer_list<std::string> lines) {
        for (const std::string& line : lines)
            Ws().Script().AddScriptLine(line);
    }
    std::vector<std::string> WorkingFile() { return ReadScriptFile(Ws().Script().WorkingFile()); }
    void Select(std::initializer_list<int> rows) {
        tab_->lvScript->clearSelection();
        for (int row : rows)
            tab_->lvScript->selectionModel()->select(tab_->Model()->index(row, 0),
                                                     QItemSelectionModel::Select |
                                                         QItemSelectionModel::Rows);
    }
    // Steps taken inside a run: each probe runs once, in turn, the first time the run's
    // panels change while its condition holds (as a person reacting to what they see).
    struct TProbe {
        std::function<bool()> When;
        std::function<void()> Do;
    };
    // One line over an unchanged list, and the test-count dialog answering 3 cycles.
    void PrepareThreeCycleTest() {
        AddLines({"CURR:0#FIRST| | | | | | | |тест"});
        OnDialog<TFormTestCnt>([](TFormTestCnt& dialog) {
            dialog.edTestCount->setValue(3);
            return int(QDialog::Accepted);
        });
    }
    // True while the run is inside a line of the given cycle.
    std::function<bool()> InLineOfCycle(int cycle) {
        TScenarioRunner& runner = tab_->Runner();
        return [&runner, cycle] { return runner.ScriptCycle() == cycle && runner.PanelText(2) != "Строка: 0"; };
    }
    void ProbeDuringRun(std::vector<TProbe> probes) {
        TScenarioRunner& runner = tab_->Runner();
        auto previous = runner.OnStatusChanged;
        auto state =
            std::make_shared<std::pair<std::vector<TProbe>, std::size_t>>(std::move(probes), 0);
        runner.OnStatusChanged = [previous, state] {
            previous();
            auto& [list, next] = *state;
            if (next < list.size() && list[next].When()) {
                const std::size_t step = next++;
                list[step].Do();
            }
        };
    }
    QString PanelText(int i) const { return tab_->Panel(i)->text(); }

  private Q_SLOTS:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        seams_ = std::make_unique<TScriptedSeams>();
        QVERIFY(Start());
    }
    void cleanup() {
        tester_.reset();
        tab_ = nullptr;
        if (window_) CloseWindow(window_);
        seams_.reset();
        dir_.reset();
    }

    void tabListsAndPanels() {
        QCOMPARE(window_->pcRight->tabText(window_->pcRight->count() - 1),
                 QStringLiteral("Сценарий"));
        QTableView* list = tab_->lvScript;
        QCOMPARE(list->model()->columnCount(), 9);
        QCOMPARE(list->model()->headerData(0, Qt::Horizontal).toString(),
                 QStringLiteral("Комментарии"));
        QCOMPARE(list->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Опции"));
        QCOMPARE(list->model()->headerData(8, Qt::Horizontal).toString(),
                 QStringLiteral("Фильтр 7"));
        QCOMPARE(list->columnWidth(4), 200);
        QCOMPARE(PanelText(0), QStringLiteral("Строк: 0"));
        // Nothing to run or edit in an empty scenario.
        for (QAction* action :
             {tab_->ScriptSave, tab_->ScriptEmpty, tab_->ScriptClr, tab_->ScriptRun,
              tab_->ScriptTest, tab_->ScriptStop, tab_->ScriptEdit, tab_->ScriptDel})
            QVERIFY2(!action->isEnabled(), qPrintable(action->objectName()));
        QVERIFY(tab_->ScriptAdd->isEnabled());
        QCOMPARE(tab_->ScriptEdit->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Return));
        QCOMPARE(tab_->ScriptTest->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F10));
    }

    void lineFromTheLineAndFilterDialogs() {
        const TStatList& stats = Ws().Stats();
        const int nums = stats.IndexOfCode("NUMS");
        QVERIFY(nums >= 0);
        Stats()->edDrawsStatLen->setValue(250);
        QStringList refusals;
        QString filterText;
        int maskMethod = -1;

        seams_->OnDialog = [&](QDialog& dialog) -> int {
            if (auto* line = qobject_cast<TFormScript*>(&dialog)) {
                [&] {
                    QCOMPARE(line->windowTitle(), QStringLiteral("Создание новой строки"));
                    QCOMPARE(line->edDrawsExclude->value(),
                             window_->CombsPage()->edCombsExclude->value());
                    QVERIFY(line->edComments->text().isEmpty());
                    line->edComments->setText(QStringLiteral("проба"));
                    line->cbStartCombsType->setCurrentIndex(1);
                    line->edDrawsExclude->setValue(5);
                    line->cbResultCombsMode->setCurrentIndex(1);
                    line->cbNewOnly->setChecked(true);
                    line->btnFilter[2]->click();
                    filterText = line->edFilter[2]->text();
                }();
                return QDialog::Accepted;
            }
            auto* filter = qobject_cast<TFormFilter*>(&dialog);
            if (!filter) return QDialog::Rejected;
            [&] {
                // An empty field opens on the statistics tab's method and N.
                QCOMPARE(filter->cbDrawsStatType->count(), Stats()->cbDrawsStatType->count());
                QCOMPARE(filter->cbDrawsStatType->currentIndex(),
                         Stats()->cbDrawsStatType->currentIndex());
                QCOMPARE(filter->edDrawsLen->text(), QStringLiteral("250"));
                QCOMPARE(filter->cbDrawsSortOrder->currentText(), QStringLiteral("Количество"));
                QCOMPARE(filter->cbDrawsSortOrder->count(), 20);
                QCOMPARE(filter->cbLevelMode->count(), 32);
                QCOMPARE(filter->cbStopMode->count(), 7);
                QCOMPARE(filter->edCoefCount->value(), 0.0);
                QVERIFY(!filter->cbCDLOverride->isEnabled());

                // Only digits and ",", "-", ";" get into the number-list fields.
                filter->edDrawsLen->clear();
                QTest::keyClicks(filter->edDrawsLen, QStringLiteral("1a0x"));
                QCOMPARE(filter->edDrawsLen->text(), QStringLiteral("10"));

                auto refuse = [&](QWidget* focus) {
                    const qsizetype before = seams_->Boxes.size();
                    filter->accept();
                    QCOMPARE(filter->result(), int(QDialog::Rejected));
                    QCOMPARE(seams_->Boxes.size(), before + 1);
                    QCOMPARE(seams_->Boxes.last().Caption, QStringLiteral("Ошибка"));
                    refusals << seams_->Boxes.last().Text;
                    QCOMPARE(filter->focusWidget(), focus);
                };
                filter->edDrawsLen->setText(QStringLiteral("0"));
                refuse(filter->edDrawsLen);
                filter->edDrawsLen->setText(QStringLiteral("0, 100"));

                // The list mode "LVA" needs plain values.
                for (int i = 0; i < filter->cbDrawsStatType->count() && maskMethod < 0; ++i) {
                    const int index = filter->cbDrawsStatType->itemData(i).toInt();
                    if (!stats.Items(index).StatClass->HasScalarValues()) maskMethod = i;
                }
                QVERIFY(maskMethod >= 0);
                filter->cbDrawsStatType->setCurrentIndex(maskMethod);
                filter->cbLevelMode->setCurrentIndex(lmValueList);
                refuse(filter->cbLevelMode);
                filter->cbDrawsStatType->setCurrentIndex(filter->cbDrawsStatType->findData(nums));
                refuse(filter->edLevelValue);
                filter->edLevelValue->setText(QStringLiteral("1-3;1"));

                // Multi-select cannot stop by a number of combinations or numbers.
                filter->cbMultiSelect->setChecked(true);
                filter->cbStopMode->setCurrentIndex(smCombsCount);
                refuse(filter->cbStopMode);
                filter->cbStopMode->setCurrentIndex(smExtendedStake);
                refuse(filter->cbStopMode);
                filter->cbStopMode->setCurrentIndex(smSteps);
                filter->edStopValue->setValue(3);

                // Weight coefficients: only the "Вес" modes may override them, and leaving
                // such a mode keeps the override (disabled).
                filter->cbLevelMode->setCurrentIndex(lmWeightMin);
                QVERIFY(filter->cbCDLOverride->isEnabled());
                QVERIFY(!filter->edCoefLevel->isEnabled());
                filter->cbCDLOverride->setChecked(true);
                QVERIFY(filter->edCoefLevel->isEnabled());
                filter->edCoefLevel->setValue(2.5);
                filter->cbLevelMode->setCurrentIndex(lmValueList);
                QVERIFY(!filter->cbCDLOverride->isEnabled());
                QVERIFY(filter->cbCDLOverride->isChecked());
                QVERIFY(!filter->edCoefLevel->isEnabled());

                filter->accept();
                QCOMPARE(filter->result(), int(QDialog::Accepted));
            }();
            return filter->result();
        };

        tab_->ScriptAdd->trigger();
        QCOMPARE(refusals,
                 (QStringList{BAD_RANGE,
                              QStringLiteral("Для данного вида статистики не доступен режим "
                                             "выделения по списку значений!"),
                              BAD_RANGE,
                              QStringLiteral("В режиме мультивыделения остановка сценария по "
                                             "количеству комбинаций или чисел не может быть "
                                             "выполнена!\rВыберите другой способ останова."),
                              QStringLiteral("В режиме мультивыделения остановка сценария по "
                                             "количеству комбинаций или чисел не может быть "
                                             "выполнена!\rВыберите другой способ останова.")}));

        // The filter reads back as the dialog left it, coefficients included.
        const TFilterItem item = TextToFilter(stats, StdStr(filterText));
        QCOMPARE(item.Method, &stats.Items(nums));
        QCOMPARE(item.DrawsLen, std::string("0, 100"));
        QVERIFY(item.MultiSelect);
        QCOMPARE(int(item.LevelMode), int(lmValueList));
        QCOMPARE(item.LevelValue, std::string("1-3;1"));
        QCOMPARE(int(item.StopMode), int(smSteps));
        QCOMPARE(item.StopValue, 3);
        QVERIFY(item.CDLOverride);
        QCOMPARE(double(item.CDL.Level), 2.5);

        // The new line is in the list, selected, and in the working scenario.
        const std::string expected =
            ScriptLineText("EXCL:5#RAND#NEX",
                           TScriptFilterTexts{"", "", StdStr(filterText), "", "", "", ""}, "проба");
        QCOMPARE(WorkingFile(), std::vector<std::string>{expected});
        QCOMPARE(tab_->SelectedRows(), std::vector<std::size_t>{0});
        QCOMPARE(PanelText(0), QStringLiteral("Строк: 1"));
        QAbstractItemModel* model = tab_->lvScript->model();
        QCOMPARE(model->index(0, 0).data().toString(), QStringLiteral("проба"));
        QCOMPARE(model->index(0, 1).data().toString(),
                 QStringLiteral("Исключить 5 тиражей; Случайно; Только новые ставки"));
        QVERIFY(model->index(0, 2).data().toString().isEmpty());
        QCOMPARE(model->index(0, 4).data().toString(), filterText);

        // Editing opens on the line; a cancelled filter dialog keeps the filter text.
        int filterDialogs = 0;
        seams_->OnDialog = [&](QDialog& dialog) -> int {
            if (auto* line = qobject_cast<TFormScript*>(&dialog)) {
                [&] {
                    QCOMPARE(line->windowTitle(), QStringLiteral("Редактирование строки"));
                    QCOMPARE(line->edComments->text(), QStringLiteral("проба"));
                    QCOMPARE(line->edDrawsExclude->value(), 5);
                    QCOMPARE(line->edFilter[2]->text(), filterText);
                    line->btnFilter[2]->click();
                    QCOMPARE(line->edFilter[2]->text(), filterText);
                    line->edComments->setText(QStringLiteral("другая"));
                }();
                return QDialog::Accepted;
            }
            if (auto* filter = qobject_cast<TFormFilter*>(&dialog)) {
                ++filterDialogs;
                // The dialog opens on the filter it edits.
                [&] { QCOMPARE(filter->edLevelValue->text(), QStringLiteral("1-3;1")); }();
            }
            return QDialog::Rejected;
        };
        tab_->ScriptEdit->trigger();
        QCOMPARE(filterDialogs, 1);
        QCOMPARE(ScriptLineField(WorkingFile().at(0), SCRIPT_COMMENT_FIELD), std::string("другая"));
    }

    void movingAndDeletingLinesKeepTheWorkingScenario() {
        const std::string a = "FULL:0#EXT| | | | | | | |a";
        const std::string b = "FULL:0#EXT| | | | | | | |b";
        const std::string c = "FULL:0#EXT| | | | | | | |c";
        AddLines({a, b, c});
        QCOMPARE(PanelText(0), QStringLiteral("Строк: 3"));

        Select({0});
        QVERIFY(!tab_->ScriptUp->isEnabled());
        QVERIFY(tab_->ScriptDown->isEnabled());
        tab_->ScriptDown->trigger();
        QCOMPARE(WorkingFile(), (std::vector<std::string>{b, a, c}));
        QCOMPARE(tab_->SelectedRows(), std::vector<std::size_t>{1});
        tab_->ScriptDown->trigger();
        QCOMPARE(WorkingFile(), (std::vector<std::string>{b, c, a}));
        QVERIFY(!tab_->ScriptDown->isEnabled());
        tab_->ScriptUp->trigger();
        QCOMPARE(WorkingFile(), (std::vector<std::string>{b, a, c}));

        // A separator: it cannot be edited, and it is deleted with the others.
        tab_->ScriptEmpty->trigger();
        QCOMPARE(tab_->SelectedRows(), std::vector<std::size_t>{3});
        QVERIFY(!tab_->ScriptEdit->isEnabled());
        QVERIFY(!tab_->ScriptClone->isEnabled());

        Select({0, 3});
        seams_->Answers = {QMessageBox::No};
        tab_->ScriptDel->trigger();
        QCOMPARE(WorkingFile().size(), std::size_t(4));
        QCOMPARE(
            seams_->Boxes.last().Text,
            QStringLiteral("Удалить все выделенные записи (всего будет удалено 2 записи(ей))?"));
        QCOMPARE(seams_->Boxes.last().DefaultButton, QMessageBox::No);
        seams_->Answers = {QMessageBox::Yes};
        tab_->ScriptDel->trigger();
        QCOMPARE(WorkingFile(), (std::vector<std::string>{a, c}));
        QVERIFY(tab_->SelectedRows().empty());
        QCOMPARE(PanelText(0), QStringLiteral("Строк: 2"));

        seams_->Answers = {QMessageBox::Yes};
        tab_->ScriptClr->trigger();
        QVERIFY(WorkingFile().empty());
        QVERIFY(!tab_->ScriptClr->isEnabled());
    }

    void forecastMakesStakesForTheNextDraw() {
        AddLines({"FULL:0#FIRST|" + NumsFilter("10") + "| | | | | | |прогноз"});
        QVERIFY(tab_->ScriptRun->isEnabled());
        tab_->ScriptRun->trigger();
        QVERIFY(seams_->Boxes.isEmpty());
        const std::vector<TStakeData> stakes = ScenarioStakes(Ws().Stakes());
        QCOMPARE(stakes.size(), std::size_t(1));
        QCOMPARE(stakes[0].DrawNumber, DRAWS + 1);
        QVERIFY(!stakes[0].IsChecked());
        QVERIFY(QString::fromStdString(stakes[0].CommentText())
                    .startsWith(QStringLiteral("01.001: прогноз @ FULL#FIRST + ")));
        QCOMPARE(PanelText(3), QStringLiteral("Ставок: 1"));
        QCOMPARE(PanelText(4), QStringLiteral("Сценарий завершен!"));
        QVERIFY(!tab_->Running());
        QVERIFY(tab_->lvScript->isEnabled());
        QVERIFY(tab_->ScriptRun->isEnabled());
    }

    void backTestChecksItsStakesAndHoldsTheWindowStill() {
        AddLines({"CURR:0#FIRST| | | | | | | |тест"});
        OnDialog<TFormTestCnt>([](TFormTestCnt& dialog) {
            [&] {
                QCOMPARE(dialog.windowTitle(), QStringLiteral("Количество тестов"));
                QCOMPARE(dialog.edTestCount->value(), 10);
                QCOMPARE(dialog.edTestCount->maximum(), DRAWS - 1);
            }();
            dialog.edTestCount->setValue(3);
            return int(QDialog::Accepted);
        });
        struct TSeen {
            bool stop = false, run = false, add = false, list = true, draws = true, combs = true,
                 stats = true, scenarioTab = false, exit = true;
        } seen;
        ProbeDuringRun({{[this] { return tab_->Runner().ScriptRunning(); },
                         [&] {
                             seen.stop = tab_->ScriptStop->isEnabled();
                             seen.run = tab_->ScriptRun->isEnabled();
                             seen.add = tab_->ScriptAdd->isEnabled();
                             seen.list = tab_->lvScript->isEnabled();
                             seen.draws = window_->DrawsPage()->isEnabled();
                             seen.combs = window_->CombsPage()->isEnabled();
                             seen.stats = Stats()->isEnabled();
                             seen.scenarioTab = tab_->isEnabled();
                             seen.exit = window_->ExitProgram->isEnabled();
                         }}});
        tab_->ScriptTest->trigger();
        QVERIFY(seen.stop);
        QVERIFY(!seen.run);
        QVERIFY(!seen.add);
        QVERIFY(!seen.list);
        QVERIFY(!seen.draws);
        QVERIFY(!seen.combs);
        QVERIFY(!seen.stats);
        QVERIFY(seen.scenarioTab);
        QVERIFY(!seen.exit);

        // Cycles at offsets 3, 2, 1 stake on draws 28, 29, 30, all in the archive.
        const std::vector<TStakeData> stakes = ScenarioStakes(Ws().Stakes());
        QCOMPARE(stakes.size(), std::size_t(3));
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(stakes[std::size_t(i)].DrawNumber, DRAWS - 2 + i);
            QVERIFY(stakes[std::size_t(i)].IsChecked());
        }
        QCOMPARE(Ws().DrawsOffset(), 0);
        // The combination list held still during the run and shows its outcome now.
        QCOMPARE(std::size_t(window_->CombsPage()->Model()->rowCount()), Ws().Combs().List.Count());
        QVERIFY(!tab_->ScriptStop->isEnabled());
        QVERIFY(tab_->lvScript->isEnabled());
        QVERIFY(window_->DrawsPage()->isEnabled());
        QVERIFY(Stats()->isEnabled());
        QVERIFY(tab_->ScriptTest->isEnabled());
        QCOMPARE(PanelText(4), QStringLiteral("Сценарий завершен!"));
    }

    void stopDuringABackTestKeepsItsOffset() {
        PrepareThreeCycleTest();
        // Cycle 1: the question is declined and the run goes on; cycle 2: confirmed.
        bool stopOffered = false;
        ProbeDuringRun({{InLineOfCycle(1),
                         [&] {
                             seams_->Answers = {QMessageBox::No};
                             QTest::mouseClick(
                                 tab_->findChild<QToolButton*>(QStringLiteral("btnScriptStop")),
                                 Qt::LeftButton);
                         }},
                        {InLineOfCycle(2), [&] {
                             stopOffered = tab_->ScriptStop->isEnabled();
                             seams_->Answers = {QMessageBox::Yes};
                             tab_->ScriptStop->trigger();
                         }}});
        tab_->ScriptTest->trigger();
        const auto questions =
            std::count_if(seams_->Boxes.begin(), seams_->Boxes.end(), [](const TShownBox& box) {
                return box.Text == QStringLiteral("Остановить выполнение сценария?") &&
                       box.DefaultButton == QMessageBox::No;
            });
        QVERIFY(stopOffered);
        QCOMPARE(static_cast<int>(questions), 2);
        QCOMPARE(Ws().DrawsOffset(), 2);
        QCOMPARE(ScenarioStakes(Ws().Stakes()).size(), std::size_t(1));
        QVERIFY(!tab_->Running());
        QVERIFY(tab_->ScriptTest->isEnabled());
        QVERIFY(tab_->lvScript->isEnabled());
    }

    void closingDuringARunAsksAndClosesAfterIt() {
        PrepareThreeCycleTest();
        TScenarioRunner& runner = tab_->Runner();
        bool openAfterNo = false;
        ProbeDuringRun({{InLineOfCycle(1),
                         [&] {
                             seams_->Answers = {QMessageBox::No};
                             window_->close();
                             openAfterNo = window_->isVisible() && runner.ScriptRunning() &&
                                           !runner.ScriptStopRequested();
                         }},
                        {InLineOfCycle(2), [&] {
                             seams_->Answers = {QMessageBox::Yes};
                             window_->close();
                         }}});
        tab_->ScriptTest->trigger();
        QVERIFY(openAfterNo);
        QCOMPARE(Ws().DrawsOffset(), 2);
        // The close waited for the run's end.
        QTRY_VERIFY(!window_->isVisible());
    }

    void picturesOfABackTestDuringAndAfterIt() {
        AddLines({"CURR:0#FIRST| | | | | | | |"});
        QStringList moments;
        bool inSecondCycle = false;
        QVERIFY(tab_->ShootBackTest(3, [&](const QString& moment) {
            moments << moment;
            if (moment == QStringLiteral("run"))
                inSecondCycle = tab_->Running() && tab_->Runner().ScriptCycle() == 2;
        }));
        QCOMPARE(moments, (QStringList{QStringLiteral("run"), QStringLiteral("after")}));
        QVERIFY(inSecondCycle);
        QCOMPARE(ScenarioStakes(Ws().Stakes()).size(), std::size_t(3));
        QVERIFY(!tab_->Running());
    }

    void resultModeStopShowsItsWarning() {
        AddLines({"FULL:0#STOP| | | | | | | |стоп", "FULL:0#FIRST| | | | | | | |"});
        tab_->ScriptRun->trigger();
        QCOMPARE(seams_->Boxes.size(), qsizetype(1));
        QCOMPARE(seams_->Boxes[0].Caption, QStringLiteral("Внимание!"));
        QVERIFY(seams_->Boxes[0].Text.startsWith(
            QStringLiteral("Выполнение сценария прервано, т.к. после применения всех фильтров в "
                           "списке комбинаций их "
                           "осталось более одной: 210!")));
        // The run ended there: no stake from either line.
        QVERIFY(ScenarioStakes(Ws().Stakes()).empty());
        QVERIFY(tab_->ScriptRun->isEnabled());
    }

    void runLogOptionIsStoredAndTheLogOpened() {
        QVERIFY(!tab_->LogToggle->isChecked());
        tab_->LogToggle->trigger();
        QVERIFY(tab_->LogToggle->isChecked());
        const TIniFile frm(WindowSettingsPath(Folder()));
        QVERIFY(frm.ReadBool("TFormMain", "ScriptLogEnabled", false));

        AddLines({"CURR:0#FIRST| | | | | | | |"});
        tab_->ScriptRun->trigger();
        QCOMPARE(seams_->OpenedUrls.size(), qsizetype(1));
        const QString log = seams_->OpenedUrls[0].toLocalFile();
        QVERIFY(QFileInfo(log).fileName().startsWith(QStringLiteral("ScriptLog_")));
        QVERIFY(QFileInfo::exists(log));

        // The option survives a restart.
        tester_.reset();
        CloseWindow(window_);
        QVERIFY(Start());
        QVERIFY(tab_->LogToggle->isChecked());
        QVERIFY(Ws().Script().ScriptLogEnabled);
        QCOMPARE(Ws().Script().Count(), std::size_t(1));
    }
};

QTEST_MAIN(TScenarioTabTest)
#include "scenario_tab_test.moc"
