// Window placement and list columns in the window-settings file, and the command-line
// switches.

#include "core/ini_file.h"
#include "ui/shell/startup_options.h"
#include "ui/shell/window_settings.h"

#include <QHeaderView>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

using namespace pelko;

class TWindowSettingsTest : public QObject {
    Q_OBJECT

  private:
    static std::filesystem::path IniPath(const QTemporaryDir& dir) {
        return std::filesystem::path(dir.path().toStdString()) / "test.frm";
    }

  private Q_SLOTS:
    void placementRoundTrip() {
        QTemporaryDir dir;
        TIniFile ini(IniPath(dir));
        QWidget saved;
        saved.setGeometry(40, 50, 500, 300);
        SavePlacement(ini, "TFormX", saved);
        QCOMPARE(ini.ReadString("TFormX", "NormPos"), std::string("40,50,540,350"));
        QCOMPARE(ini.ReadString("TFormX", "NormPos_" + ScreenSizeSuffix(saved).toStdString()),
                 std::string("40,50,540,350"));
        QCOMPARE(ini.ReadInteger("TFormX", "ShowCmd", 0), 1);

        QWidget restored;
        restored.setGeometry(0, 0, 100, 100);
        RestorePlacement(ini, "TFormX", restored);
        QCOMPARE(restored.geometry(), QRect(40, 50, 500, 300));
    }

    void placementRestoreRules_data() {
        QTest::addColumn<QString>("sized");
        QTest::addColumn<QString>("plain");
        QTest::addColumn<bool>("samePixelsPerInch");
        QTest::addColumn<bool>("sizeable");
        QTest::addColumn<QRect>("expected");
        const QRect design(0, 0, 100, 100);
        QTest::newRow("this screen's key first")
            << "10,20,210,220"
            << "1,1,51,51" << true << true << QRect(10, 20, 200, 200);
        QTest::newRow("plain key when none for this screen")
            << ""
            << "1,2,51,52" << true << true << QRect(1, 2, 50, 50);
        QTest::newRow("another resolution keeps the design") << "10,20,210,220"
                                                             << "" << false << true << design;
        QTest::newRow("left not left of right") << "300,20,210,220"
                                                << "" << true << true << design;
        QTest::newRow("malformed") << "10,20"
                                   << "" << true << true << design;
        QTest::newRow("fixed border keeps its size")
            << "10,20,210,220"
            << "" << true << false << QRect(10, 20, 100, 100);
    }
    void placementRestoreRules() {
        QFETCH(QString, sized);
        QFETCH(QString, plain);
        QFETCH(bool, samePixelsPerInch);
        QFETCH(bool, sizeable);
        QFETCH(QRect, expected);
        QTemporaryDir dir;
        TIniFile ini(IniPath(dir));
        QWidget window;
        window.setGeometry(0, 0, 100, 100);
        ini.WriteInteger("S", "PixelsPerInch",
                         ScreenPixelsPerInch(window) + (samePixelsPerInch ? 0 : 24));
        if (!sized.isEmpty())
            ini.WriteString("S", "NormPos_" + ScreenSizeSuffix(window).toStdString(),
                            sized.toStdString());
        ini.WriteString("S", "NormPos_1x1", "5,5,6,6"); // another screen's: never used here
        if (!plain.isEmpty()) ini.WriteString("S", "NormPos", plain.toStdString());
        RestorePlacement(ini, "S", window, sizeable);
        QCOMPARE(window.geometry(), expected);
    }

    void showCommandMaximises() {
        QTemporaryDir dir;
        TIniFile ini(IniPath(dir));
        ini.WriteInteger("S", "ShowCmd", 3);
        QWidget window;
        RestorePlacement(ini, "S", window);
        QVERIFY(window.windowState() & Qt::WindowMaximized);
    }

    void columnsAndSortRoundTrip() {
        QTemporaryDir dir;
        TIniFile ini(IniPath(dir));
        QStandardItemModel model(2, 3);
        QTableView list;
        list.setObjectName(QStringLiteral("lvTest"));
        list.setModel(&model);
        list.setSortingEnabled(true);
        list.setColumnWidth(0, 41);
        list.setColumnWidth(2, 97);
        list.sortByColumn(2, Qt::DescendingOrder);
        SaveColumns(ini, "S", list, true);
        QCOMPARE(ini.ReadInteger("S", "lvTest.Column2", 0), 97);
        QCOMPARE(ini.ReadString("S", "lvTest.SortType"), std::string("2,1"));

        QTableView again;
        again.setObjectName(QStringLiteral("lvTest"));
        again.setModel(&model);
        again.setSortingEnabled(true);
        LoadColumns(ini, "S", again, true);
        QCOMPARE(again.columnWidth(0), 41);
        QCOMPARE(again.columnWidth(2), 97);
        QCOMPARE(again.horizontalHeader()->sortIndicatorSection(), 2);
        QCOMPARE(again.horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
    }

    void switches_data() {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<bool>("matches");
        for (const char* yes : {"restart", "-restart", "--RESTART", "/Restart", "\\restart"})
            QTest::newRow(yes) << QString::fromLatin1(yes) << true;
        for (const char* no : {"xrestart", "restart=1", "---restart", "restar"})
            QTest::newRow(no) << QString::fromLatin1(no) << false;
    }
    void switches() {
        QFETCH(QString, argument);
        QFETCH(bool, matches);
        const TStartupOptions options =
            TStartupOptions::Parse({QStringLiteral("prog"), QStringLiteral("--data-dir"),
                                    QStringLiteral("restart"), argument});
        QCOMPARE(options.Restart(), matches); // the data folder's value is no switch
        QCOMPARE(options.DataDir, QStringLiteral("restart"));
    }
};

QTEST_MAIN(TWindowSettingsTest)
#include "window_settings_test.moc"
