// The window program as a process: a second copy on the same data folder stops without
// touching a file, SIGTERM closes the window like a close request (settings saved), and
// termination signals end it within two seconds whatever it is doing.

#include "ui/ui_test_support.h"

#include "core/atomic_file.h"
#include "core/draw_archive.h"
#include "core/ini_file.h"
#include "platform/file_lock.h"
#include "scenarios/script_file.h"
#include "stakes/stake_record.h"
#include "ui/shell/window_settings.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

#include <algorithm>
#include <csignal>
#include <map>

using namespace pelko;
using namespace pelko::uitest;

namespace {

using TFolderState = std::map<QString, std::pair<qint64, QDateTime>>;

TFolderState StateOf(const QString& folder) {
    TFolderState state;
    // The folder's lock file is no data: whoever takes the lock writes its PID there.
    for (const QFileInfo& file : QDir(folder).entryInfoList(QDir::Files | QDir::Hidden))
        if (file.fileName() != QStringLiteral("Pelko_6x45.lock"))
            state[file.fileName()] = {file.size(), file.lastModified()};
    return state;
}

// `attended`: every box waits for a person who never comes.
void StartProgram(QProcess& process, const QString& folder, const QStringList& switches = {},
                  bool attended = false) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    if (attended)
        env.remove(QStringLiteral("PELKO_UNATTENDED"));
    else
        env.insert(QStringLiteral("PELKO_UNATTENDED"), QStringLiteral("1"));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(PELKO_WINDOW_EXE),
                  QStringList{QStringLiteral("--data-dir"), folder} + switches);
}

// Whether the program has written `text` to its standard error yet (kept in `seen`).
bool Printed(QProcess& process, QString& seen, const QString& text) {
    seen += QString::fromUtf8(process.readAllStandardError());
    return seen.contains(text);
}

// Sends `signo` and waits for the end: the milliseconds it took, -1 when it took over 3 s.
qint64 SignalAndWait(QProcess& process, int signo) {
    QElapsedTimer clock;
    clock.start();
    ::kill(static_cast<pid_t>(process.processId()), signo);
    return process.waitForFinished(3000) ? clock.elapsed() : -1;
}

constexpr int BEFORE_WINDOW = 0, SECOND_COPY = 1, REBUILD = 2;

} // namespace

class TProcessTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void secondInstanceIsRefusedAndTouchesNothing() {
        QTemporaryDir dir;
        const auto folder = FolderOf(dir);
        WriteArchive(folder, MakeDraws(5));
        WriteGenerateParams(folder, 2, "1,2,3,4,5,6,7");
        {
            TIniFile frm(WindowSettingsPath(folder));
            frm.WriteInteger("TFormMain", "LeftPanelWidth", 333);
            frm.Save();
        }
        // This process plays the first copy.
        auto held = OpenLockedFile(folder / STAKES_FILE_NAME);
        const TFolderState before = StateOf(dir.path());

        QProcess second;
        StartProgram(second, dir.path());
        QVERIFY(second.waitForFinished(30000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 1);
        const QString errors = QString::fromUtf8(second.readAllStandardError());
        QVERIFY2(errors.contains(
                     QStringLiteral("Невозможно получить монопольный доступ к файлам данных!")),
                 qPrintable(errors));
        QVERIFY(errors.contains(QStringLiteral("Программа будет закрыта!")));
        QCOMPARE(StateOf(dir.path()), before);
    }

    void terminationSignalClosesAndSavesTheSettings() {
        QTemporaryDir dir;
        const auto folder = FolderOf(dir);
        WriteArchive(folder, MakeDraws(5));
        WriteGenerateParams(folder, 2, "1,2,3,4,5,6,7");
        QProcess program;
        StartProgram(program, dir.path());
        QVERIFY(program.waitForStarted(10000));
        // The lock is taken and the first-run key written during the deferred start-up.
        const auto frm = WindowSettingsPath(folder);
        QTRY_VERIFY_WITH_TIMEOUT(TIniFile(frm).ReadBool("TFormMain", "PrefetchsInit", false),
                                 30000);
        QVERIFY(!TIniFile(frm).HasKey("TFormMain", "NormPos"));
        QTest::qWait(300);

        program.terminate(); // SIGTERM
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        QVERIFY(TIniFile(frm).HasKey("TFormMain", "NormPos"));
        QVERIFY(TIniFile(frm).HasKey("TFormMain", "lvDraws.Column0"));
        // The lock went with the process.
        QVERIFY(OpenLockedFile(folder / STAKES_FILE_NAME) != nullptr);
    }

    // States the program cannot leave by itself: a box before the window exists (its data
    // folder cannot be made), the box of a second copy, a rebuild of every prefetch file
    // (seconds long, it polls no stop flag: the watchdog or a second signal ends it).
    void signalEndsTheProgramPromptly_data() {
        QTest::addColumn<int>("state");
        QTest::addColumn<QList<int>>("sent");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<int>("withinMs"); // of the last signal
        QTest::newRow("start-up box") << BEFORE_WINDOW << QList<int>{SIGTERM} << 1 << 2000;
        QTest::newRow("second copy, SIGTERM") << SECOND_COPY << QList<int>{SIGTERM} << 1 << 2000;
        QTest::newRow("second copy, SIGINT") << SECOND_COPY << QList<int>{SIGINT} << 1 << 2000;
        QTest::newRow("second copy, SIGHUP") << SECOND_COPY << QList<int>{SIGHUP} << 1 << 2000;
        QTest::newRow("rebuild, watchdog")
            << REBUILD << QList<int>{SIGTERM} << 128 + SIGTERM << 2000;
        QTest::newRow("rebuild, second signal")
            << REBUILD << QList<int>{SIGTERM, SIGINT} << 128 + SIGINT << 500;
    }
    void signalEndsTheProgramPromptly() {
        QFETCH(int, state);
        QFETCH(QList<int>, sent);
        QFETCH(int, exitCode);
        QFETCH(int, withinMs);
        QTemporaryDir dir;
        QString folder = dir.path();
        std::unique_ptr<TRandomAccessFile> held;
        if (state == BEFORE_WINDOW) {
            QVERIFY(QFile(dir.filePath(QStringLiteral("file"))).open(QIODevice::WriteOnly));
            folder = dir.filePath(QStringLiteral("file/data"));
        } else if (state == SECOND_COPY) {
            WriteArchive(FolderOf(dir), MakeDraws(5));
            held = OpenLockedFile(FolderOf(dir) / STAKES_FILE_NAME); // the first copy
        }
        QProcess program;
        QString errors;
        StartProgram(
            program, folder,
            state == REBUILD ? QStringList{QStringLiteral("/FullRecreate")} : QStringList{}, true);
        const QString busy[] = {QStringLiteral("Ошибка запуска программы!"),
                                QStringLiteral("Ошибка чтения файла ставок!"),
                                QStringLiteral("( завершено ")};
        QTRY_VERIFY_WITH_TIMEOUT(Printed(program, errors, busy[state]), 60000);
        if (sent.size() > 1) {
            ::kill(static_cast<pid_t>(program.processId()), sent.takeFirst());
            QVERIFY(!program.waitForFinished(300)); // busy ending
        }
        const qint64 ms = SignalAndWait(program, sent.first());
        QVERIFY2(ms >= 0 && ms < withinMs, qPrintable(QString::number(ms)));
        // Its own end, not the signal's default action.
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), exitCode);
    }

    void signalStopsABackTestAndKeepsItsFiles() {
        QTemporaryDir dir;
        QTemporaryDir shots;
        const auto folder = FolderOf(dir);
        // The benchmark scenario as the working one on the sample archive (imported by the
        // window); the screenshots mode back-tests it over 3 draws, with pictures in cycle 2.
        const auto working = folder / WORKING_SCRIPT_FILE_NAME;
        WriteScriptFile(working, ReadScriptFile(PELKO_BACKTEST_FILE));
        const std::string scenario = ReadWholeFile(working);
        QProcess program;
        StartProgram(program, dir.path(), {QStringLiteral("--screenshots"), shots.path()}, true);
        QTRY_VERIFY_WITH_TIMEOUT(
            QFileInfo::exists(shots.filePath(QStringLiteral("tsStakes_run.png"))), 60000);

        const qint64 ms = SignalAndWait(program, SIGTERM);
        QVERIFY2(ms >= 0 && ms < 2000, qPrintable(QString::number(ms)));
        QCOMPARE(program.exitCode(), 0); // closed, not cut short by the watchdog
        QVERIFY(TIniFile(WindowSettingsPath(folder)).HasKey("TFormMain", "NormPos"));
        QCOMPARE(ReadWholeFile(working), scenario);
        // Whole records, and the third cycle (stakes on the last draw) never ran.
        const std::string stakes = ReadWholeFile(folder / STAKES_FILE_NAME);
        QCOMPARE(stakes.size() % STAKE_RECORD_SIZE, std::size_t(0));
        TDrawsArray draws;
        ReadDrawsFile(folder / DRAWS_FILE_NAME, draws);
        int made = 0;
        for (std::size_t at = 0; at < stakes.size(); at += STAKE_RECORD_SIZE) {
            const TStakeData stake = DecodeStakeRecord(stakes.data() + at);
            made += !stake.IsSeparator();
            QVERIFY(stake.DrawNumber < draws.back().Number);
        }
        QVERIFY(made > 0);
    }

    void fullRefreshMakesThePrefetchFilesAndExits() {
        QTemporaryDir dir;
        const auto folder = FolderOf(dir);
        WriteArchive(folder, MakeDraws(5));
        WriteGenerateParams(folder, 2, "1,2,3,4,5,6,7");
        QProcess program;
        StartProgram(program, dir.path(), {QStringLiteral("/FullRefresh")});
        QVERIFY(program.waitForFinished(240000));
        QCOMPARE(program.exitCode(), 0);
        const QString errors = QString::fromUtf8(program.readAllStandardError());
        QVERIFY2(errors.contains(QStringLiteral("( завершено 100 % )")),
                 qPrintable(errors.right(500)));
        const QStringList files = QDir(dir.filePath(QStringLiteral("Prefetchs")))
                                      .entryList({QStringLiteral("*.dfc")}, QDir::Files);
        QVERIFY(files.size() > 10);
        QVERIFY(files.contains(QStringLiteral("Pelko_6x45_NUMS.dfc")));
    }
};

QTEST_MAIN(TProcessTest)
#include "process_test.moc"
