// A back-test of the benchmark scenario from the window, measured and printed (no budget
// asserted here): its time against the same back-test from the command line, the longest
// gap between two event-loop iterations while it runs, how often the tab's panels were
// repainted, and how long "Стоп" takes to end a run. Each side runs one cycle to warm up,
// then the N cycles twice; the faster of the two counts (the machine may be shared).
// Run offscreen: QT_QPA_PLATFORM=offscreen pelko_ui_scenario_timing_report [cycles]

#include "ui/ui_test_support.h"

#include "app/script_desk.h"
#include "app/workspace.h"
#include "ui/common/form_test_cnt.h"
#include "ui/scenario/scenario_tab.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>

using namespace pelko;
using namespace pelko::uitest;

namespace {

const QString CLI = QStringLiteral(PELKO_CLI_EXE);
const QString SCENARIO = QStringLiteral(PELKO_BACKTEST_FILE);
const QString SAMPLE = QStringLiteral(PELKO_SHARE_DIR "/sample_draws.csv");

void Report(const char* what, double ms, double budget = 0) {
    std::printf("%-64s %9.1f ms", what, ms);
    if (budget > 0)
        std::printf("   (budget %.0f ms: %s)", budget, ms <= budget ? "within" : "OVER");
    std::printf("\n");
    std::fflush(stdout);
}

// The command line on `folder`; wall time, -1 when it failed. `stakes` gets the number of
// stakes it reports.
double RunCli(const QString& folder, const QStringList& arguments, int* stakes = nullptr) {
    QProcess cli;
    QElapsedTimer clock;
    clock.start();
    cli.start(CLI, QStringList{QStringLiteral("--data-dir"), folder} + arguments);
    if (!cli.waitForFinished(600000) || cli.exitCode() != 0) {
        std::fprintf(stderr, "%s\n", cli.readAllStandardError().constData());
        return -1;
    }
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    const QString out = QString::fromUtf8(cli.readAllStandardOutput());
    const QRegularExpressionMatch made =
        QRegularExpression(QStringLiteral("Ставок сделано: (\\d+)")).match(out);
    if (stakes) *stakes = made.hasMatch() ? made.captured(1).toInt() : -1;
    return ms;
}

QStringList TestArguments(int cycles) {
    return {QStringLiteral("scenario"), QStringLiteral("test"), SCENARIO, QStringLiteral("--draws"),
            QString::number(cycles)};
}

// Counts the paints of one widget.
class TPaintCounter : public QObject {
  public:
    int Paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++Paints;
        return false;
    }
};

} // namespace

int main(int argc, char** argv) {
    const int cycles = argc > 1 ? std::max(2, std::atoi(argv[1])) : 10;
    QApplication app(argc, argv);
    TScriptedSeams seams;
    std::printf("scenario %s, sample archive, %d cycles\n", qPrintable(SCENARIO), cycles);

    // The command line, in one folder (as the window does below).
    QTemporaryDir cliDir;
    if (RunCli(cliDir.path(), {QStringLiteral("draws"), QStringLiteral("import"), SAMPLE}) < 0) {
        std::fprintf(stderr, "the command line could not import the sample archive\n");
        return 1;
    }
    RunCli(cliDir.path(), TestArguments(1));
    int cliStakes = 0;
    double cliMany = RunCli(cliDir.path(), TestArguments(cycles), &cliStakes);
    cliMany = std::min(cliMany, RunCli(cliDir.path(), TestArguments(cycles)));

    // The window on a new folder: it imports the sample archive itself.
    QTemporaryDir dir;
    auto window = StartWindow(FolderOf(dir));
    if (!window) {
        std::fprintf(stderr, "the window did not start\n");
        return 1;
    }
    auto* tab = window->findChild<TScenarioTab*>();
    window->pcRight->setCurrentWidget(tab);
    QCoreApplication::processEvents();
    seams.FileNames = {SCENARIO};
    tab->ScriptOpen->trigger();
    std::printf("  archive: %zu draws, scenario: %zu lines\n", window->Ws().Draws().size(),
                window->Ws().Script().Count());

    int asked = 1;
    seams.OnDialog = [&asked](QDialog& dialog) {
        auto* count = qobject_cast<TFormTestCnt*>(&dialog);
        if (!count) return int(QDialog::Rejected);
        count->edTestCount->setValue(asked);
        return int(QDialog::Accepted);
    };
    TimeWithGaps([&] { tab->ScriptTest->trigger(); });
    asked = cycles;
    TPaintCounter paints;
    tab->Panel(4)->installEventFilter(&paints);
    TTimed windowMany = TimeWithGaps([&] { tab->ScriptTest->trigger(); });
    tab->Panel(4)->removeEventFilter(&paints);
    const int windowStakes = tab->Runner().ScriptStakesMade();
    const TTimed again = TimeWithGaps([&] { tab->ScriptTest->trigger(); });
    windowMany.Ms = std::min(windowMany.Ms, again.Ms);
    windowMany.LongestGapMs = std::max(windowMany.LongestGapMs, again.LongestGapMs);

    Report("command line: back-test of N cycles (whole process)", cliMany);
    Report("window: back-test of N cycles", windowMany.Ms);
    std::printf("  stakes made: window %d, command line %d\n", windowStakes, cliStakes);
    std::printf("  window / command line: %.3f (budget 1.10: %s)\n", windowMany.Ms / cliMany,
                windowMany.Ms <= 1.1 * cliMany ? "within" : "OVER");
    Report("longest event-loop gap during the window's back-tests", windowMany.LongestGapMs, 150);
    std::printf("  run panel repainted %d times in one back-test\n", paints.Paints);

    // "Стоп" a second into another back-test: how soon the click is handled, and how soon
    // the run ends after the stop is confirmed.
    constexpr qint64 due = 1000 * 1000000LL;
    QElapsedTimer clock;
    qint64 clicked = 0;
    clock.start();
    QTimer::singleShot(1000, Qt::PreciseTimer, [&] {
        clicked = clock.nsecsElapsed();
        seams.Answers = {QMessageBox::Yes};
        tab->ScriptStop->trigger();
    });
    tab->ScriptTest->trigger();
    const qint64 ended = clock.nsecsElapsed();
    if (clicked > 0) {
        Report("\"Стоп\": click handled after it was due", double(clicked - due) / 1e6);
        Report("\"Стоп\": run ended after the stop was confirmed", double(ended - clicked) / 1e6,
               1000);
        std::printf("  the offset stayed at %d\n", window->Ws().DrawsOffset());
    } else {
        std::printf("  (the back-test ended within a second: the stop was not measured)\n");
    }

    CloseWindow(window);
    return 0;
}
