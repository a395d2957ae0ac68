// The tab "Ставки" driven as a person would: the stake dialog with its refusals, stakes
// from the combination list, deleting by selection, by condition and all, the logs, the
// grid over stakes the desk makes, and a grid over a million stakes that reads only the
// rows it shows.

#include "ui/ui_test_support.h"

#include "app/stakes_workspace.h"
#include "core/ini_file.h"
#include "core/record_helpers.h"
#include "core/text_forms.h"
#include "stakes/stake_appender.h"
#include "stakes/stake_grid.h"
#include "stakes/stake_making.h"
#include "ui/combs/combs_page.h"
#include "ui/stakes/form_multi.h"
#include "ui/stakes/form_stake.h"
#include "ui/stakes/form_stake_filter.h"
#include "ui/stakes/stakes_model.h"
#include "ui/stakes/stakes_tab.h"
#include "ui/shell/window_settings.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QSpinBox>
#include <QTableView>
#include <QTest>

#include <fstream>

using namespace pelko;
using namespace pelko::uitest;

namespace {

const std::string SMALL_LIST = "1,2,3,4,5,6,7,8"; // mode 2: C(8, 6) = 28 combinations
const QString BAD_STAKE = QStringLiteral("Введена некорректная комбинация!");
const QString NO_COMMENT = QStringLiteral("Необходимо ввести комментарий!");

void SelectRows(QTableView* view, std::initializer_list<int> rows) {
    view->clearSelection();
    for (int row : rows)
        view->selectionModel()->select(view->model()->index(row, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

TStakeData Stake(std::int32_t draw, std::initializer_list<int> numbers, const char* comment) {
    TStakeData stake = NewStakeDefaults(draw, 28);
    TComb comb{};
    int i = 0;
    for (int n : numbers)
        comb[i++] = static_cast<std::uint8_t>(n);
    std::sort(comb.begin(), comb.end());
    stake.Numbers = CombToNumberSet(comb);
    stake.SetCommentText(comment);
    return stake;
}

// Draw numbers of the file's records in order (-1 for separators).
QList<int> DrawsInFile(TStakesDesk& desk) {
    QList<int> draws;
    for (std::int64_t i = 0; i < desk.StakesCount(); ++i)
        draws << desk.StakeAt(i).DrawNumber;
    return draws;
}

} // namespace

class TStakesTabTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<TScriptedSeams> seams_;
    std::unique_ptr<TFormMain> window_;
    std::unique_ptr<QAbstractItemModelTester> tester_;

    std::filesystem::path Folder() const { return FolderOf(*dir_); }
    TStakesTab* Tab() { return window_->StakesTab(); }
    TStakesModel* Grid() { return Tab()->Model(); }
    TStakesDesk& Desk() { return window_->Ws().Stakes(); }
    TCombsPage* Combs() { return window_->CombsPage(); }
    QString Cell(int row, int column) { return Grid()->index(row, column).data().toString(); }
    QString Panel(int i) { return window_->StatusPanel(i)->text(); }

    // Ten draws (draw i holds base+1..base+6, base = 7i mod 39) and the 28 combinations of
    // the numbers 1..8.
    bool Start() {
        WriteArchive(Folder(), MakeDraws(10));
        WriteGenerateParams(Folder(), 2, SMALL_LIST);
        window_ = StartWindow(Folder());
        if (!window_) return false;
        tester_ = std::make_unique<QAbstractItemModelTester>(
            Grid(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        return true;
    }
    template <class T> void Script(std::function<int(T&)> script) {
        seams_->OnDialog = [script](QDialog& dialog) {
            T* typed = qobject_cast<T*>(&dialog);
            return typed ? script(*typed) : int(QDialog::Rejected);
        };
    }
    // Stakes with known results: 3 and 0 matches on draw 1, 2 on draw 2, unchecked for 11.
    void MakeCheckedStakes() {
        QVERIFY(Desk().AddStakeInBatch(Stake(1, {8, 9, 10, 1, 2, 3}, "три"), 1, false));
        QVERIFY(Desk().AddStakeInBatch(Stake(1, {1, 2, 3, 4, 5, 6}, "ноль"), 1, false));
        Desk().StartStakesGroup();
        QVERIFY(Desk().AddStakeInBatch(Stake(2, {15, 16, 1, 2, 3, 4}, "два"), 1, false));
        QVERIFY(Desk().AddStakeInBatch(Stake(11, {1, 2, 3, 4, 5, 6}, "потом"), 1, false));
        QCOMPARE(Desk().CheckStakesAndSave(), 3);
        Tab()->StakesChanged(true, false);
    }

  private Q_SLOTS:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        seams_ = std::make_unique<TScriptedSeams>();
    }
    void cleanup() {
        tester_.reset();
        if (window_) CloseWindow(window_);
        seams_.reset();
        dir_.reset();
    }

    void tabIsShownWithItsMenu() {
        QVERIFY(Start());
        // After "Статистика", "Графики", "Карта", "Схема" and "Неделя".
        QCOMPARE(window_->pcRight->indexOf(Tab()), 5);
        QCOMPARE(window_->pcRight->tabText(5), QStringLiteral("Ставки"));
        QCOMPARE(Grid()->rowCount(), 0);
        QCOMPARE(Panel(4), QStringLiteral("Ставок: 0"));
        for (int c = 0; c < scolCount; ++c)
            QVERIFY(Tab()->sgStakes->columnWidth(c) >= StakeColumnWidth(c));
        QCOMPARE(Grid()->headerData(scolComment, Qt::Horizontal).toString(),
                 QStringLiteral("Комментарий"));
        QVERIFY(Tab()->StakeAdd->isEnabled());
        QVERIFY(!Tab()->StakeAddSelected->isEnabled()); // nothing selected in the list
        QVERIFY(!Tab()->StakeFilter->isEnabled());      // nothing to delete
        QVERIFY(!Tab()->StakesXlsExport->isEnabled());
        QCOMPARE(Tab()->StakesCheckManual->shortcut(), QKeySequence(QStringLiteral("Ctrl+F5")));
    }

    void manualStakeWithRefusals() {
        QVERIFY(Start());
        SelectRows(Combs()->lvCombs, {27}); // 3 4 5 6 7 8
        QStringList refusals;
        bool focusRight = true;
        Script<TFormStake>([&](TFormStake& form) {
            if (form.windowTitle() != QStringLiteral("Добавление ставки") ||
                form.edStakeData->text() != QStringLiteral("3;4;5;6;7;8") ||
                form.edDrawNumber->value() != 11 || form.edDrawsCount->value() != 1 ||
                form.edComment->text() != QStringLiteral("Ставка \"вручную\"") ||
                form.edStakeSum->text() != QStringLiteral("33"))
                return int(QDialog::Rejected);
            form.edStakeData->setText(QStringLiteral("1;2;x"));
            if (form.edStakeSum->text() != QStringLiteral("3")) return int(QDialog::Rejected);
            for (const char* bad : {"5;5;10;20;30;40", "1;2;3;4;5", "1;2;3;4;5;46", "0;1;2;3;4;5",
                                    "1;2;3;4;5;6;7;8;9;10;11;12;13;14;15;16"}) {
                form.edStakeData->setText(QString::fromLatin1(bad));
                form.edComment->setFocus();
                form.accept();
                if (form.result() == QDialog::Accepted) return int(QDialog::Accepted);
                refusals << QString::fromLatin1(bad);
                focusRight = focusRight && form.focusWidget() == form.edStakeData;
            }
            form.edStakeData->setText(QStringLiteral("3, 1;2 ,45;10;7"));
            form.edComment->clear();
            form.edStakeData->setFocus();
            form.accept();
            if (form.result() == QDialog::Accepted) return int(QDialog::Accepted);
            focusRight = focusRight && form.focusWidget() == form.edComment;
            form.edComment->setText(QStringLiteral("моя"));
            form.edDrawNumber->setValue(9);
            form.edDrawsCount->setValue(3);
            form.accept();
            return form.result();
        });
        Tab()->StakeAdd->trigger();

        QCOMPARE(refusals.size(), 5);
        QVERIFY(focusRight);
        QCOMPARE(seams_->Boxes.size(), 6);
        for (int i = 0; i < 5; ++i)
            QCOMPARE(seams_->Boxes[i].Text, BAD_STAKE);
        QCOMPARE(seams_->Boxes[5].Text, NO_COMMENT);

        // Draws 9, 10 and 11 from an empty file; 9 and 10 are in the archive and checked.
        QCOMPARE(DrawsInFile(Desk()), (QList<int>{9, -1, 10, -1, 11}));
        const TStakeData first = Desk().StakeAt(0);
        QCOMPARE(QString::fromStdString(NumberSetToText(first.Numbers, ";")),
                 QStringLiteral("1;2;3;7;10;45"));
        QCOMPARE(first.Kind, std::uint8_t(skManual));
        QVERIFY(first.IsChecked());

        QCOMPARE(Grid()->rowCount(), 5);
        QCOMPARE(Cell(0, scolDraw), QStringLiteral("9"));
        QCOMPARE(Cell(0, scolKind), QStringLiteral("Вручную"));
        QCOMPARE(Cell(0, scolNumbers), QStringLiteral("1;2;3;7;10;45"));
        QCOMPARE(Cell(0, scolSample), QStringLiteral("28"));
        QCOMPARE(Cell(0, scolResult), QStringLiteral("30;25;28;26;29;27"));
        QCOMPARE(Cell(0, scolMatchCount), QStringLiteral("0"));
        QCOMPARE(Cell(0, scolComment), QStringLiteral("моя"));
        QCOMPARE(Grid()->index(0, scolDraw).data(Qt::BackgroundRole).value<QColor>(),
                 QColor(0xEA, 0xFF, 0xEA));
        QCOMPARE(Grid()->index(0, scolProfit).data(Qt::ForegroundRole).value<QColor>(),
                 QColor(0xFF, 0, 0));
        QCOMPARE(Grid()->index(0, scolProfit).data(Qt::TextAlignmentRole).toInt(),
                 int(Qt::AlignRight | Qt::AlignVCenter));
        // A separator shows nothing in the window colour; an unchecked stake no result.
        for (int c = 0; c < scolCount; ++c)
            QCOMPARE(Cell(1, c), QString());
        QVERIFY(!Grid()->index(1, scolDraw).data(Qt::BackgroundRole).isValid());
        QCOMPARE(Cell(4, scolResult), QString());
        QVERIFY(!Cell(4, scolProfit).isEmpty());
        QVERIFY(!Grid()->index(4, scolProfit).data(Qt::ForegroundRole).isValid());

        QCOMPARE(Tab()->sgStakes->currentIndex().row(), 4); // scrolled to the new stakes
        QCOMPARE(Panel(4), QStringLiteral("Ставок: 5"));
        QCOMPARE(Panel(5), QStringLiteral("Рейтинг: 1"));
    }

    void cancelledStakeDialogAddsNothing() {
        QVERIFY(Start());
        seams_->OnDialog = [](QDialog&) { return int(QDialog::Rejected); };
        Tab()->StakeAdd->trigger();
        Tab()->StakeAddRandom->trigger();
        QCOMPARE(Desk().StakesCount(), 0);
    }

    void randomStakeComesFromTheList() {
        QVERIFY(Start());
        QString numbers;
        Script<TFormStake>([&](TFormStake& form) {
            numbers = form.edStakeData->text();
            form.accept();
            return form.result();
        });
        Tab()->StakeAddRandom->trigger();
        const QStringList words = numbers.split(QLatin1Char(';'));
        QCOMPARE(words.size(), 6);
        for (const QString& w : words)
            QVERIFY(w.toInt() >= 1 && w.toInt() <= 8);
        QCOMPARE(Desk().StakesCount(), 1);
        QCOMPARE(Cell(0, scolNumbers), numbers);
    }

    void stakesForSelectedAndAllCombinations() {
        QVERIFY(Start());
        SelectRows(Combs()->lvCombs, {0, 5});
        QVERIFY(Tab()->StakeAddSelected->isEnabled());
        bool defaults = false;
        Script<TFormMulti>([&](TFormMulti& form) {
            defaults = form.windowTitle() == QStringLiteral("Добавление мультиставки") &&
                       form.edDrawNumber->value() == 11 && form.edDrawsCount->value() == 1 &&
                       form.edComment->text() == QStringLiteral("Ставка \"вручную\"");
            form.edComment->clear();
            form.accept();
            if (form.result() == QDialog::Accepted) return int(QDialog::Accepted);
            form.edComment->setText(QStringLiteral("мульти"));
            form.edDrawsCount->setValue(2);
            form.accept();
            return form.result();
        });
        Tab()->StakeAddSelected->trigger();
        QVERIFY(defaults);
        QCOMPARE(seams_->Boxes.size(), 1);
        QCOMPARE(seams_->Boxes[0].Text, NO_COMMENT);
        QCOMPARE(DrawsInFile(Desk()), (QList<int>{11, -1, 12, -1, 11, -1, 12}));
        QCOMPARE(Cell(0, scolNumbers), QStringLiteral("1;2;3;4;5;6"));
        QCOMPARE(Cell(0, scolComment), QStringLiteral("мульти"));
        QCOMPARE(Cell(4, scolNumbers), QStringLiteral("1;2;3;4;7;8")); // the sixth combination
        QVERIFY(!Combs()->lvCombs->selectionModel()->hasSelection());
        QVERIFY(!Tab()->StakeAddSelected->isEnabled());

        Script<TFormMulti>([](TFormMulti& form) {
            form.accept();
            return form.result();
        });
        Tab()->StakeAddAll->trigger();
        QCOMPARE(Grid()->rowCount(), 7 + 28);
        QCOMPARE(Cell(34, scolNumbers), QStringLiteral("3;4;5;6;7;8"));
        QCOMPARE(Tab()->sgStakes->currentIndex().row(), 34);
        QCOMPARE(Panel(4), QStringLiteral("Ставок: 35"));
    }

    void gridFollowsStakesMadeThroughTheDesk() {
        QVERIFY(Start());
        MakeCheckedStakes();
        QCOMPARE(Grid()->rowCount(), 5);
        QCOMPARE(Cell(0, scolMatchCount), QStringLiteral("3"));
        QCOMPARE(Cell(0, scolMatches), QStringLiteral("8 9 10"));
        QCOMPARE(Cell(0, scolResult), QStringLiteral("13;8;11;9;12;10"));
        QCOMPARE(Cell(2, scolDraw), QString());
        QCOMPARE(Cell(3, scolMatchCount), QStringLiteral("2"));
        QCOMPARE(Cell(4, scolMatchCount), QString());

        // A scenario's kind has its own colour; the draw arrives later and a check settles
        // the stake in place.
        TStakeData scenario = Stake(11, {32, 33, 34, 1, 2, 3}, "сценарий");
        scenario.Kind = skScenario;
        QVERIFY(Desk().AddStakeInBatch(scenario, 1, false));
        QCOMPARE(Grid()->rowCount(), 6);
        QCOMPARE(Grid()->index(5, scolDraw).data(Qt::BackgroundRole).value<QColor>(),
                 QColor(0xEA, 0xFF, 0xFF));
        QCOMPARE(Cell(5, scolResult), QString());
        window_->Ws().AddDraw(MakeDraw(11, {32, 33, 34, 40, 41, 42}));
        Tab()->StakesCheckManual->trigger();
        QCOMPARE(Cell(5, scolMatchCount), QStringLiteral("3"));
        QCOMPARE(Cell(5, scolMatches), QStringLiteral("32 33 34"));
        QCOMPARE(Cell(4, scolMatchCount), QStringLiteral("0"));

        // Inside a long operation the grid follows once per pass of the event loop.
        window_->Ws().Busy().Begin();
        for (int i = 0; i < 3; ++i) {
            AppendStakes(Desk().File(), Stake(12, {1, 2, 3, 4, 5, 6}, "пакет"), 1);
            Desk().OnStakesChanged(false, true);
        }
        QCOMPARE(Grid()->rowCount(), 6);
        QCOMPARE(Panel(4), QStringLiteral("Ставок: 9"));
        QCoreApplication::processEvents();
        QCOMPARE(Grid()->rowCount(), 9);
        QCOMPARE(Tab()->sgStakes->currentIndex().row(), 8);
        window_->Ws().Busy().End();
    }

    void deleteByCondition_data() {
        QTest::addColumn<int>("condition");
        QTest::addColumn<int>("value");
        QTest::addColumn<QList<int>>("matchesLeft"); // -2 stands for a separator
        // The file: 3 and 0 matches, a separator, 2 matches, unchecked (-1).
        QTest::newRow("= 0") << int(scEqual) << 0 << QList<int>{3, -2, 2, -1};
        QTest::newRow("> 2") << int(scMore) << 2 << QList<int>{0, -2, 2, -1};
        QTest::newRow(">= 2") << int(scNotLess) << 2 << QList<int>{0, -2, -1};
        QTest::newRow("< 0 takes the unchecked") << int(scLess) << 0 << QList<int>{3, 0, -2, 2};
        QTest::newRow("<= 6 keeps only separators") << int(scNotMore) << 6 << QList<int>{-2};
    }
    void deleteByCondition() {
        QFETCH(int, condition);
        QFETCH(int, value);
        QFETCH(QList<int>, matchesLeft);
        QVERIFY(Start());
        MakeCheckedStakes();
        bool opensOnEqualZero = false;
        QString okHint;
        Script<TFormStakeFilter>([&](TFormStakeFilter& form) {
            opensOnEqualZero = form.windowTitle() == QStringLiteral("Удаление по условию") &&
                               form.cbCondition->currentIndex() == 0 &&
                               form.cbCondition->currentText() == QStringLiteral("Равно [ = ]") &&
                               form.edValue->value() == 0 && form.edValue->maximum() == 6;
            form.cbCondition->setCurrentIndex(condition);
            form.edValue->setValue(value);
            return int(QDialog::Accepted);
        });
        Tab()->StakeFilter->trigger();
        QVERIFY(opensOnEqualZero);
        QList<int> left;
        for (std::int64_t i = 0; i < Desk().StakesCount(); ++i) {
            const TStakeData stake = Desk().StakeAt(i);
            left << (stake.IsSeparator() ? -2 : stake.MatchCount());
        }
        QCOMPARE(left, matchesLeft);
        QCOMPARE(Grid()->rowCount(), matchesLeft.size());
        QCOMPARE(Panel(4), QStringLiteral("Ставок: %1").arg(matchesLeft.size()));
        QCOMPARE(Panel(5), QStringLiteral("Рейтинг: 3")); // the ratings keep deleted stakes

        // The next time it opens on "Равно [ = ]" and 0 again; cancelling deletes nothing.
        opensOnEqualZero = false;
        Script<TFormStakeFilter>([&](TFormStakeFilter& form) {
            opensOnEqualZero = form.cbCondition->currentIndex() == 0 && form.edValue->value() == 0;
            return int(QDialog::Rejected);
        });
        if (Tab()->StakeFilter->isEnabled()) Tab()->StakeFilter->trigger();
        QCOMPARE(Desk().StakesCount(), matchesLeft.size());
    }

    void deleteSelectedRowsAsksFirst() {
        QVERIFY(Start());
        MakeCheckedStakes();
        QVERIFY(Tab()->sgStakes->selectionModel()->isRowSelected(4)); // the newest stake
        Tab()->sgStakes->clearSelection();
        QVERIFY(!Tab()->StakeDel->isEnabled());
        SelectRows(Tab()->sgStakes, {1, 2, 3}); // 0 matches, the separator, 2 matches
        QVERIFY(Tab()->StakeDel->isEnabled());
        seams_->Answers << QMessageBox::No;
        Tab()->StakeDel->trigger();
        QCOMPARE(seams_->Boxes.size(), 1);
        QCOMPARE(seams_->Boxes[0].Caption, QStringLiteral("Предупреждение"));
        QCOMPARE(
            seams_->Boxes[0].Text,
            QStringLiteral("Удалить все выделенные записи (всего будет удалено 3 записи(ей))?"));
        QCOMPARE(seams_->Boxes[0].DefaultButton, QMessageBox::No);
        QCOMPARE(Desk().StakesCount(), 5);

        seams_->Answers << QMessageBox::Yes;
        Tab()->StakeDel->trigger();
        QCOMPARE(DrawsInFile(Desk()), (QList<int>{1, 11}));
        QCOMPARE(Grid()->rowCount(), 2);
        QCOMPARE(Cell(1, scolComment), QStringLiteral("потом"));
        QVERIFY(!Tab()->StakeDel->isEnabled());

        SelectRows(Tab()->sgStakes, {1});
        seams_->Answers << QMessageBox::Yes;
        Tab()->StakeDel->trigger();
        QCOMPARE(seams_->Boxes.last().Text, QStringLiteral("Удалить выделенную запись?"));
        QCOMPARE(DrawsInFile(Desk()), (QList<int>{1}));
    }

    void deleteAllThenOfferTheRatingsRebuild() {
        QVERIFY(Start());
        MakeCheckedStakes();
        seams_->Answers << QMessageBox::Yes << QMessageBox::Yes;
        Tab()->StakeClear->trigger();
        QCOMPARE(seams_->Boxes.size(), 2);
        QCOMPARE(
            seams_->Boxes[0].Text,
            QStringLiteral("Удалить все выделенные записи (всего будет удалено 5 записи(ей))?"));
        QCOMPARE(seams_->Boxes[1].Caption, QStringLiteral("Подтверждение"));
        QCOMPARE(Desk().StakesCount(), 0);
        QCOMPARE(Grid()->rowCount(), 0);
        QCOMPARE(Panel(4), QStringLiteral("Ставок: 0"));
        QCOMPARE(Panel(5), QStringLiteral("Рейтинг: 0"));
        QVERIFY(!Tab()->StakeClear->isEnabled());
    }

    void stakeLogsAndTheirOptions() {
        QVERIFY(Start());
        QVERIFY(!Tab()->LogStakes->isChecked());
        QVERIFY(Tab()->StakesScroll->isChecked());
        Tab()->LogStakes->trigger();
        Tab()->StakesCheckLine->trigger();
        {
            const TIniFile frm(WindowSettingsPath(Folder()));
            QVERIFY(frm.ReadBool("TFormMain", "StakesLogEnabled", false));
            QVERIFY(!frm.ReadBool("TFormMain", "StakesCheckOnLine", true));
        }
        QVERIFY(Desk().Options.LogEnabled);
        MakeCheckedStakes();
        for (int m : {0, 2, 3})
            QVERIFY(QFile::exists(dir_->filePath(QStringLiteral("Pelko_6x45-%1.log").arg(m))));
        QVERIFY(!QFile::exists(dir_->filePath(QStringLiteral("Pelko_6x45-1.log"))));

        Tab()->LogStakesDelete->trigger();
        QCOMPARE(seams_->Boxes.last().Caption, QStringLiteral("Информация"));
        QVERIFY(seams_->Boxes.last().Text.contains(QStringLiteral("Всего - 3, обработано - 3")));
        QVERIFY(!QFile::exists(dir_->filePath(QStringLiteral("Pelko_6x45-0.log"))));
        Tab()->LogStakesDelete->trigger();
        QCOMPARE(seams_->Boxes.last().Text, QStringLiteral("Файлы журналов не найдены!"));

        // The options and the grid's columns come back with the window.
        Tab()->sgStakes->setColumnWidth(scolComment, 333);
        CloseWindow(window_);
        tester_.reset();
        window_ = StartWindow(Folder());
        QVERIFY(window_);
        QVERIFY(Tab()->LogStakes->isChecked());
        QVERIFY(!Tab()->StakesCheckLine->isChecked());
        QVERIFY(!Desk().Options.CheckOnLine);
        QCOMPARE(Tab()->sgStakes->columnWidth(scolComment), 333);
    }

    void combinationListOffersTheStakeActions() {
        QVERIFY(Start());
        QCOMPARE(Tab()->StakeAdd->shortcut(), QKeySequence(Qt::Key_F4));
        QCOMPARE(Tab()->StakeAddRandom->shortcut(), QKeySequence(QStringLiteral("Ctrl+F4")));
        QCOMPARE(Tab()->StakeAddAll->shortcut(), QKeySequence(QStringLiteral("Ctrl+Alt+F4")));

        // A double click on a combination opens the stake dialog with it.
        QString numbers;
        Script<TFormStake>([&](TFormStake& form) {
            numbers = form.edStakeData->text();
            return int(QDialog::Rejected);
        });
        QTableView* list = Combs()->lvCombs;
        window_->pcLeft->setCurrentWidget(Combs());
        const QModelIndex second = list->model()->index(1, 1);
        const QPoint at = list->visualRect(second).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(numbers, QStringLiteral("1;2;3;4;5;7"));

        // Alt+F4 makes stakes while the list has the focus and ends the program elsewhere.
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        list->setFocus();
        QTRY_COMPARE(Tab()->StakeAddSelected->shortcut(), QKeySequence(QStringLiteral("Alt+F4")));
        QVERIFY(window_->ExitProgram->shortcut().isEmpty());
        window_->edDrawsOffset->setFocus();
        QTRY_COMPARE(window_->ExitProgram->shortcut(), QKeySequence(QStringLiteral("Alt+F4")));
        QVERIFY(Tab()->StakeAddSelected->shortcut().isEmpty());
    }

    void spreadsheetExportOfTheGrid() {
        QVERIFY(Start());
        MakeCheckedStakes();
        Tab()->StakesXlsExport->trigger();
        QCOMPARE(seams_->OpenedUrls.size(), 1);
        const QString file = seams_->OpenedUrls[0].toLocalFile();
        QVERIFY(file.endsWith(QStringLiteral(".xlsx")));
        QVERIFY(QFileInfo(file).fileName().startsWith(QStringLiteral("Ставки")));
        QVERIFY(QFileInfo(file).size() > 0);
        QFile::remove(file);
    }

    // A million stakes: the grid opens and scrolls to the end reading only rows in view.
    void millionStakesAreReadOnDemand() {
        constexpr std::int64_t COUNT = 1000000;
        {
            std::ofstream out(Folder() / STAKES_FILE_NAME, std::ios::binary);
            std::string block;
            block.reserve(4096 * STAKE_RECORD_SIZE);
            for (std::int64_t i = 0; i < COUNT; ++i) {
                const TStakeData stake =
                    i % 10 == 9 ? MakeSeparator()
                                : Stake(11 + static_cast<int>(i / 10), {1, 2, 3, 4, 5, 6}, "м");
                block += EncodeStakeRecord(stake);
                if (block.size() >= 4096 * STAKE_RECORD_SIZE || i + 1 == COUNT) {
                    out.write(block.data(), static_cast<std::streamsize>(block.size()));
                    block.clear();
                }
            }
        }
        WriteArchive(Folder(), MakeDraws(10));
        WriteGenerateParams(Folder(), 2, SMALL_LIST);
        QElapsedTimer timer;
        timer.start();
        window_ = StartWindow(Folder());
        QVERIFY(window_);
        window_->pcRight->setCurrentWidget(Tab());
        QCoreApplication::processEvents();
        const qint64 opened = timer.elapsed();
        QCOMPARE(Grid()->rowCount(), int(COUNT));
        QCOMPARE(Panel(4), QStringLiteral("Ставок: 1000000"));
        Tab()->sgStakes->scrollToBottom();
        Tab()->sgStakes->viewport()->repaint();
        QCoreApplication::processEvents();
        const qint64 scrolled = timer.elapsed();
        QCOMPARE(Cell(int(COUNT) - 2, scolDraw), QString::number(11 + (COUNT - 2) / 10));
        QCOMPARE(Cell(int(COUNT) - 1, scolDraw), QString());
        // Rows in view, a few times over at most: never the file.
        QVERIFY2(Grid()->RecordsRead() < 2000, qPrintable(QString::number(Grid()->RecordsRead())));
        qInfo("stakes grid over %lld stakes: window up and tab shown in %lld ms, scrolled to the "
              "end in %lld ms more; %lld records read",
              static_cast<long long>(COUNT), static_cast<long long>(opened),
              static_cast<long long>(scrolled - opened),
              static_cast<long long>(Grid()->RecordsRead()));
    }
};

QTEST_MAIN(TStakesTabTest)
#include "stakes_tab_test.moc"
