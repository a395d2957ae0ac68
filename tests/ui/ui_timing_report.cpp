// Responsiveness of the window, measured and printed (no budget asserted here):
//  - launch to an interactive window with the sample archive and the full list;
//  - the longest gap between two event-loop iterations during a generation, an exclusion
//    and keep/drop passes from the statistics table over the full list;
//  - scrolling to the end of the full list, selecting all of it and copying it;
//  - a rating of 100,000 rows: opening its tab, sorting by a column of each kind, scrolling;
//    a result graph over every draw of the sample archive;
//  - switching to each analysis view (graphs, card, layout, week) and refreshing it after a
//    change of the draws offset, and the longest gap while the offset moves up and down 50
//    times with every view shown;
//  - the longest gap during a download of 120 new draws from the local operator site
//    answering every request after 2 s.
// Run offscreen: QT_QPA_PLATFORM=offscreen pelko_ui_timing_report

#include "ui/ui_test_support.h"

#include "app/workspace.h"
#include "ui/combs/combs_page.h"
#include "ui/combs/form_gen_combs.h"
#include "ui/online/download_actions.h"
#include "ui/ratings/ratings_model.h"
#include "ui/ratings/ratings_tab.h"
#include "ui/common/form_graph.h"
#include "app/stakes_workspace.h"
#include "core/draw_archive.h"
#include "stakes/rating_record.h"
#include "stakes/stake_making.h"
#include <QHeaderView>
#include "ui/stats/statistics_tab.h"
#include "ui/analysis/analysis_views.h"
#include "ui/analysis/card_tab.h"
#include "ui/analysis/graphs_tab.h"
#include "ui/analysis/layout_tab.h"
#include "ui/analysis/week_tab.h"
#include "core/atomic_file.h"
#include "core/draw_csv.h"
#include "support/operator_site.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QItemSelectionModel>
#include <QProcess>
#include <QSpinBox>
#include <QTableView>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>

using namespace pelko;
using namespace pelko::uitest;

namespace {

double LongestGapMs(const std::function<void()>& operation) {
    return TimeWithGaps(operation).LongestGapMs;
}

double ElapsedMs(const std::function<void()>& operation) {
    QElapsedTimer clock;
    clock.start();
    operation();
    return double(clock.nsecsElapsed()) / 1e6;
}

void Report(const char* what, double ms, double budget) {
    std::printf("%-62s %9.1f ms", what, ms);
    if (budget > 0)
        std::printf("   (budget %.0f ms: %s)", budget, ms <= budget ? "within" : "OVER");
    std::printf("\n");
    std::fflush(stdout);
}

// A window on the folder, and the time from the call to its interactive state.
std::unique_ptr<TFormMain> TimedStart(const std::filesystem::path& folder, double& ms) {
    QElapsedTimer clock;
    clock.start();
    auto window = StartWindow(folder);
    QCoreApplication::processEvents(); // the first paint after start-up
    ms = double(clock.nsecsElapsed()) / 1e6;
    return window;
}

} // namespace

// The child of the launch measurement: start the window on the folder and say so.
int LaunchOnly(int argc, char** argv, const char* folder) {
    QApplication app(argc, argv);
    TScriptedSeams seams;
    auto window = StartWindow(folder);
    QCoreApplication::processEvents();
    std::printf("interactive\n");
    std::fflush(stdout);
    if (window) CloseWindow(window);
    return window ? 0 : 1;
}

// Wall time from starting a process until it reports an interactive window.
double ProcessLaunchMs(const QString& folder) {
    QProcess child;
    QElapsedTimer clock;
    clock.start();
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--launch"), folder});
    QByteArray out;
    while (!out.contains("interactive") && child.waitForReadyRead(30000))
        out += child.readAllStandardOutput();
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    child.waitForFinished(30000);
    return out.contains("interactive") ? ms : -1;
}

// Each analysis view made current (its refresh included), then refreshed after the offset
// moved; then the offset stepped up and down with every view shown.
void ReportAnalysisViews(TFormMain& window) {
    TAnalysisViews& views = *window.AnalysisViews();
    const QList<QWidget*> pages{views.Graphs, views.Card, views.Layout, views.Week};
    const char* const names[] = {"graphs", "card", "layout", "week"};
    for (int i = 0; i < pages.size(); ++i) {
        window.pcRight->setCurrentIndex(0);
        QCoreApplication::processEvents();
        const std::string what = std::string("switch to the ") + names[i] + " view";
        Report(what.c_str(), ElapsedMs([&] {
                   window.pcRight->setCurrentWidget(pages[i]);
                   QCoreApplication::processEvents();
               }),
               200);
        const int offset = window.edDrawsOffset->value();
        const std::string refresh = std::string("refresh the ") + names[i] + " view after the offset moved";
        Report(refresh.c_str(), ElapsedMs([&] {
                   window.edDrawsOffset->setValue(offset == 0 ? 1 : 0);
                   QCoreApplication::processEvents();
               }),
               200);
    }
    auto stepOffset = [&] {
        double longest = 0, slowest = 0;
        for (int step = 0; step < 100; ++step) {
            const TTimed timed = TimeWithGaps([&] {
                window.edDrawsOffset->setValue(step % 2 == 0 ? 1 : 0);
                QCoreApplication::processEvents();
            });
            longest = std::max(longest, timed.LongestGapMs);
            slowest = std::max(slowest, timed.Ms);
        }
        std::printf("  slowest single step: %.1f ms\n", slowest);
        return longest;
    };
    for (int i = 0; i < pages.size(); ++i) {
        window.pcRight->setCurrentWidget(pages[i]);
        QCoreApplication::processEvents();
        const std::string what = std::string("longest event-loop gap: offset up and down 50 times, ") +
                                 names[i] + " view current";
        Report(what.c_str(), stepOffset(), 150);
    }
    window.edDrawsOffset->setValue(0);
}

// A rating of 100,000 rows over the sample archive, and a stake on every draw for the
// profit-per-draw graph.
void ReportRatings(const std::filesystem::path& from, const QTemporaryDir& dir) {
    const std::filesystem::path folder = FolderOf(dir) / "ratings";
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(from / DRAWS_FILE_NAME, folder / DRAWS_FILE_NAME);
    std::vector<TRatingData> rows(100000);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        TRatingData& r = rows[i];
        r.SetCommentText("строка " + std::to_string(i * 7919 % 100000));
        r.Stakes = 1 + std::uint32_t(i % 97);
        r.Hits[0] = r.Stakes / 2;
        r.Hits[1] = r.Stakes - r.Hits[0];
        r.Matched = r.Hits[1];
        r.Profit = -std::int64_t(i % 1013) * 10000;
    }
    WriteRatingsFile(folder / RATINGS_FILE_NAME, rows);
    auto window = StartWindow(folder);
    if (!window) return;
    TRatingsTab* tab = window->RatingsTab();
    Report("rating of 100,000 rows: open its tab", ElapsedMs([&] {
               window->pcRight->setCurrentWidget(tab);
               QCoreApplication::processEvents();
           }),
           300);
    QHeaderView* header = tab->lvRatings->horizontalHeader();
    for (const auto& [column, name] : {std::pair{0, "comment"}, {1, "stakes"}, {3, "average"},
                                       {5, "average profit"}, {9, "hits 3"}}) {
        const std::string what = std::string("rating of 100,000 rows: sort by ") + name;
        Report(what.c_str(), ElapsedMs([&] {
                   header->setSortIndicator(column, Qt::AscendingOrder);
                   QCoreApplication::processEvents();
               }),
               300);
    }
    double longest = 0;
    for (int step = 0; step <= 40; ++step)
        longest = std::max(longest, ElapsedMs([&] {
                               tab->lvRatings->scrollTo(tab->Model()->index(step * 2499, 0));
                               QCoreApplication::processEvents();
                           }));
    Report("rating of 100,000 rows: longest scroll step", longest, 150);

    TStakeData stake = NewStakeDefaults(1, 1);
    stake.Numbers = CombToNumberSet(TComb{1, 2, 3, 4, 5, 6});
    stake.SetCommentText("на каждый тираж");
    window->Ws().Stakes().AddStakeInBatch(stake, int(window->Ws().Draws().size()), true);
    window->Ws().Stakes().CheckStakesAndSave();
    TScriptedSeams seams;
    double shown = 0;
    QElapsedTimer clock;
    seams.OnDialog = [&](QDialog& dialog) {
        dialog.show();
        QCoreApplication::processEvents();
        shown = double(clock.nsecsElapsed()) / 1e6;
        return int(QDialog::Accepted);
    };
    clock.start();
    tab->StakesGraphDraws->trigger();
    Report("profit-per-draw graph over every draw: window shown", shown, 500);
    CloseWindow(window);
}

// The archive and 120 more draws, served by a site that waits 2 s before every reply: the
// window must go on painting while the transfers wait.
void ReportSlowDownload(TFormMain& window, const QTemporaryDir& dir) {
    TDrawsArray draws = window.Ws().Draws();
    const std::int32_t newest = draws.empty() ? 0 : draws.back().Number;
    for (int i = 1; i <= 120; ++i) {
        TDrawData d = draws.empty() ? TDrawData{} : draws[draws.size() - 1 - i];
        d.Number = newest + i;
        draws.push_back(d);
    }
    const std::filesystem::path csv = FolderOf(dir) / "site.csv";
    WriteFileAtomically(csv, DrawsToCsv(draws));
    test::TOperatorSite site({"--archive", csv.string(), "--delay", "2000"});
    TOnlineSettings online = window.Ws().Online();
    online.DrawsSite = site.Url();
    window.Ws().SaveOnlineSettings(online);
    const std::size_t before = window.Ws().Draws().size();
    const TTimed timed = TimeWithGaps([&] { window.Downloads()->DrawsDownload->trigger(); });
    Report("longest event-loop gap: download, the site answering after 2 s", timed.LongestGapMs, 150);
    std::printf("  draws added: %zu\n", window.Ws().Draws().size() - before);
}

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--launch") return LaunchOnly(argc, argv, argv[2]);
    QElapsedTimer processClock;
    processClock.start();
    QApplication app(argc, argv);
    TScriptedSeams seams;
    QTemporaryDir dir;
    const auto folder = FolderOf(dir);

    // First start on an empty folder: the sample archive is imported, the full list made.
    double firstMs = 0;
    auto window = TimedStart(folder, firstMs);
    if (!window) {
        std::fprintf(stderr, "the window did not start\n");
        return 1;
    }
    Report("launch to interactive, first run (imports the sample archive)",
           double(processClock.nsecsElapsed()) / 1e6, 0);
    CloseWindow(window);

    Report("launch to interactive, a new process (sample archive, full list)",
           ProcessLaunchMs(dir.path()), 1500);
    double startMs = 0;
    window = TimedStart(folder, startMs);
    Report("window creation to interactive, in this process", startMs, 0);
    std::printf("  archive: %zu draws, list: %zu combinations\n", window->Ws().Draws().size(),
                window->Ws().Combs().List.Count());

    TCombsPage* combs = window->CombsPage();
    TStatisticsTab* stats = nullptr;
    for (int i = 0; i < window->pcRight->count() && !stats; ++i)
        stats = qobject_cast<TStatisticsTab*>(window->pcRight->widget(i));

    seams.OnDialog = [](QDialog& dialog) {
        if (auto* gen = qobject_cast<TFormGenCombs*>(&dialog))
            gen->cbCombsGenerateMode->setCurrentIndex(0);
        return int(QDialog::Accepted);
    };
    Report("longest event-loop gap: generation of the full list",
           LongestGapMs([&] { combs->CombsGen->trigger(); }), 150);

    combs->edCombsExclude->setValue(int(window->Ws().Draws().size()));
    Report("longest event-loop gap: excluding every draw of the archive",
           LongestGapMs([&] { combs->CombsDelExists->trigger(); }), 150);
    combs->CombsUndo->trigger();

    if (stats && stats->lvDrawsStat->model()->rowCount() > 0) {
        QTableView* table = stats->lvDrawsStat;
        auto selectSome = [&] {
            table->clearSelection();
            const int rows = std::min(8, table->model()->rowCount());
            for (int r = 0; r < rows; r += 2)
                table->selectionModel()->select(table->model()->index(r, 0),
                                                QItemSelectionModel::Select |
                                                    QItemSelectionModel::Rows);
        };
        std::printf("  statistics method: %s\n",
                    stats->cbDrawsStatType->currentText().toUtf8().constData());
        selectSome();
        Report("longest event-loop gap: keep the selected statistics rows",
               LongestGapMs([&] { stats->StatFilter_Include->trigger(); }), 150);
        std::printf("  list after keeping: %zu\n", window->Ws().Combs().List.Count());
        combs->CombsUndo->trigger();
        selectSome();
        Report("longest event-loop gap: drop the selected statistics rows",
               LongestGapMs([&] { stats->StatFilter_Exclude->trigger(); }), 150);
        std::printf("  list after dropping: %zu\n", window->Ws().Combs().List.Count());
        combs->CombsUndo->trigger();
    } else {
        std::printf("  (no statistics table rows: keep/drop not measured)\n");
    }

    window->pcLeft->setCurrentWidget(combs);
    QCoreApplication::processEvents();
    Report("scroll to the end of the full list", ElapsedMs([&] {
               combs->lvCombs->scrollToBottom();
               QCoreApplication::processEvents();
           }),
           0);
    Report("select all of the full list", ElapsedMs([&] {
               combs->CombsSelectAll->trigger();
               QCoreApplication::processEvents();
           }),
           0);
    Report("copy all of the full list to the clipboard",
           ElapsedMs([&] { combs->CombsCopy->trigger(); }), 0);
    Report("delete all selected (one range)",
           ElapsedMs([&] { combs->CombsDelSelected->trigger(); }), 0);

    ReportAnalysisViews(*window);
    ReportSlowDownload(*window, dir);
    CloseWindow(window);
    ReportRatings(folder, dir);
    return 0;
}
