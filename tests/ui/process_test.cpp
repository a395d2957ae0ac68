// The window program as a process: a second copy on the same data folder stops without
// touching a file, and SIGTERM closes the window like a close request (settings saved).

#include "ui/ui_test_support.h"

#include "core/draw_archive.h"
#include "core/ini_file.h"
#include "platform/file_lock.h"
#include "stakes/stake_record.h"
#include "ui/window_settings.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

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

void StartProgram(QProcess& process, const QString& folder, const QStringList& switches = {}) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("PELKO_UNATTENDED"), QStringLiteral("1"));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(PELKO_WINDOW_EXE),
                  QStringList{QStringLiteral("--data-dir"), folder} + switches);
}

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
