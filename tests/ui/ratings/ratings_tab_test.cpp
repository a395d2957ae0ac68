// The tab "Рейтинг" driven as a person would: the rows in the three efficiency modes,
// header sorting by the desk's rules, the rebuild question, the CSV and spreadsheet
// exports, rows back to scenario lines, and the chart window of every graph action.

#include "ui/ui_test_support.h"

#include "app/script_desk.h"
#include "app/stakes_workspace.h"
#include "core/codec.h"
#include "core/ini_file.h"
#include "stakes/rating_view.h"
#include "stakes/stake_making.h"
#include "ui/common/form_graph.h"
#include "ui/common/graph_view.h"
#include "ui/ratings/ratings_model.h"
#include "ui/ratings/ratings_tab.h"
#include "ui/scenario/scenario_tab.h"
#include "ui/stakes/stakes_tab.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QFile>
#include <QHeaderView>
#include <QLineSeries>
#include <QLocale>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

using namespace pelko;
using namespace pelko::uitest;

namespace {

struct TRowSpec {
    const char* Comment;
    std::uint32_t Stakes;
    std::uint32_t Matched;
    std::array<std::uint32_t, 7> Hits;
    double Profit;
};

TRatingData Row(const TRowSpec& spec) {
    TRatingData row;
    row.SetCommentText(spec.Comment);
    row.Stakes = spec.Stakes;
    row.Matched = spec.Matched;
    for (int i = 0; i < 7; ++i)
        row.Hits[i] = spec.Hits[static_cast<std::size_t>(i)];
    row.Profit = MoneyFromDouble(spec.Profit);
    return row;
}

// Loaded by "Среднее" descending as c, b, a: a and b differ by less than half a hundredth.
const TRowSpec SORT_ROWS[] = {
    {"b", 10001, 3331, {9000, 0, 0, 0, 0, 0, 0}, -5},
    {"a", 10000, 3334, {9000, 0, 0, 0, 0, 0, 0}, 10},
    {"c", 2, 3, {1, 0, 0, 1, 0, 0, 0}, 0},
};
// The edge case of the efficiency columns: ten stakes, three with two matches.
const TRowSpec TEN_STAKES = {"десять", 10, 6, {7, 0, 3, 0, 0, 0, 0}, -300};

TStakeData Stake(std::int32_t draw, std::initializer_list<int> numbers,
                 const std::string& comment) {
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

QStringList Texts(std::initializer_list<const char*> texts) {
    QStringList list;
    for (const char* text : texts)
        list << QString::fromUtf8(text);
    return list;
}

QStringList Comments(TRatingsModel* model) {
    QStringList list;
    for (int r = 0; r < model->rowCount(); ++r)
        list << model->index(r, rcComment).data().toString();
    return list;
}

} // namespace

class TRatingsTabTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<TScriptedSeams> seams_;
    std::unique_ptr<TFormMain> window_;
    std::unique_ptr<QAbstractItemModelTester> tester_;

    std::filesystem::path Folder() const { return FolderOf(*dir_); }
    TRatingsTab* Tab() { return window_->RatingsTab(); }
    TRatingsModel* Model() { return Tab()->Model(); }
    TStakesDesk& Desk() { return window_->Ws().Stakes(); }
    QString Cell(int row, int column) { return Model()->index(row, column).data().toString(); }

    bool Start(const TRatingsArray& rows = {}) {
        WriteArchive(Folder(), MakeDraws(10));
        if (!rows.empty()) WriteRatingsFile(Folder() / RATINGS_FILE_NAME, rows);
        window_ = StartWindow(Folder());
        if (!window_) return false;
        tester_ = std::make_unique<QAbstractItemModelTester>(
            Model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        return true;
    }
    void Select(std::initializer_list<int> rows) {
        Tab()->lvRatings->clearSelection();
        for (int row : rows)
            Tab()->lvRatings->selectionModel()->select(
                Model()->index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        Tab()->UpdateActions();
    }
    // Checked stakes on draws 1 and 2 (two groups) under one comment.
    void MakeCheckedStakes(const std::string& comment) {
        QVERIFY(Desk().AddStakeInBatch(Stake(1, {8, 9, 10, 1, 2, 3}, comment), 1, false));
        Desk().StartStakesGroup();
        QVERIFY(Desk().AddStakeInBatch(Stake(2, {15, 16, 1, 2, 3, 4}, comment), 1, false));
        QCOMPARE(Desk().CheckStakesAndSave(), 2);
    }
    // Runs the action; the chart window it opens is described by `look`.
    QString Graph(QAction* action, const std::function<QString(TFormGraph&)>& look) {
        QString seen = QStringLiteral("no window");
        seams_->OnDialog = [&](QDialog& dialog) {
            if (auto* form = qobject_cast<TFormGraph*>(&dialog)) seen = look(*form);
            return int(QDialog::Accepted);
        };
        action->trigger();
        return seen;
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

    void tabMenuAndPanel() {
        QVERIFY(Start({Row(TEN_STAKES)}));
        QCOMPARE(window_->pcRight->tabText(window_->pcRight->indexOf(Tab())),
                 QStringLiteral("Рейтинг"));
        QCOMPARE(window_->pcRight->indexOf(Tab()),
                 window_->pcRight->indexOf(window_->StakesTab()) + 1);
        QCOMPARE(window_->StatusPanel(5)->text(), QStringLiteral("Рейтинг: 1"));
        QCOMPARE(Model()->columnCount(), 20);
        QCOMPARE(Model()->headerData(rcExpected0 + 6, Qt::Horizontal).toString(),
                 QStringLiteral("E6"));
        QCOMPARE(Tab()->lvRatings->columnWidth(rcComment), 200);
        QCOMPARE(Model()->index(0, rcProfit).data(Qt::TextAlignmentRole).toInt(),
                 int(Qt::AlignRight | Qt::AlignVCenter));
        QCOMPARE(Model()->index(0, rcProfit).data(TRatingsModel::SortRole).toDouble(), -300.0);
        QCOMPARE(Cell(0, rcAvgProfit), QStringLiteral("-30.00"));
        QVERIFY(!Tab()->RatingsToScript->isEnabled()); // no row selected
        QVERIFY(Tab()->RatingsExport->isEnabled());
        QVERIFY(!Tab()->StakesGraphDraws->isEnabled()); // no stakes
        QVERIFY(window_->StakesTab()->MenuActions().contains(Tab()->StakesGraphDraws));
        Select({0});
        QVERIFY(Tab()->RatingsGraphOverlap->isEnabled());
        QVERIFY(!Tab()->StakesGraphOverlap->isEnabled()); // stakes file empty
    }

    void efficiencyModes_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("e2");
        QTest::addColumn<QString>("e0");
        QTest::newRow("expected") << 0 << QStringLiteral("2") << QStringLiteral("4");
        QTest::newRow("absolute") << 1 << QStringLiteral("14.853%") << QStringLiteral("29.944%");
        QTest::newRow("relative") << 2 << QStringLiteral("198.054%") << QStringLiteral("174.753%");
    }
    void efficiencyModes() {
        QFETCH(int, mode);
        QFETCH(QString, e2);
        QFETCH(QString, e0);
        QVERIFY(Start({Row(TEN_STAKES)}));
        Tab()->RatingsEffMode[mode]->trigger();
        const QString point = QLocale::system().decimalPoint();
        QCOMPARE(Cell(0, rcExpected0 + 2), QString(e2).replace(QLatin1Char('.'), point));
        QCOMPARE(Cell(0, rcExpected0), QString(e0).replace(QLatin1Char('.'), point));
        QVERIFY(Tab()->RatingsEffMode[mode]->isChecked());
        const TIniFile ini(window_->SettingsFile());
        QCOMPARE(ini.ReadInteger("TFormMain", "RatingsEffMode", -1), mode);
    }

    void headerSort_data() {
        QTest::addColumn<QList<int>>("steps"); // column, direction (1 descending) pairs
        QTest::addColumn<QStringList>("order");
        QTest::newRow("loaded by average") << QList<int>{} << Texts({"c", "b", "a"});
        QTest::newRow("text") << QList<int>{rcComment, 0} << Texts({"a", "b", "c"});
        QTest::newRow("integer") << QList<int>{rcStakes, 1} << Texts({"b", "a", "c"});
        QTest::newRow("average within half a hundredth")
            << QList<int>{rcComment, 0, rcAverage, 0} << Texts({"a", "b", "c"});
        QTest::newRow("efficiency keeps the order")
            << QList<int>{rcComment, 0, rcExpected0 + 3, 1} << Texts({"a", "b", "c"});
    }
    void headerSort() {
        QFETCH(QList<int>, steps);
        QFETCH(QStringList, order);
        QVERIFY(Start({Row(SORT_ROWS[0]), Row(SORT_ROWS[1]), Row(SORT_ROWS[2])}));
        QHeaderView* header = Tab()->lvRatings->horizontalHeader();
        for (qsizetype i = 0; i + 1 < steps.size(); i += 2)
            header->setSortIndicator(steps[i],
                                     steps[i + 1] ? Qt::DescendingOrder : Qt::AscendingOrder);
        QCOMPARE(Comments(Model()), order);
        // Sorted as shown is sorted as saved.
        QStringList saved;
        for (const TRatingData& row : ReadRatingsFile(Folder() / RATINGS_FILE_NAME))
            saved << QString::fromStdString(row.CommentText());
        QCOMPARE(saved, order);
        if (!steps.isEmpty()) QCOMPARE(Desk().Options.SortColumn, steps[steps.size() - 2]);
    }

    void refreshAsksFirst_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("no keeps the rating") << int(QMessageBox::No) << Texts({"старое"});
        QTest::newRow("yes rebuilds") << int(QMessageBox::Yes) << Texts({"серия"});
    }
    void refreshAsksFirst() {
        QFETCH(int, answer);
        QFETCH(QStringList, rows);
        QVERIFY(Start());
        MakeCheckedStakes("серия");
        TRatingData old = Row(TEN_STAKES);
        old.SetCommentText("старое");
        WriteRatingsFile(Folder() / RATINGS_FILE_NAME, {old});
        Desk().Ratings().Load();
        seams_->Answers << QMessageBox::StandardButton(answer);
        Tab()->RatingsRefresh->trigger();
        QCOMPARE(seams_->Boxes.size(), 1);
        QVERIFY(seams_->Boxes[0].Text.startsWith(
            QStringLiteral("Пересчитать рейтинг только по текущим ставкам?\n\n")));
        QCOMPARE(Comments(Model()), rows);
    }

    void csvExportByteForByte() {
        QVERIFY(Start({Row(TEN_STAKES)}));
        const QString file = dir_->filePath(QStringLiteral("рейтинг.csv"));
        seams_->FileNames << file;
        Tab()->RatingsExport->trigger();
        QFile in(file);
        QVERIFY(in.open(QIODevice::ReadOnly));
        const std::string d = QLocale::system().decimalPoint().toStdString();
        const std::string expected =
            "\"Комментарий\";\"Ставок\";\"Угадано\";\"Среднее\";\"Профит\";\"Ср. профит\";"
            "\"0\";\"1\";\"2\";\"3\";\"4\";\"5\";\"6\";\"E0\";\"E1\";\"E2\";\"E3\";\"E4\";"
            "\"E5\";\"E6\"\r\n\"десять\";10;6;0" +
            d + "600;-300" + d + "00;-30" + d + "00;7;0;3;0;0;0;0\r\n";
        QCOMPARE(in.readAll().toStdString(), Utf8ToCp1251(expected));
        seams_->FileNames << QString();
        Tab()->RatingsExport->trigger(); // cancelled: nothing written, no box
        QVERIFY(seams_->Boxes.isEmpty());
    }

    void spreadsheetExport() {
        QVERIFY(Start({Row(TEN_STAKES)}));
        Tab()->RatingsXlsExport->trigger();
        QCOMPARE(seams_->OpenedUrls.size(), 1);
        const QString file = seams_->OpenedUrls[0].toLocalFile();
        QVERIFY(file.endsWith(QStringLiteral(".xlsx")));
        QFile::remove(file);
    }

    void rowsBecomeScenarioLines() {
        QVERIFY(Start());
        const std::string comment =
            ScenarioStakeComment(1, 2, "проба", "FULL#EXT", {"TSD#NUMS:1000#LMV:5#SF:1"});
        MakeCheckedStakes(comment);
        MakeCheckedStakes("Ставка вручную");
        const QStringList rows = Comments(Model());
        QCOMPARE(rows.size(), 2);
        Select({int(rows.indexOf(QStringLiteral("Ставка вручную"))),
                int(rows.indexOf(QString::fromStdString(comment)))});
        const std::size_t before = window_->Ws().Script().Count();
        Tab()->RatingsToScript->trigger();
        QCOMPARE(window_->Ws().Script().Count(), before + 1);
        QCOMPARE(window_->Ws().Script().GetScriptLine(before),
                 std::string("FULL#EXT|TSD#NUMS:1000#LMV:5#SF:1| | | | | | |01.002: проба"));
        QCOMPARE(seams_->Boxes.size(), 1);
        QCOMPARE(seams_->Boxes[0].Text,
                 QStringLiteral("Строку\n\nСтавка вручную\n\nневозможно добавить в сценарий!"));
        QTRY_VERIFY(qobject_cast<TScenarioTab*>(window_->pcRight->currentWidget()));
    }

    void graphWindows() {
        QVERIFY(Start());
        MakeCheckedStakes("первая");
        MakeCheckedStakes("вторая");
        Select({0, 1});
        auto series = [](TFormGraph& form) {
            return QString::number(form.View()->chart()->series().size()) + QLatin1Char(' ') +
                   form.windowTitle();
        };
        QCOMPARE(Graph(Tab()->RatingsGraphOverlap, series),
                 QStringLiteral("3 График количества совпадений для выделенных строк рейтинга"));
        QCOMPARE(Graph(Tab()->StakesGraphOverlap, series),
                 QStringLiteral("2 График количества совпадений для всех ставок по тиражам"));
        QCOMPARE(Graph(Tab()->StakesGraphProfits, series),
                 QStringLiteral("2 График профита для всех ставок по тиражам"));
        // The marks check box hides the marks of the series made with them, and only those.
        auto marks = [](TFormGraph& form) {
            auto visible = [&form] {
                QString text;
                for (QAbstractSeries* s : form.View()->chart()->series())
                    text += static_cast<QLineSeries*>(s)->pointLabelsVisible() ? QLatin1Char('1')
                                                                               : QLatin1Char('0');
                return text;
            };
            QString seen =
                (form.cbMarks->isChecked() ? QStringLiteral("on ") : QString()) + visible();
            form.cbMarks->setChecked(false);
            seen += QLatin1Char(' ') + visible();
            form.cbMarks->setChecked(true);
            return seen + QLatin1Char(' ') + visible();
        };
        QCOMPARE(Graph(Tab()->StakesGraphDraws, marks), QStringLiteral("on 101 000 101"));
        // The double click draws the distribution too.
        int shown = 0;
        seams_->OnDialog = [&](QDialog& dialog) {
            shown += qobject_cast<TFormGraph*>(&dialog) != nullptr;
            return int(QDialog::Accepted);
        };
        window_->pcRight->setCurrentWidget(Tab());
        Select({0});
        const QTableView* list = Tab()->lvRatings;
        QTRY_VERIFY(list->isVisible());
        // A widget gets the double click alone from QTest: the press before it comes first.
        const QPoint at = list->visualRect(Model()->index(0, 1)).center();
        QTest::mousePress(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
        QTRY_COMPARE(shown, 1);
    }

    void graphImageIsSaved_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("start");
        QTest::newRow("png") << QStringLiteral("g.png") << QByteArray("\x89PNG");
        QTest::newRow("svg") << QStringLiteral("g.svg") << QByteArray("<?xml");
    }
    void graphImageIsSaved() {
        QFETCH(QString, name);
        QFETCH(QByteArray, start);
        TGraphData graph;
        graph.Caption = "Проба";
        graph.AddPoint(1, "ряд", 2, true, true, 0xFF0000);
        graph.AddPoint(2, "ряд", 3, true, true, 0xFF0000);
        TFormGraph form(graph);
        form.resize(400, 300);
        QTemporaryDir dir;
        const QString file = dir.filePath(name);
        QVERIFY(SaveGraphImage(*form.View(), file));
        QFile in(file);
        QVERIFY(in.open(QIODevice::ReadOnly));
        QVERIFY(in.readAll().startsWith(start));
    }
};

QTEST_MAIN(TRatingsTabTest)
#include "ratings_tab_test.moc"
