// The draw download from the window: its menu entries and the start-up choice, a download
// with the stakes check after it, the wait window's "Стоп" during a slow chunk, and the
// "loadonly" switch of the program.

#include "ui/ui_test_support.h"

#include "app/stakes_workspace.h"
#include "core/atomic_file.h"
#include "core/draw_archive.h"
#include "core/draw_csv.h"
#include "core/ini_file.h"
#include "stakes/stake_making.h"
#include "support/operator_site.h"
#include "ui/common/form_wait.h"
#include "ui/online/download_actions.h"
#include "ui/online/form_proxy.h"
#include "ui/shell/window_settings.h"

#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>

#include <sys/stat.h>

using namespace pelko;
using namespace pelko::uitest;

namespace {

class TDownloadActionsTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<TScriptedSeams> seams_;
    std::unique_ptr<TFormMain> window_;
    std::unique_ptr<test::TOperatorSite> site_;

    std::filesystem::path Folder() const { return FolderOf(*dir_); }
    TDownloadActions* Downloads() { return window_->Downloads(); }

    // A site holding draws 1..siteDraws; the folder holds 1..10 and names the site.
    void ServeAndName(int siteDraws, std::vector<std::string> args = {}) {
        const std::filesystem::path csv = Folder() / "site.csv";
        WriteFileAtomically(csv, DrawsToCsv(MakeDraws(siteDraws)));
        args.insert(args.begin(), {"--archive", csv.string()});
        site_ = std::make_unique<test::TOperatorSite>(args);
        WriteArchive(Folder(), MakeDraws(10));
        TIniFile ini(Folder() / "Pelko_6x45.ini");
        ini.WriteString("ONLINE", "DrawsSite", site_->Url());
        ini.Save();
    }
    void SetStartChoice(int value) {
        TIniFile ini(WindowSettingsPath(Folder()));
        ini.WriteInteger("TFormMain", TDownloadActions::START_KEY, value);
        ini.Save();
    }
    int Questions(const QString& text) const {
        int n = 0;
        for (const TShownBox& box : seams_->Boxes) n += box.Text.startsWith(text) ? 1 : 0;
        return n;
    }

  private Q_SLOTS:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        seams_ = std::make_unique<TScriptedSeams>();
    }
    void cleanup() {
        if (window_) CloseWindow(window_);
        site_.reset();
        seams_.reset();
        dir_.reset();
    }

    void menuEntriesAndTheStartChoice() {
        ServeAndName(10);
        SetStartChoice(TDownloadActions::START_OFF);
        window_ = StartWindow(Folder());
        QVERIFY(window_);
        QCOMPARE(Questions(QStringLiteral("Обновить список тиражей?")), 0);
        auto* menu = window_->menuBar()->findChild<QMenu*>(QStringLiteral("mnDraws"));
        QVERIFY(menu);
        const QList<QAction*> actions = menu->actions();
        QCOMPARE(actions.at(1), Downloads()->DrawsDownload);
        QCOMPARE(Downloads()->DrawsDownload->shortcut(), QKeySequence(Qt::Key_F3));
        QCOMPARE(actions.at(2)->menu(), Downloads()->AutoDownloadMenu);
        QVERIFY(Downloads()->AutoDownload2->isChecked());
        Downloads()->AutoDownload0->trigger();
        CloseWindow(window_);
        QCOMPARE(TIniFile(WindowSettingsPath(Folder())).ReadInteger("TFormMain", "DownloadDrawsOnStart", -1), 0);

        // Choice 0 asks at start; No leaves the archive alone.
        seams_->Answers = {QMessageBox::No};
        window_ = StartWindow(Folder());
        QCOMPARE(Questions(QStringLiteral("Обновить список тиражей?")), 1);
        QCOMPARE(window_->Ws().Draws().size(), std::size_t(10));
    }

    void downloadChecksTheStakesAfterwards() {
        ServeAndName(60);
        SetStartChoice(TDownloadActions::START_OFF);
        window_ = StartWindow(Folder());
        TStakeData stake = NewStakeDefaults(12, 1);
        TComb comb{};
        const TDrawData twelfth = MakeDraws(12).back();
        std::copy(twelfth.Nums, twelfth.Nums + 6, comb.begin());
        stake.Numbers = CombToNumberSet(comb);
        stake.SetCommentText("после загрузки");
        QVERIFY(window_->Ws().Stakes().AddStakeInBatch(stake, 1, false));
        Downloads()->DrawsDownload->trigger();
        QCOMPARE(window_->Ws().Draws().size(), std::size_t(60));
        QVERIFY(window_->Ws().Stakes().StakeAt(0).IsChecked());
        QVERIFY(!Downloads()->Running());
        QVERIFY(window_->findChildren<TFormWait*>().isEmpty());
    }

    void stopDuringASlowChunkKeepsTheSavedOne() {
        ServeAndName(200, {"--delay", "1500"});
        SetStartChoice(TDownloadActions::START_OFF);
        window_ = StartWindow(Folder());
        QTimer::singleShot(2300, this, [this] {
            auto waits = window_->findChildren<TFormWait*>();
            if (!waits.isEmpty()) waits.first()->btStop->click();
        });
        const TDownloadResult result = Downloads()->RunDownload();
        QVERIFY(result.Stopped);
        QCOMPARE(result.Added, 50);
        QCOMPARE(window_->Ws().Draws().size(), std::size_t(60));
    }

    // The dialog's fields go to sections "PROXY" and "ONLINE"; with a password kept the file
    // is readable by its owner only.
    void editProxyKeepsThePasswordPrivate() {
        WriteArchive(Folder(), MakeDraws(10));
        window_ = StartWindow(Folder());
        seams_->OnDialog = [](QDialog& dialog) {
            auto* form = qobject_cast<TFormProxy*>(&dialog);
            if (!form) return int(QDialog::Rejected);
            form->rbProxyManual->setChecked(true);
            form->edServer->setText(QStringLiteral("127.0.0.1"));
            form->edPort->setValue(3128);
            form->edUsername->setText(QStringLiteral("u"));
            form->edPassword->setText(QStringLiteral("тайна"));
            form->edDrawsSite->setText(QStringLiteral("http://127.0.0.1:8645"));
            return int(QDialog::Accepted);
        };
        Downloads()->EditProxy->trigger();
        const std::filesystem::path file = Folder() / "Pelko_6x45.ini";
        const TIniFile ini(file);
        QCOMPARE(ini.ReadInteger("PROXY", "ProxyMode", -1), int(PROXY_MODE_MANUAL));
        QCOMPARE(ini.ReadInteger("PROXY", "ProxyPort", 0), 3128);
        QCOMPARE(QString::fromStdString(ini.ReadString("PROXY", "ProxyPassword")), QStringLiteral("тайна"));
        QCOMPARE(ini.ReadString("ONLINE", "DrawsSite"), std::string("http://127.0.0.1:8645"));
        struct stat st {};
        QCOMPARE(::stat(file.c_str(), &st), 0);
        QCOMPARE(int(st.st_mode & 0777), 0600);
    }

    void loadOnlyDownloadsAndEnds_data() {
        QTest::addColumn<bool>("named");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("site named") << true << 0;
        QTest::newRow("no site") << false << 1;
    }
    void loadOnlyDownloadsAndEnds() {
        QFETCH(bool, named);
        QFETCH(int, exitCode);
        if (named)
            ServeAndName(75);
        else
            WriteArchive(Folder(), MakeDraws(10));
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("PELKO_UNATTENDED"), QStringLiteral("1"));
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(PELKO_WINDOW_EXE),
                      {QStringLiteral("--data-dir"), dir_->path(), QStringLiteral("loadonly")});
        QVERIFY(program.waitForFinished(60000));
        QCOMPARE(program.exitCode(), exitCode);
        TDrawsArray draws;
        ReadDrawsFile(Folder() / DRAWS_FILE_NAME, draws);
        QCOMPARE(draws.size(), std::size_t(named ? 75 : 10));
        if (!named) QVERIFY(QString::fromUtf8(program.readAllStandardError()).contains(QStringLiteral("DrawsSite")));
    }
};

} // namespace

QTEST_MAIN(TDownloadActionsTest)
#include "download_actions_test.moc"
