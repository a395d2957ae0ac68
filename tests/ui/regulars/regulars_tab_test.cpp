// The tab "Регуляры" driven as a person would: the add dialog with its refusals and its
// start field, rules from the selected combinations, the next stake of a rule through the
// stake dialog, the back-test, deleting, and the tab hidden and shown again.

#include "ui/ui_test_support.h"

#include "app/stakes_workspace.h"
#include "core/ini_file.h"
#include "core/text_forms.h"
#include "stakes/regular_stakes.h"
#include "ui/combs/combs_page.h"
#include "ui/common/form_test_cnt.h"
#include "ui/regulars/form_table.h"
#include "ui/regulars/regulars_tab.h"
#include "ui/regulars/tables_model.h"
#include "ui/shell/window_settings.h"
#include "ui/stakes/form_stake.h"

#include <QAbstractItemModelTester>
#include <QLineEdit>
#include <QMenuBar>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>
#include <QTest>

using namespace pelko;
using namespace pelko::uitest;

namespace {

const std::string SMALL_LIST = "1,2,3,4,5,6,7,8"; // mode 2: C(8, 6) = 28 combinations

void SelectRows(QTableView* view, std::initializer_list<int> rows) {
    view->clearSelection();
    for (int row : rows)
        view->selectionModel()->select(view->model()->index(row, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

TTableDialogInput Rule(const char* comment, int mode, const char* start, int step) {
    TTableDialogInput input;
    input.Comment = comment;
    input.Mode = static_cast<std::uint8_t>(mode);
    input.StartText = start;
    input.Step = step;
    return input;
}

QString Numbers(const TStakeData& stake) {
    return QString::fromStdString(NumberSetToText(stake.Numbers, ";"));
}

} // namespace

class TRegularsTabTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<TScriptedSeams> seams_;
    std::unique_ptr<TFormMain> window_;
    std::unique_ptr<QAbstractItemModelTester> tester_;

    std::filesystem::path Folder() const { return FolderOf(*dir_); }
    std::filesystem::path TablesFile() const { return Folder() / TABLES_FILE_NAME; }
    TRegularsTab* Tab() { return window_->RegularsTab(); }
    TRegularsDesk& Desk() { return window_->Ws().Stakes().Regulars(); }
    TStakesDesk& Stakes() { return window_->Ws().Stakes(); }
    QTableView* CombList() { return window_->CombsPage()->lvCombs; }
    QString Cell(int row, int column) {
        return Tab()->Model()->index(row, column).data().toString();
    }

    // Ten draws, the last one 5 12 19 23 38 41, and the 28 combinations of 1..8.
    bool Start() {
        TDrawsArray draws = MakeDraws(9);
        draws.push_back(MakeDraw(10, {41, 5, 19, 12, 38, 23}));
        WriteArchive(Folder(), draws);
        WriteGenerateParams(Folder(), 2, SMALL_LIST);
        window_ = StartWindow(Folder());
        if (!window_) return false;
        tester_ = std::make_unique<QAbstractItemModelTester>(
            Tab()->Model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        return true;
    }
    template <class T> void Script(std::function<int(T&)> script) {
        seams_->OnDialog = [script](QDialog& dialog) {
            T* typed = qobject_cast<T*>(&dialog);
            return typed ? script(*typed) : int(QDialog::Rejected);
        };
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

    void tabMenuAndEnableRules() {
        QVERIFY(Start());
        const int index = window_->pcRight->indexOf(Tab());
        QCOMPARE(window_->pcRight->tabText(index), QStringLiteral("Регуляры"));
        QCOMPARE(window_->pcRight->tabText(index - 1), QStringLiteral("Ставки"));
        QCOMPARE(Tab()->Model()->headerData(TTablesModel::colStart, Qt::Horizontal).toString(),
                 QStringLiteral("Стартовая комбинация"));
        QVERIFY(window_->TabTables->isChecked());
        QCOMPARE(window_->TabTables->text(), QStringLiteral("Вкладка \"Регуляры\""));
        auto* menu = window_->menuBar()->findChild<QMenu*>(QStringLiteral("mnTables"));
        QVERIFY(menu);
        QCOMPARE(menu->title(), QStringLiteral("Регуляры"));
        QVERIFY(menu->actions().contains(Tab()->TablesStakeTest));

        QVERIFY(Tab()->TablesAdd->isEnabled());
        QVERIFY(!Tab()->TablesDel->isEnabled());
        QVERIFY(!Tab()->TablesStakeAdd->isEnabled());
        QVERIFY(!Tab()->TablesStakeTest->isEnabled());
        QVERIFY(!Desk().AddTyped(Rule("а", 0, "1;2;3;4;5;6", 1)));
        QCOMPARE(Cell(0, TTablesModel::colCurrent), QStringLiteral("1;2;3;4;5;6"));
        SelectRows(Tab()->lvTables, {0});
        QVERIFY(Tab()->TablesDel->isEnabled());
        QVERIFY(Tab()->TablesStakeAdd->isEnabled());
        QVERIFY(Tab()->TablesStakeTest->isEnabled());
    }

    void addDialogRefusals() {
        QVERIFY(Start());
        QVERIFY(!Desk().AddTyped(Rule("Моя", 1, "", 1)));
        SelectRows(CombList(), {27}); // 3 4 5 6 7 8
        bool shownRight = false, focusRight = true;
        int refusals = 0;
        Script<TFormTable>([&](TFormTable& form) {
            shownRight = form.windowTitle() == QStringLiteral("Добавление регулярной ставки") &&
                         form.edComment->text() == QStringLiteral("Регулярная ставка") &&
                         form.rbUseMyComb->isChecked() && form.edStep->value() == 1 &&
                         form.edStep->minimum() == -45 && form.edStep->maximum() == 45 &&
                         form.edCombStart->isEnabled() &&
                         form.edCombStart->text() == QStringLiteral("3;4;5;6;7;8");
            for (const char* bad : {"1;2;3;4;5", "1;1;2;3;4;5", "0;1;2;3;4;5", "1;2;3;4;5;46"}) {
                form.edCombStart->setText(QString::fromLatin1(bad));
                form.accept();
                if (form.result() == QDialog::Accepted) return int(QDialog::Accepted);
                ++refusals;
                focusRight = focusRight && form.focusWidget() == form.edCombStart;
            }
            form.edCombStart->setText(QStringLiteral("45,1;9;2;3;4"));
            for (const char* comment : {"", "МОЯ"}) {
                form.edComment->setText(QString::fromUtf8(comment));
                form.accept();
                if (form.result() == QDialog::Accepted) return int(QDialog::Accepted);
                ++refusals;
                focusRight = focusRight && form.focusWidget() == form.edComment;
            }
            form.edComment->setText(QStringLiteral("Другая"));
            form.edStep->setValue(-3);
            form.accept();
            return form.result();
        });
        Tab()->TablesAdd->trigger();
        QVERIFY(shownRight);
        QCOMPARE(refusals, 6);
        QVERIFY(focusRight);
        QCOMPARE(seams_->Boxes.size(), 6);
        QCOMPARE(seams_->Boxes[0].Text, QStringLiteral("Введена некорректная комбинация!"));
        QCOMPARE(seams_->Boxes[4].Text, QStringLiteral("Необходимо ввести комментарий!"));
        QCOMPARE(seams_->Boxes[5].Text,
                 QStringLiteral("Запись с таким комментарией уже присутствует в списке!\n"
                                "Выберите другой комментарий."));
        QCOMPARE(Desk().Tables().size(), std::size_t(2));
        QCOMPARE(Cell(1, TTablesModel::colComment), QStringLiteral("Другая"));
        QCOMPARE(Cell(1, TTablesModel::colStart), QStringLiteral("1;2;3;4;9;45"));
        QCOMPARE(Cell(1, TTablesModel::colStep), QStringLiteral("-3"));
        QCOMPARE(Cell(1, TTablesModel::colStakes), QStringLiteral("0"));
        QCOMPARE(ReadTablesFile(TablesFile()).size(), std::size_t(2));
    }

    void startFieldFollowsTheSelection_data() {
        QTest::addColumn<QList<int>>("rows");
        QTest::addColumn<bool>("editable");
        QTest::newRow("none") << QList<int>{} << false;
        QTest::newRow("one") << QList<int>{1} << true;
        QTest::newRow("three") << QList<int>{0, 5, 27} << false;
    }
    void startFieldFollowsTheSelection() {
        QFETCH(QList<int>, rows);
        QFETCH(bool, editable);
        QVERIFY(Start());
        CombList()->clearSelection();
        for (int row : rows)
            CombList()->selectionModel()->select(CombList()->model()->index(row, 0),
                                                 QItemSelectionModel::Select |
                                                     QItemSelectionModel::Rows);
        bool asExpected = false, lastDrawDisables = false;
        Script<TFormTable>([&](TFormTable& form) {
            const QString text = form.edCombStart->text();
            asExpected = form.edCombStart->isEnabled() == editable &&
                         (editable ? text == QStringLiteral("1;2;3;4;5;7")
                                   : text == QStringLiteral("{...Выделенные комбинации...}"));
            form.rbUseLastDraw->setChecked(true);
            lastDrawDisables = !form.edCombStart->isEnabled();
            form.rbUseMyComb->setChecked(true);
            asExpected = asExpected && form.edCombStart->text() == text;
            return int(QDialog::Rejected);
        });
        Tab()->TablesAdd->trigger();
        QVERIFY(asExpected);
        QVERIFY(lastDrawDisables);
        QVERIFY(Desk().Tables().empty());
    }

    void threeSelectedCombinationsMakeThreeRules() {
        QVERIFY(Start());
        SelectRows(CombList(), {0, 5, 27});
        Script<TFormTable>([](TFormTable& form) {
            form.edComment->setText(QStringLiteral("Ряд"));
            form.edStep->setValue(2);
            form.accept();
            return form.result();
        });
        Tab()->TablesAdd->trigger();
        QCOMPARE(Tab()->Model()->rowCount(), 3);
        const QStringList comments{QStringLiteral("Ряд (1)"), QStringLiteral("Ряд (6)"),
                                   QStringLiteral("Ряд (28)")};
        const QStringList starts{QStringLiteral("1;2;3;4;5;6"), QStringLiteral("1;2;3;4;7;8"),
                                 QStringLiteral("3;4;5;6;7;8")};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(Cell(i, TTablesModel::colComment), comments[i]);
            QCOMPARE(Cell(i, TTablesModel::colStart), starts[i]);
            QCOMPARE(Cell(i, TTablesModel::colCurrent), starts[i]);
            QCOMPARE(Cell(i, TTablesModel::colStep), QStringLiteral("2"));
        }
    }

    void nextStakesOfARule_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("step");
        QTest::addColumn<QStringList>("stakes");
        QTest::newRow("constant, step 2 wraps")
            << 0 << QStringLiteral("1;2;3;40;44;45") << 2
            << QStringList{QStringLiteral("1;2;3;4;5;42"), QStringLiteral("3;4;5;6;7;44"),
                           QStringLiteral("1;5;6;7;8;9")};
        QTest::newRow("constant, step -3 wraps")
            << 0 << QStringLiteral("1;2;3;10;20;30") << -3
            << QStringList{QStringLiteral("7;17;27;43;44;45"), QStringLiteral("4;14;24;40;41;42"),
                           QStringLiteral("1;11;21;37;38;39")};
        QTest::newRow("constant, step 45 stays") << 0 << QStringLiteral("1;2;3;4;5;6") << 45
                                                 << QStringList(3, QStringLiteral("1;2;3;4;5;6"));
        QTest::newRow("previous draw, step 1")
            << 1 << QString() << 1 << QStringList(3, QStringLiteral("6;13;20;24;39;42"));
    }
    void nextStakesOfARule() {
        QFETCH(int, mode);
        QFETCH(QString, start);
        QFETCH(int, step);
        QFETCH(QStringList, stakes);
        QVERIFY(Start());
        QVERIFY(!Desk().AddTyped(Rule("Рег", mode, start.toUtf8().constData(), step)));
        SelectRows(Tab()->lvTables, {0});
        QStringList offered;
        bool countOne = true;
        Script<TFormStake>([&](TFormStake& form) {
            offered << form.edStakeData->text();
            countOne = countOne && form.edDrawsCount->value() == 1 &&
                       form.edDrawNumber->value() == 11 &&
                       form.edComment->text() == QStringLiteral("Рег");
            return int(QDialog::Accepted);
        });
        for (int i = 0; i < 3; ++i)
            Tab()->TablesStakeAdd->trigger();
        QCOMPARE(offered, stakes);
        QVERIFY(countOne);
        QStringList made;
        for (std::int64_t i = 0; i < Stakes().StakesCount(); ++i)
            if (const TStakeData s = Stakes().StakeAt(i); s.DrawNumber > 0) {
                QCOMPARE(s.Kind, std::uint8_t(2));
                made << Numbers(s);
            }
        QCOMPARE(made, stakes);
        QCOMPARE(Cell(0, TTablesModel::colCurrent), stakes.last());
        QCOMPARE(Cell(0, TTablesModel::colStakes), QStringLiteral("3"));
        QCOMPARE(ReadTablesFile(TablesFile()).front().Stakes, 3);

        // Cancel leaves the rule and the stakes as they were.
        seams_->OnDialog = [](QDialog&) { return int(QDialog::Rejected); };
        const std::int64_t before = Stakes().StakesCount();
        Tab()->TablesStakeAdd->trigger();
        QCOMPARE(Stakes().StakesCount(), before);
        QCOMPARE(Desk().Tables().front().Stakes, 3);
    }

    void backTestOfTwoRules() {
        QVERIFY(Start());
        QVERIFY(!Desk().AddTyped(Rule("Один", 0, "1;2;3;4;5;6", 1)));
        QVERIFY(!Desk().AddTyped(Rule("Два", 1, "", 2)));
        SelectRows(Tab()->lvTables, {0, 1});
        int maximum = 0;
        Script<TFormTestCnt>([&](TFormTestCnt& form) {
            maximum = form.edTestCount->maximum();
            form.edTestCount->setValue(5);
            return int(QDialog::Accepted);
        });
        Tab()->TablesStakeTest->trigger();
        QCOMPARE(maximum, 9);
        QList<int> draws;
        QStringList comments;
        for (std::int64_t i = 0; i < Stakes().StakesCount(); ++i) {
            const TStakeData s = Stakes().StakeAt(i);
            if (s.DrawNumber <= 0) continue;
            QVERIFY(s.IsChecked());
            draws << s.DrawNumber;
            comments << QString::fromStdString(s.CommentText());
        }
        QCOMPARE(draws, (QList<int>{6, 6, 7, 7, 8, 8, 9, 9, 10, 10}));
        QCOMPARE(comments.count(QStringLiteral("Один")), 5);
        QCOMPARE(comments[0], QStringLiteral("Один"));
        QCOMPARE(comments[1], QStringLiteral("Два"));
        QCOMPARE(Cell(0, TTablesModel::colStakes), QStringLiteral("5"));
        QCOMPARE(Cell(1, TTablesModel::colStakes), QStringLiteral("5"));
        QCOMPARE(Cell(0, TTablesModel::colCurrent), QStringLiteral("6;7;8;9;10;11"));
        QCOMPARE(window_->Ws().DrawsOffset(), 0);
    }

    void deleteAsksFirst() {
        QVERIFY(Start());
        for (const char* c : {"а", "б", "в"})
            QVERIFY(!Desk().AddTyped(Rule(c, 1, "", 1)));
        SelectRows(Tab()->lvTables, {0, 2});
        seams_->Answers = {QMessageBox::No, QMessageBox::Yes};
        Tab()->TablesDel->trigger();
        QCOMPARE(Desk().Tables().size(), std::size_t(3));
        QCOMPARE(
            seams_->Boxes.last().Text,
            QStringLiteral("Удалить все выделенные записи (всего будет удалено 2 записи(ей))?"));
        Tab()->TablesDel->trigger();
        QCOMPARE(Tab()->Model()->rowCount(), 1);
        QCOMPARE(Cell(0, TTablesModel::colComment), QStringLiteral("б"));
        QVERIFY(!Tab()->lvTables->selectionModel()->hasSelection());
        QCOMPARE(ReadTablesFile(TablesFile()).size(), std::size_t(1));
    }

    void hidingAndShowingReloads() {
        QVERIFY(Start());
        QVERIFY(!Desk().AddTyped(Rule("а", 1, "", 1)));
        QTabWidget* tabs = window_->pcRight;
        const int index = tabs->indexOf(Tab());
        window_->TabTables->trigger();
        QVERIFY(!tabs->isTabVisible(index));
        QVERIFY(Desk().Tables().empty());
        QVERIFY(!Tab()->TablesAdd->isEnabled());
        QVERIFY(!TIniFile(WindowSettingsPath(Folder())).ReadBool("TFormMain", "TabTables", true));
        // Changed behind the program's back while hidden: showing reads it again.
        TTablesArray two = ReadTablesFile(TablesFile());
        two.push_back(two.front());
        two.back().SetCommentText("б");
        WriteTablesFile(TablesFile(), two);
        window_->TabTables->trigger();
        QTRY_VERIFY(tabs->isTabVisible(index));
        QCOMPARE(tabs->currentWidget(), Tab());
        QCOMPARE(Tab()->Model()->rowCount(), 2);
        QVERIFY(TIniFile(WindowSettingsPath(Folder())).ReadBool("TFormMain", "TabTables", false));
    }

    void hiddenAtStartupLeavesTheFileUnread() {
        {
            TIniFile ini(WindowSettingsPath(Folder()));
            ini.WriteBool("TFormMain", "TabTables", false);
            ini.Save();
        }
        TTableData rule;
        rule.SetCommentText("а");
        WriteTablesFile(TablesFile(), {rule});
        QVERIFY(Start());
        QVERIFY(!window_->TabTables->isChecked());
        QVERIFY(!window_->pcRight->isTabVisible(window_->pcRight->indexOf(Tab())));
        QVERIFY(Desk().Tables().empty());
        QVERIFY(!Tab()->TablesAdd->isEnabled());
        CloseWindow(window_);
        QCOMPARE(ReadTablesFile(TablesFile()).size(), std::size_t(1));
    }
};

QTEST_MAIN(TRegularsTabTest)
#include "regulars_tab_test.moc"
