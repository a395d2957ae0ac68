// The main window driven as a person would: start-up on a data folder, the draw dialog,
// generation, exclusion and undo, the enable rules, the settings across a restart.

#include "ui/ui_test_support.h"

#include "core/config.h"
#include "core/draw_archive.h"
#include "core/ini_file.h"
#include "platform/data_folder.h"
#include "ui/combs/combs_model.h"
#include "ui/combs/combs_page.h"
#include "ui/draws/draws_model.h"
#include "ui/draws/draws_page.h"
#include "ui/combs/filters_model.h"
#include "ui/draws/form_draw.h"
#include "ui/combs/form_gen_combs.h"
#include "ui/stats/statistics_tab.h"
#include "ui/shell/window_settings.h"
#include "app/stakes_workspace.h"
#include "core/record_helpers.h"
#include "stakes/stake_making.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include <fstream>

using namespace pelko;
using namespace pelko::uitest;

namespace {

const std::string SMALL_LIST = "1,2,3,4,5,6,7,8"; // mode 2: C(8, 6) = 28 combinations

QString PanelText(TFormMain& w, int panel) {
    return w.StatusPanel(panel)->text();
}

void SelectRows(QTableView* view, std::initializer_list<int> rows) {
    view->clearSelection();
    for (int row : rows)
        view->selectionModel()->select(view->model()->index(row, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

TDrawsArray ReadArchive(const std::filesystem::path& folder) {
    TDrawsArray draws;
    ReadDrawsFile(folder / DRAWS_FILE_NAME, draws);
    return draws;
}

} // namespace

class TFormMainTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<TScriptedSeams> seams_;
    std::unique_ptr<TFormMain> window_;
    std::vector<std::unique_ptr<QAbstractItemModelTester>> testers_;

    std::filesystem::path Folder() const { return FolderOf(*dir_); }

    // A window over ten draws and the 28 combinations of my numbers 1..8, with every model
    // under a model tester.
    bool Start(const TDrawsArray& draws = MakeDraws(10)) {
        WriteArchive(Folder(), draws);
        WriteGenerateParams(Folder(), 2, SMALL_LIST);
        window_ = StartWindow(Folder());
        if (!window_) return false;
        WatchModels();
        return true;
    }
    void WatchModels() {
        testers_.clear();
        for (QAbstractItemModel* model : std::initializer_list<QAbstractItemModel*>{
                 window_->DrawsPage()->Model(), window_->CombsPage()->Model(),
                 window_->CombsPage()->FiltersModel()})
            testers_.push_back(std::make_unique<QAbstractItemModelTester>(
                model, QAbstractItemModelTester::FailureReportingMode::QtTest));
    }
    TDrawsPage* Draws() { return window_->DrawsPage(); }
    TCombsPage* Combs() { return window_->CombsPage(); }
    Workspace& Ws() { return window_->Ws(); }

  private Q_SLOTS:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        seams_ = std::make_unique<TScriptedSeams>();
    }
    void cleanup() {
        testers_.clear();
        if (window_) CloseWindow(window_);
        seams_.reset();
        dir_.reset();
    }

    void startupShowsArchiveListAndStatus() {
        QVERIFY(Start());
        QVERIFY(window_->windowTitle().contains(QStringLiteral(" версия ")));
        QCOMPARE(PanelText(*window_, 0), QStringLiteral("Архив тиражей: 10"));
        QCOMPARE(PanelText(*window_, 1), QStringLiteral("Следующий тираж: 11"));
        QCOMPARE(PanelText(*window_, 3), QStringLiteral("Комбинаций: 28"));
        QCOMPARE(PanelText(*window_, 6), QString()); // start-up cleared its status text
        QVERIFY(seams_->Boxes.isEmpty());

        // Newest on top, the analysis point painted, the "S" column summed.
        TDrawsModel* model = Draws()->Model();
        QCOMPARE(model->rowCount(), 10);
        QCOMPARE(model->index(0, TDrawsModel::colNumber).data().toInt(), 10);
        QCOMPARE(model->index(9, TDrawsModel::colNumber).data().toInt(), 1);
        QCOMPARE(model->index(0, 0).data(Qt::BackgroundRole).value<QColor>(),
                 QColor(0xFF, 0xAA, 0xAA));
        QVERIFY(model->index(1, TDrawsModel::colSum).data(Qt::BackgroundRole).value<QColor>() ==
                Qt::white);
        const TDrawData& newest = Ws().Draws().back();
        int sum = 0;
        for (auto n : newest.Nums)
            sum += n;
        QCOMPARE(model->index(0, TDrawsModel::colSum).data().toInt(), sum);
        QCOMPARE(model->index(0, TDrawsModel::colN1).data().toInt(), int(newest.Nums[0]));

        // The offset moves the painted row and the status panels.
        window_->edDrawsOffset->setValue(2);
        QCOMPARE(Ws().DrawsOffset(), 2);
        QCOMPARE(model->index(2, 0).data(Qt::BackgroundRole).value<QColor>(),
                 QColor(0xFF, 0xAA, 0xAA));
        QCOMPARE(PanelText(*window_, 1), QStringLiteral("Следующий тираж: 9"));
        QCOMPARE(PanelText(*window_, 2), QString::fromStdString(HiddenDrawText(Ws().Draws(), 2)));
        QCOMPARE(window_->edDrawsOffset->maximum(), 9);

        QCOMPARE(Combs()->Model()->rowCount(), 28);
        QCOMPARE(Combs()->Model()->index(27, TCombsModel::colN1).data().toInt(), 3);
        QCOMPARE(Combs()->Model()->index(27, TCombsModel::colPosition).data().toInt(), 28);
    }

    void stakesPanelsFollowTheDesk() {
        // Two stakes made earlier for draw 10, which the archive holds.
        {
            TStakesFile file;
            file.Open(Folder() / STAKES_FILE_NAME);
            TStakeData stake = NewStakeDefaults(10, 28);
            stake.Numbers = CombToNumberSet({1, 2, 3, 4, 5, 6});
            file.Write(TSeekOrigin::Begin, 0, stake);
            stake.SetCommentText("другая");
            file.Write(TSeekOrigin::Begin, 1, stake);
        }
        QVERIFY(Start());
        QCOMPARE(PanelText(*window_, 4), QStringLiteral("Ставок: 2"));
        QCOMPARE(PanelText(*window_, 5), QStringLiteral("Рейтинг: 0"));
        TStakeData stake = Ws().Stakes().NewStake(28);
        stake.Numbers = CombToNumberSet({7, 8, 9, 10, 11, 12});
        QVERIFY(Ws().Stakes().AddStakeInBatch(stake, 2, false));
        // A separator before each draw of the series.
        QCOMPARE(PanelText(*window_, 4), QStringLiteral("Ставок: 6"));
        QCOMPARE(Ws().Stakes().CheckStakesAndSave(), 2);
        QCOMPARE(PanelText(*window_, 5), QStringLiteral("Рейтинг: 2"));

        // No help pages are installed here: F1 stays disabled and does nothing.
        QVERIFY(!window_->GetHelp->isEnabled());
        window_->GetHelp->trigger();
        QTest::keyClick(window_.get(), Qt::Key_F1);
        QVERIFY(seams_->OpenedUrls.isEmpty());
    }

    void secondWindowOnTheFolderIsRefused() {
        QVERIFY(Start());
        auto second = StartWindow(Folder());
        QVERIFY(second);
        QCOMPARE(second->ExitCode(), 1);
        QVERIFY(!seams_->Boxes.isEmpty());
        QCOMPARE(seams_->Boxes.last().Caption, QStringLiteral("Ошибка"));
        // The folder's lock names who holds it, then the exclusive-access text follows.
        QVERIFY(seams_->Boxes.last().Text.startsWith(
            QStringLiteral("Папка данных занята другой копией программы (PID ")));
        QVERIFY(seams_->Boxes.last().Text.contains(
            QStringLiteral("Невозможно получить монопольный доступ к файлам данных!")));
        QTRY_VERIFY(!second->isVisible());
        second.reset();
        // The first window keeps its file.
        QVERIFY(Ws().Stakes().IsOpen());
        QVERIFY(Ws().Stakes().AddStakeInBatch(Ws().Stakes().NewStake(1), 1, false));
    }

    void newDataFolderGetsTheSampleArchiveAndTheFullList() {
        window_ = StartWindow(Folder());
        QVERIFY(window_);
        QVERIFY(std::filesystem::exists(Folder() / DRAWS_FILE_NAME));
        QVERIFY(Ws().Draws().size() > 1000);
        QCOMPARE(Ws().Combs().List.Count(), std::size_t(COMBS_TOTAL));
        QCOMPARE(Combs()->Model()->rowCount(), COMBS_TOTAL);

        // Scrolling to the end and selecting everything hold one range, not a row each.
        window_->pcLeft->setCurrentWidget(Combs());
        Combs()->lvCombs->scrollToBottom();
        Combs()->CombsSelectAll->trigger();
        const TCombSelection selection = Combs()->Selection();
        QCOMPARE(selection.Ranges().size(), std::size_t(1));
        QCOMPARE(selection.CountBelow(COMBS_TOTAL), std::size_t(COMBS_TOTAL));

        Combs()->CombsDelSelected->trigger();
        QCOMPARE(Ws().Combs().List.Count(), std::size_t(0));
        QCOMPARE(PanelText(*window_, 3), QStringLiteral("Комбинаций: 0"));
        Combs()->CombsUndo->trigger();
        QCOMPARE(Ws().Combs().List.Count(), std::size_t(COMBS_TOTAL));
    }

    void drawDialogRefusesBadNumbersThenAdds() {
        QVERIFY(Start());
        QStringList refusedTexts;
        QString title;
        bool focusOnNumbers = true;
        seams_->OnDialog = [&](QDialog& dialog) {
            auto& form = dynamic_cast<TFormDraw&>(dialog);
            title = form.windowTitle();
            if (form.edDrawNumber->value() != 11) return int(QDialog::Rejected);
            for (const char* bad : {"1;2;3;4;5;5", "0;1;2;3;4;5", "1;2;3;4;5", "1;2;3;4;5;46",
                                    "a;b;c;d;e;f", "1;2;3;4;5;6;7"}) {
                form.edDrawData->setText(QString::fromLatin1(bad));
                form.edDrawNumber->setFocus();
                form.accept();
                if (form.result() == QDialog::Accepted) return int(QDialog::Accepted);
                refusedTexts << QString::fromLatin1(bad);
                focusOnNumbers = focusOnNumbers && form.focusWidget() == form.edDrawData;
            }
            form.edDrawData->setText(QStringLiteral("45,1,2,3,4,5"));
            form.accept();
            return form.result();
        };
        Draws()->DrawsAdd->trigger();

        QCOMPARE(title, QStringLiteral("Введите данные следующего тиража"));
        QCOMPARE(refusedTexts.size(), 6);
        QVERIFY(focusOnNumbers);
        QCOMPARE(seams_->Boxes.size(), 6);
        for (const TShownBox& box : seams_->Boxes) {
            QCOMPARE(box.Caption, QStringLiteral("Ошибка"));
            QCOMPARE(box.Text, QStringLiteral("Введена некорректная комбинация!"));
        }
        const TDrawsArray stored = ReadArchive(Folder());
        QCOMPARE(stored.size(), std::size_t(11));
        QCOMPARE(stored.back().Number, 11);
        const std::uint8_t typed[6] = {45, 1, 2, 3, 4, 5};
        QVERIFY(std::equal(typed, typed + 6, stored.back().Nums));
        QCOMPARE(Draws()->Model()->index(0, TDrawsModel::colN1).data().toInt(), 45);
        QCOMPARE(PanelText(*window_, 0), QStringLiteral("Архив тиражей: 11"));
    }

    void cancelledDrawDialogChangesNothing() {
        QVERIFY(Start());
        seams_->OnDialog = [](QDialog&) { return int(QDialog::Rejected); };
        Draws()->DrawsAdd->trigger();
        QCOMPARE(ReadArchive(Folder()).size(), std::size_t(10));
    }

    void editDrawWritesItBackInPlace() {
        QVERIFY(Start());
        SelectRows(Draws()->lvDraws, {1}); // draw 9, the second newest
        QVERIFY(Draws()->DrawsEdit->isEnabled());
        seams_->OnDialog = [](QDialog& dialog) {
            auto& form = dynamic_cast<TFormDraw&>(dialog);
            if (form.edDrawNumber->value() != 9) return int(QDialog::Rejected);
            form.edDrawNumber->setValue(99);
            form.edDrawData->setText(QStringLiteral("7;8;9;10;11;12"));
            form.accept();
            return form.result();
        };
        Draws()->DrawsEdit->trigger();
        const TDrawsArray stored = ReadArchive(Folder());
        QCOMPARE(stored.size(), std::size_t(10));
        QCOMPARE(stored[8].Number, 99);
        QCOMPARE(int(stored[8].Nums[0]), 7);
        QCOMPARE(int(stored[8].Nums[5]), 12);
        QCOMPARE(Draws()->Model()->index(1, TDrawsModel::colNumber).data().toInt(), 99);
    }

    void deleteDrawsAsksFirst_data() {
        QTest::addColumn<bool>("answerYes");
        QTest::newRow("yes") << true;
        QTest::newRow("no") << false;
    }
    void deleteDrawsAsksFirst() {
        QFETCH(bool, answerYes);
        QVERIFY(Start());
        SelectRows(Draws()->lvDraws, {0, 2}); // draws 10 and 8
        seams_->Answers << (answerYes ? QMessageBox::Yes : QMessageBox::No);
        Draws()->DrawsDel->trigger();
        QCOMPARE(seams_->Boxes.size(), 1);
        QCOMPARE(seams_->Boxes[0].Caption, QStringLiteral("Предупреждение"));
        QCOMPARE(
            seams_->Boxes[0].Text,
            QStringLiteral("Удалить все выделенные записи (всего будет удалено 2 записи(ей))?"));
        QCOMPARE(seams_->Boxes[0].DefaultButton, QMessageBox::No);
        const TDrawsArray stored = ReadArchive(Folder());
        if (!answerYes) {
            QCOMPARE(stored.size(), std::size_t(10));
            return;
        }
        QCOMPARE(stored.size(), std::size_t(8));
        QCOMPARE(FindDraw(stored, 10), -1);
        QCOMPARE(FindDraw(stored, 8), -1);
        QCOMPARE(FindDraw(stored, 9), 7);
        QVERIFY(!Draws()->lvDraws->selectionModel()->hasSelection());
    }

    void generateWithAMode_data() {
        QTest::addColumn<bool>("saveDefaults");
        QTest::newRow("saved as defaults") << true;
        QTest::newRow("this time only") << false;
    }
    void generateWithAMode() {
        QFETCH(bool, saveDefaults);
        QVERIFY(Start());
        bool saveStartsUnchecked = false;
        seams_->OnDialog = [&](QDialog& dialog) {
            auto& form = dynamic_cast<TFormGenCombs&>(dialog);
            saveStartsUnchecked = !form.cbSaveParameters->isChecked();
            form.cbCombsGenerateMode->setCurrentIndex(2);
            form.edCombsGenerateParam->setText(QStringLiteral("1,2,3,4,5,6,7"));
            form.cbSaveParameters->setChecked(saveDefaults);
            return int(QDialog::Accepted);
        };
        Combs()->CombsGen->trigger();
        QVERIFY(saveStartsUnchecked);
        QCOMPARE(Ws().Combs().List.Count(), std::size_t(7));
        QCOMPARE(PanelText(*window_, 3), QStringLiteral("Комбинаций: 7"));
        QCOMPARE(Combs()->Model()->index(6, TCombsModel::colN1).data().toInt(), 2);
        QVERIFY(!Combs()->CombsUndo->isEnabled()); // a new list cannot be undone
        const TGenerateParams saved = LoadGenerateParams(Folder() / DATA_INI_NAME);
        QCOMPARE(saved.Parameters, saveDefaults ? std::string("1,2,3,4,5,6,7") : SMALL_LIST);
    }

    void generationDialogEnablesItsFieldsByMode() {
        TGenerateParams params;
        TFormGenCombs form(params);
        for (int mode = 0; mode <= 4; ++mode) {
            form.cbCombsGenerateMode->setCurrentIndex(mode);
            QCOMPARE(form.edCombsGenerateParam->isEnabled(), mode != 0);
            QCOMPARE(form.btnSelectFile->isEnabled(), mode == 4);
        }
        seams_->FileNames << QStringLiteral("/tmp/chosen.lcv");
        form.btnSelectFile->click();
        QCOMPARE(form.edCombsGenerateParam->text(), QStringLiteral("/tmp/chosen.lcv"));
    }

    void excludeRecentDrawsWithEnterThenUndo() {
        TDrawsArray draws = MakeDraws(9);
        draws.push_back(MakeDraw(10, {6, 5, 4, 3, 2, 1})); // in the list as 1-2-3-4-5-6
        QVERIFY(Start(draws));
        QVERIFY(!Combs()->CombsDelExists->isEnabled()); // N = 0
        window_->pcLeft->setCurrentWidget(Combs());
        Combs()->edCombsExclude->setValue(1);
        QVERIFY(Combs()->CombsDelExists->isEnabled());
        QTest::keyClick(Combs()->edCombsExclude, Qt::Key_Return);

        QCOMPARE(Ws().Combs().List.Count(), std::size_t(27));
        TFiltersModel* history = Combs()->FiltersModel();
        QCOMPARE(history->rowCount(), 1);
        QCOMPARE(history->index(0, 0).data().toString(), QStringLiteral("Последние тиражи"));
        QCOMPARE(history->index(0, 1).data().toString(), QStringLiteral("1"));
        QCOMPARE(history->index(0, 2).data().toInt(), 27);
        QVERIFY(!history->index(0, 0).data(Qt::DecorationRole).value<QIcon>().isNull());
        QVERIFY(Combs()->CombsUndo->isEnabled());

        Combs()->CombsUndo->trigger();
        QCOMPARE(Ws().Combs().List.Count(), std::size_t(28));
        QCOMPARE(history->rowCount(), 0);
        QVERIFY(!Combs()->CombsUndo->isEnabled());

        // With the analysis point one draw back, the newest draw is not excluded.
        window_->edDrawsOffset->setValue(1);
        QTest::keyClick(Combs()->edCombsExclude, Qt::Key_Enter);
        QCOMPARE(Ws().Combs().List.Count(), std::size_t(28));
        QCOMPARE(history->rowCount(), 1);
    }

    void copyAndPasteThroughTheClipboard() {
        QVERIFY(Start());
        window_->pcLeft->setCurrentWidget(Combs());
        SelectRows(Combs()->lvCombs, {27, 0});
        Combs()->CombsCopy->trigger();
        QCOMPARE(QApplication::clipboard()->text(),
                 QStringLiteral("01 02 03 04 05 06\r\n03 04 05 06 07 08\r\n"));

        QApplication::clipboard()->setText(QStringLiteral("40 41 42 43 44 45\r\n1 2 3 4 5 6\r\n"));
        QTRY_VERIFY(Combs()->CombsPaste->isEnabled());
        Combs()->CombsPaste->trigger();
        QCOMPARE(Ws().Combs().List.Count(), std::size_t(2));
        QCOMPARE(Combs()->Model()->index(0, TCombsModel::colN1).data().toInt(), 40);
        QVERIFY(!Combs()->CombsUndo->isEnabled());

        // A bad line refuses the whole paste with its message; the list stays.
        QApplication::clipboard()->setText(QStringLiteral("1 2 3 4 5 6\r\n1 2 3\r\n"));
        Combs()->CombsPaste->trigger();
        QCOMPARE(Ws().Combs().List.Count(), std::size_t(2));
        QCOMPARE(seams_->Boxes.last().Caption, QStringLiteral("Ошибка"));
        QVERIFY(seams_->Boxes.last().Text.contains(QStringLiteral("Некорректная комбинация")));
    }

    void findInDrawsAndUniqueNumbers() {
        TDrawsArray draws = MakeDraws(9);
        draws.push_back(MakeDraw(10, {6, 5, 4, 3, 2, 1}));
        QVERIFY(Start(draws));
        SelectRows(Combs()->lvCombs, {0});
        Combs()->CombsFindInDraws->trigger();
        QCOMPARE(seams_->Boxes.size(), 1);
        QCOMPARE(seams_->Boxes[0].Caption, QStringLiteral("Информация"));
        QVERIFY(seams_->Boxes[0].Text.startsWith(
            QStringLiteral("Выделенная комбинация найдена в следующих тиражах:")));
        QVERIFY(seams_->Boxes[0].Text.contains(QStringLiteral("Тираж № 10")));
        Combs()->CombsCheckNums->trigger();
        QCOMPARE(seams_->Boxes.last().Text,
                 QStringLiteral("В текущем списке комбинаций содержится 8 уникальных номеров"));
    }

    void csvExportThenImportRestoresTheArchive() {
        QVERIFY(Start());
        const QString csv = dir_->filePath(QStringLiteral("out.csv"));
        seams_->FileNames << csv;
        Draws()->DrawsExport->trigger();
        QVERIFY(QFile::exists(csv));

        SelectRows(Draws()->lvDraws, {0, 1, 2});
        seams_->Answers << QMessageBox::Yes;
        Draws()->DrawsDel->trigger();
        QCOMPARE(Ws().Draws().size(), std::size_t(7));

        seams_->FileNames << csv;
        Draws()->DrawsImport->trigger();
        QCOMPARE(ReadArchive(Folder()).size(), std::size_t(10));
        QCOMPARE(Draws()->Model()->rowCount(), 10);

        // A file that cannot be read shows the error and loses nothing.
        seams_->FileNames << dir_->filePath(QStringLiteral("missing.csv"));
        Draws()->DrawsImport->trigger();
        QCOMPARE(seams_->Boxes.last().Caption, QStringLiteral("Ошибка"));
        QCOMPARE(ReadArchive(Folder()).size(), std::size_t(10));
    }

    void combinationFilesSaveAndOpen() {
        QVERIFY(Start());
        const QString lcv = dir_->filePath(QStringLiteral("list.lcv"));
        seams_->FileNames << lcv;
        Combs()->CombsSave->trigger();
        QVERIFY(QFile::exists(lcv));
        Combs()->CombsSelectAll->trigger();
        Combs()->CombsDelSelected->trigger();
        QCOMPARE(Ws().Combs().List.Count(), std::size_t(0));
        seams_->FileNames << lcv;
        Combs()->CombsOpen->trigger();
        QCOMPARE(Ws().Combs().List.Count(), std::size_t(28));
        QVERIFY(!Combs()->CombsUndo->isEnabled());
    }

    void spreadsheetExportOpensTheWorkbook() {
        QVERIFY(Start());
        Draws()->DrawsXlsExport->trigger();
        QCOMPARE(seams_->OpenedUrls.size(), 1);
        const QString file = seams_->OpenedUrls[0].toLocalFile();
        QVERIFY(file.endsWith(QStringLiteral(".xlsx")));
        QVERIFY(QFileInfo(file).size() > 0);
        QFile::remove(file);
        Combs()->CombsXlsExport->trigger();
        QCOMPARE(seams_->OpenedUrls.size(), 2);
        QFile::remove(seams_->OpenedUrls[1].toLocalFile());
    }

    void actionsFollowTheBusyState() {
        QVERIFY(Start());
        Ws().Busy().Begin();
        QVERIFY(QApplication::overrideCursor() &&
                QApplication::overrideCursor()->shape() == Qt::WaitCursor);
        QStringList enabledWhileBusy;
        for (QAction* action : window_->findChildren<QAction*>())
            if (!action->objectName().isEmpty() && action->isEnabled())
                enabledWhileBusy << action->objectName();
        QVERIFY2(enabledWhileBusy.isEmpty(), qPrintable(enabledWhileBusy.join(QLatin1Char(' '))));
        QVERIFY(!window_->edDrawsOffset->isEnabled());

        // A close request waits for the operation to end.
        window_->close();
        QVERIFY(window_->isVisible());
        Ws().Busy().End();
        QVERIFY(!QApplication::overrideCursor());
        QTRY_VERIFY(!window_->isVisible());
    }

    void enableRulesWhileIdle() {
        QVERIFY(Start());
        QVERIFY(Draws()->DrawsAdd->isEnabled());
        QVERIFY(Draws()->DrawsExport->isEnabled());
        QVERIFY(!Draws()->DrawsEdit->isEnabled());
        QVERIFY(!Draws()->DrawsDel->isEnabled());
        SelectRows(Draws()->lvDraws, {3});
        QVERIFY(Draws()->DrawsEdit->isEnabled());
        QVERIFY(Draws()->DrawsDel->isEnabled());
        QVERIFY(Draws()->DrawsInfo->isEnabled());

        QVERIFY(!Combs()->CombsUndo->isEnabled());
        QVERIFY(!Combs()->CombsDelSelected->isEnabled());
        QVERIFY(!Combs()->CombsFindInDraws->isEnabled());
        QVERIFY(Combs()->CombsSave->isEnabled());
        SelectRows(Combs()->lvCombs, {5});
        QVERIFY(Combs()->CombsDelSelected->isEnabled());

        // An empty list leaves nothing to save, copy or export.
        Combs()->CombsSelectAll->trigger();
        Combs()->CombsDelSelected->trigger();
        QVERIFY(!Combs()->CombsSave->isEnabled());
        QVERIFY(!Combs()->CombsCopy->isEnabled());
        QVERIFY(!Combs()->CombsXlsExport->isEnabled());
        QVERIFY(Combs()->CombsUndo->isEnabled());
    }

    void settingsSurviveARestart() {
        QVERIFY(Start());
        {
            TIniFile other(WindowSettingsPath(Folder()));
            other.WriteString("TFormOther", "Keep", "me");
            other.Save();
        }
        window_->edDrawsOffset->setValue(3);
        Draws()->DrawsSorted->trigger();
        Combs()->ViewColorCombs->trigger();
        // View options are written the moment they are toggled.
        {
            const TIniFile frm(WindowSettingsPath(Folder()));
            QVERIFY(frm.ReadBool("TFormMain", "SortedDraws", false));
            QVERIFY(!frm.ReadBool("TFormMain", "ColorCombs", true));
        }
        Draws()->lvDraws->setColumnWidth(TDrawsModel::colNumber, 123);
        Combs()->lvCombs->setColumnWidth(TCombsModel::colPosition, 77);
        Combs()->edCombsExclude->setValue(4);
        window_->resize(1180, 720);
        CloseWindow(window_);

        window_ = StartWindow(Folder());
        QVERIFY(window_);
        QCOMPARE(Ws().DrawsOffset(), 0); // never stored
        QVERIFY(Ws().SortedDraws());
        QVERIFY(Draws()->DrawsSorted->isChecked());
        const TDrawData& newest = Ws().Draws().back();
        QCOMPARE(Draws()->Model()->index(0, TDrawsModel::colN1).data().toInt(),
                 int(*std::min_element(newest.Nums, newest.Nums + 6)));
        QVERIFY(!window_->ViewOptions().ColorCombs);
        QVERIFY(!Combs()->ViewColorCombs->isChecked());
        QVERIFY(window_->ViewOptions().ColorDraws);
        QCOMPARE(Draws()->lvDraws->columnWidth(TDrawsModel::colNumber), 123);
        QCOMPARE(Combs()->lvCombs->columnWidth(TCombsModel::colPosition), 77);
        QCOMPARE(Combs()->edCombsExclude->value(), 4);
        QCOMPARE(window_->size(), QSize(1180, 720));
        const TIniFile frm(WindowSettingsPath(Folder()));
        QCOMPARE(frm.ReadString("TFormOther", "Keep"), std::string("me"));
        QVERIFY(frm.ReadBool("TFormMain", "PrefetchsInit", false));
    }
};

QTEST_MAIN(TFormMainTest)
#include "form_main_test.moc"
