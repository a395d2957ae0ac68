// The tab "Регуляры" driven as a person would: the add dialog's refusals and start field,
// rules from the selected combinations, the next stake through the stake dialog, the
// back-test, deleting, and the tab hidden (its file unread) and shown again.

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

    void addDialogRefusals() {
        QVERIFY(Start());
        QVERIFY(!Desk().AddTyped(Rule("Моя", 1, "", 1)));
        SelectRows(CombList(), {27}); // 3 4 5 6 7 8
        bool focusRight = true;
        int refusals = 0;
        auto refused = [&](TFormTable& form, QWidget* focus) {
            form.accept();
            focusRight = focusRight && form.focusWidget() == focus;
            return form.result() != QDialog::Accepted && ++refusals;
        };
        Script<TFormTable>([&](TFormTable& form) {
            for (const char* bad : {"1;2;3;4;5", "1;1;2;3;4;5", "1;2;3;4;5;46"}) {
                form.edCombStart->setText(QString::fromLatin1(bad));
                if (!refused(form, form.edCombStart)) return form.result();
            }
            form.edCombStart->setText(QStringLiteral("45,1;9;2;3;4"));
            for (const char* comment : {"", "МОЯ"}) {
                form.edComment->setText(QString::fromUtf8(comment));
                if (!refused(form, form.edComment)) return form.result();
            }
            form.edComment->setText(QStringLiteral("Другая"));
            form.accept();
            return form.result();
        });
        Tab()->TablesAdd->trigger();
        QCOMPARE(refusals, 5);
        QVERIFY(focusRight);
        QCOMPARE(seams_->Boxes.size(), 5);
        QCOMPARE(seams_->Boxes[0].Text, QStringLiteral("Введена некорректная комбинация!"));
        QCOMPARE(seams_->Boxes[3].Text, QStringLiteral("Необходимо ввести комментарий!"));
        QCOMPARE(seams_->Boxes[4].Text,
                 QStringLiteral("Запись с таким комментарией уже присутствует в списке!\n"
                                "Выберите другой комментарий."));
        QCOMPARE(Cell(1, TTablesModel::colComment), QStringLiteral("Другая"));
        QCOMPARE(Cell(1, TTablesModel::colStart), QStringLiteral("1;2;3;4;9;45"));
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
        bool asExpected = false;
        Script<TFormTable>([&](TFormTable& form) {
            const QString text = form.edCombStart->text();
            asExpected = form.edCombStart->isEnabled() == editable &&
                         text == (editable ? QStringLiteral("1;2;3;4;5;7")
                                           : QStringLiteral("{...Выделенные комбинации...}"));
            form.rbUseLastDraw->setChecked(true);
            asExpected = asExpected && !form.edCombStart->isEnabled();
            form.rbUseMyComb->setChecked(true);
            asExpected = asExpected && form.edCombStart->text() == text;
            return int(QDialog::Rejected);
        });
        Tab()->TablesAdd->trigger();
        QVERIFY(asExpected);
    }

    void threeSelectedCombinationsMakeThreeRules() {
        QVERIFY(Start());
        SelectRows(CombList(), {0, 5, 27});
        Script<TFormTable>([](TFormTable& form) {
            form.edComment->setText(QStringLiteral("Ряд"));
            form.accept();
            return form.result();
        });
        Tab()->TablesAdd->trigger();
        QStringList rules;
        for (int i = 0; i < Tab()->Model()->rowCount(); ++i)
            rules << Cell(i, TTablesModel::colComment) + QLatin1Char(' ') +
                         Cell(i, TTablesModel::colStart);
        QCOMPARE(rules, (QStringList{QStringLiteral("Ряд (1) 1;2;3;4;5;6"),
                                     QStringLiteral("Ряд (6) 1;2;3;4;7;8"),
                                     QStringLiteral("Ряд (28) 3;4;5;6;7;8")}));
    }

    void nextStakesOfARule_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QStringList>("stakes");
        QTest::newRow("constant, step 2 wraps")
            << 0 << QStringLiteral("1;2;3;40;44;45")
            << QStringList{QStringLiteral("1;2;3;4;5;42"), QStringLiteral("3;4;5;6;7;44"),
                           QStringLiteral("1;5;6;7;8;9")};
        QTest::newRow("previous draw")
            << 1 << QString() << QStringList(3, QStringLiteral("7;14;21;25;40;43"));
    }
    void nextStakesOfARule() {
        QFETCH(int, mode);
        QFETCH(QString, start);
        QFETCH(QStringList, stakes);
        QVERIFY(Start());
        QVERIFY(!Desk().AddTyped(Rule("Рег", mode, start.toUtf8().constData(), 2)));
        SelectRows(Tab()->lvTables, {0});
        QStringList offered;
        bool countOne = true;
        Script<TFormStake>([&](TFormStake& form) {
            offered << form.edStakeData->text();
            countOne =
                countOne && form.edDrawsCount->value() == 1 && form.edDrawNumber->value() == 11;
            return int(QDialog::Accepted);
        });
        for (int i = 0; i < 3; ++i)
            Tab()->TablesStakeAdd->trigger();
        QCOMPARE(offered, stakes);
        QVERIFY(countOne);
        QStringList made;
        for (std::int64_t i = 0; i < Stakes().StakesCount(); ++i)
            if (const TStakeData s = Stakes().StakeAt(i); s.DrawNumber > 0) made << Numbers(s);
        QCOMPARE(made, stakes);
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
        Script<TFormTestCnt>([&](TFormTestCnt& form) {
            form.edTestCount->setValue(5);
            return form.edTestCount->maximum() == 9 ? int(QDialog::Accepted) : 0;
        });
        Tab()->TablesStakeTest->trigger();
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
        QCOMPARE(comments.mid(0, 2), (QStringList{QStringLiteral("Один"), QStringLiteral("Два")}));
        QCOMPARE(Cell(0, TTablesModel::colStakes), QStringLiteral("5"));
        QCOMPARE(Cell(1, TTablesModel::colStakes), QStringLiteral("5"));
        QCOMPARE(Cell(0, TTablesModel::colCurrent), QStringLiteral("6;7;8;9;10;11"));
        QCOMPARE(window_->Ws().DrawsOffset(), 0);
    }

    void deleteAsksFirst() {
        QVERIFY(Start());
        QVERIFY(Tab()->TablesAdd->isEnabled());
        for (const char* c : {"а", "б", "в"})
            QVERIFY(!Desk().AddTyped(Rule(c, 1, "", 1)));
        for (QAction* action : {Tab()->TablesDel, Tab()->TablesStakeAdd, Tab()->TablesStakeTest})
            QVERIFY(!action->isEnabled());
        SelectRows(Tab()->lvTables, {0, 2});
        for (QAction* action : {Tab()->TablesDel, Tab()->TablesStakeAdd, Tab()->TablesStakeTest})
            QVERIFY(action->isEnabled());
        seams_->Answers = {QMessageBox::No, QMessageBox::Yes};
        Tab()->TablesDel->trigger();
        QCOMPARE(Desk().Tables().size(), std::size_t(3));
        Tab()->TablesDel->trigger();
        QCOMPARE(Tab()->Model()->rowCount(), 1);
        QCOMPARE(Cell(0, TTablesModel::colComment), QStringLiteral("б"));
        QCOMPARE(ReadTablesFile(TablesFile()).size(), std::size_t(1));
    }

    void hiddenTabLeavesItsFileAlone() {
        {
            TIniFile ini(WindowSettingsPath(Folder()));
            ini.WriteBool("TFormMain", "TabTables", false);
            ini.Save();
        }
        WriteTablesFile(TablesFile(), {TTableData{}});
        QVERIFY(Start());
        QTabWidget* tabs = window_->pcRight;
        const int index = tabs->indexOf(Tab());
        QVERIFY(!window_->TabTables->isChecked());
        QVERIFY(!tabs->isTabVisible(index));
        QVERIFY(Desk().Tables().empty());
        QVERIFY(!Tab()->TablesAdd->isEnabled());

        window_->TabTables->trigger();
        QTRY_VERIFY(tabs->isTabVisible(index));
        QCOMPARE(tabs->currentWidget(), Tab());
        QCOMPARE(Tab()->Model()->rowCount(), 1);
        QVERIFY(TIniFile(WindowSettingsPath(Folder())).ReadBool("TFormMain", "TabTables", false));

        // Hidden, then changed behind the program's back: showing reads it again.
        window_->TabTables->trigger();
        QVERIFY(!tabs->isTabVisible(index));
        QVERIFY(!window_->TabTables->isChecked());
        QVERIFY(Desk().Tables().empty());
        WriteTablesFile(TablesFile(), {TTableData{}, TTableData{}});
        window_->TabTables->trigger();
        QTRY_COMPARE(Tab()->Model()->rowCount(), 2);
    }
};

QTEST_MAIN(TRegularsTabTest)
#include "regulars_tab_test.moc"
