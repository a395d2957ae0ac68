// The graphs tab, the repeats window and the sum distribution from the main window: what
// they show over a hand-made archive, when the graph recomputes, and the tabs' visibility
// options stored at once.

#include "ui/ui_test_support.h"

#include "core/ini_file.h"
#include "stats/stat_list.h"
#include "ui/analysis/analysis_views.h"
#include "ui/analysis/form_repeats.h"
#include "ui/analysis/graphs_tab.h"
#include "ui/analysis/repeats_model.h"
#include "ui/common/form_graph.h"
#include "ui/common/graph_view.h"
#include "ui/shell/window_settings.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QChart>
#include <QComboBox>
#include <QLineSeries>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

using namespace pelko;
using namespace pelko::uitest;

class TAnalysisViewsTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<TScriptedSeams> seams_;
    std::unique_ptr<TFormMain> window_;

    std::filesystem::path Folder() const { return FolderOf(*dir_); }
    TAnalysisViews* Views() { return window_->AnalysisViews(); }
    TGraphsTab* Graphs() { return Views()->Graphs; }

    // Draws 100..103 of the repeats example, then (unless left out) 104 with sum 21.
    bool Start(bool withLast = true) {
        TDrawsArray draws{MakeDraw(100, {1, 2, 3, 4, 5, 6}), MakeDraw(101, {1, 2, 10, 11, 12, 13}),
                          MakeDraw(102, {1, 2, 20, 21, 22, 23}),
                          MakeDraw(103, {1, 2, 3, 30, 31, 32})};
        if (withLast) draws.push_back(MakeDraw(104, {1, 2, 3, 4, 5, 6}));
        WriteArchive(Folder(), draws);
        WriteGenerateParams(Folder(), 2, "1,2,3,4,5,6,7,8");
        window_ = StartWindow(Folder());
        return window_ != nullptr;
    }
    bool SelectGraphMethod(const char* code) {
        QComboBox* combo = Graphs()->cbDrawsGraphType;
        const int method = window_->Ws().Stats().IndexOfCode(code);
        for (int i = 0; i < combo->count(); ++i)
            if (combo->itemData(i).toInt() == method) {
                combo->setCurrentIndex(i);
                return true;
            }
        return false;
    }
    QList<QPointF> GraphPoints(int series) {
        auto all = Graphs()->crtDrawsGraph->chart()->series();
        return series < all.size() ? static_cast<QLineSeries*>(all[series])->points()
                                   : QList<QPointF>();
    }

  private Q_SLOTS:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        seams_ = std::make_unique<TScriptedSeams>();
    }
    void cleanup() {
        if (window_) CloseWindow(window_);
        seams_.reset();
        dir_.reset();
    }

    // The value, mean and most-frequent lines; the offset hides the newest draw; the same
    // inputs again keep the chart, "Обновить" always draws anew.
    void graphFollowsOffsetAndRecomputesOnlyOnChange() {
        QVERIFY(Start());
        window_->pcRight->setCurrentWidget(Graphs());
        QVERIFY(SelectGraphMethod("SUMS"));
        QCOMPARE(Graphs()->SeriesCount(), 3);
        QCOMPARE(GraphPoints(0).size(), 5);
        QCOMPARE(GraphPoints(0).last(), QPointF(104, 21));
        window_->edDrawsOffset->setValue(1);
        QCOMPARE(GraphPoints(0).size(), 4);
        QCOMPARE(GraphPoints(0).last().x(), 103.0);
        QChart* shown = Graphs()->crtDrawsGraph->chart();
        window_->Ws().RefreshViews();
        QCOMPARE(Graphs()->crtDrawsGraph->chart(), shown);
        Graphs()->DrawsGraphDraw->trigger();
        QVERIFY(Graphs()->crtDrawsGraph->chart() != shown);
        Graphs()->edDrawsGraphLen->setValue(2);
        Graphs()->DrawsGraphDraw->trigger();
        QCOMPARE(GraphPoints(1).size(), 2);
        // A page off the screen catches up when it comes up again.
        window_->pcRight->setCurrentIndex(0);
        window_->edDrawsOffset->setValue(0);
        QCOMPARE(GraphPoints(0).last().x(), 103.0);
        window_->pcRight->setCurrentWidget(Graphs());
        QCOMPARE(GraphPoints(0).last().x(), 104.0);
    }

    // The example of the list's order, and the window's lengths kept for the next time.
    void repeatsWindowListsTheNewestDraw() {
        QVERIFY(Start(false));
        QStringList rows;
        int series = -1;
        seams_->OnDialog = [&](QDialog& dialog) {
            auto* form = qobject_cast<TFormRepeats*>(&dialog);
            if (!form) return int(QDialog::Rejected);
            form->edDrawsLen->setValue(1);
            form->edDeep->setValue(3);
            QTest::keyClick(form->edDeep, Qt::Key_Return);
            QAbstractItemModelTester tester(form->Model(),
                                            QAbstractItemModelTester::FailureReportingMode::QtTest);
            const QAbstractItemModel* model = form->lvList->model();
            for (int r = 0; r < model->rowCount(); ++r) {
                QStringList cells;
                for (int c = 0; c < 4; ++c) cells << model->index(r, c).data().toString();
                rows << cells.join(QLatin1Char('|'));
            }
            series = static_cast<int>(form->crtGraph->chart()->series().size());
            return int(QDialog::Accepted);
        };
        Views()->AnalyzeRepeats->trigger();
        QCOMPARE(rows, (QStringList{QStringLiteral("103|2|2|102 101"), QStringLiteral("103|3|1|100")}));
        QCOMPARE(series, 3);
        const TIniFile ini(WindowSettingsPath(Folder()));
        QCOMPARE(ini.ReadInteger("TFormRepeats", "DrawsDeep", 0), 3);
    }

    void sumDistributionWindow() {
        QVERIFY(Start());
        QStringList titles;
        seams_->OnDialog = [&](QDialog& dialog) {
            auto* form = qobject_cast<TFormGraph*>(&dialog);
            if (!form) return int(QDialog::Rejected);
            for (QAbstractSeries* s : form->View()->chart()->series()) titles << s->name();
            return int(QDialog::Accepted);
        };
        Views()->TotalSumCombs->trigger();
        QCOMPARE(titles.size(), 5);
        QCOMPARE(titles[2], QStringLiteral("Диапазон 1 (от 1/3 и выше по оси Y) - суммы 93-183"));
    }

    // Hiding a tab stores its key at once and takes the tab off the page control.
    void tabVisibilityIsStoredAtOnce() {
        QVERIFY(Start());
        Views()->TabGraps->trigger();
        QVERIFY(!window_->pcRight->isTabVisible(window_->pcRight->indexOf(Graphs())));
        QVERIFY(!Graphs()->Shown());
        TIniFile ini(WindowSettingsPath(Folder()));
        QCOMPARE(ini.ReadBool("TFormMain", "TabGraphs", true), false);
        Views()->TabGraps->trigger();
        QCOMPARE(window_->pcRight->currentWidget(), static_cast<QWidget*>(Graphs()));
        QCOMPARE(TIniFile(WindowSettingsPath(Folder())).ReadBool("TFormMain", "TabGraphs", false),
                 true);
    }
};

QTEST_MAIN(TAnalysisViewsTest)
#include "analysis_views_test.moc"
