// The spreadsheet export writes a real workbook: title, headers, rows, numbers as numbers,
// the visible columns and rows of a view, and legal sheet names.

#include "support/spreadsheet_export.h"
#include "ui/common/spreadsheet_view_export.h"

#include <QHeaderView>
#include <QProcess>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using namespace pelko;

namespace {

// One part of the workbook (a zip archive) as text.
QString PartOf(const QString& file, const QString& part) {
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), file, part});
    unzip.waitForFinished(10000);
    return QString::fromUtf8(unzip.readAllStandardOutput());
}

} // namespace

class TSpreadsheetExportTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void writesTitleHeadersAndRows() {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("draws.xlsx"));
        TSheetTable table;
        table.Title = "Архив тиражей";
        table.Columns = {{"Тираж", 8}, {"Дата тиража", 16}};
        table.RowCount = 3;
        table.FillRow = [](std::size_t row, std::vector<TSheetCell>& cells) {
            cells[0] = TSheetCell::Of(double(100 + row));
            cells[1] = TSheetCell::Of(row == 1 ? std::string()
                                               : "0" + std::to_string(row + 1) + ".01.2024 <&>");
        };
        std::vector<std::size_t> progress;
        WriteSpreadsheet(file.toStdString(), table,
                         [&](std::size_t done, std::size_t) { progress.push_back(done); });
        QCOMPARE(progress.back(), std::size_t(3));

        const QString sheet = PartOf(file, QStringLiteral("xl/worksheets/sheet1.xml"));
        QVERIFY2(sheet.contains(QStringLiteral("Архив тиражей")), qPrintable(sheet.left(400)));
        QVERIFY(sheet.contains(QStringLiteral("Дата тиража")));
        QVERIFY(sheet.contains(QStringLiteral("<v>102</v>")));
        QVERIFY(sheet.contains(QStringLiteral("03.01.2024 &lt;&amp;&gt;")));
        QVERIFY(!sheet.contains(QStringLiteral("02.01.2024"))); // the empty cell stays empty
        QVERIFY(PartOf(file, QStringLiteral("xl/workbook.xml"))
                    .contains(QStringLiteral("name=\"Архив тиражей\"")));
    }

    void sheetNamesFollowTheFormatsRules_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("part");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << QStringLiteral("Комбинации") << 1 << QStringLiteral("Комбинации");
        QTest::newRow("forbidden characters")
            << QStringLiteral("a/b:c[d]*?\\") << 1 << QStringLiteral("a b c d    ");
        QTest::newRow("long, cut at a character")
            << QString(40, QChar(0x0416)) << 1 << QString(31, QChar(0x0416));
        QTest::newRow("continued sheet") << QString(40, QChar(0x0416)) << 2
                                         << QString(27, QChar(0x0416)) + QStringLiteral(" (2)");
        QTest::newRow("empty") << QString() << 1 << QStringLiteral("Лист");
    }
    void sheetNamesFollowTheFormatsRules() {
        QFETCH(QString, title);
        QFETCH(int, part);
        QFETCH(QString, expected);
        QCOMPARE(QString::fromStdString(SheetName(title.toStdString(), part)), expected);
    }

    void viewExportTakesVisibleColumnsAndRows() {
        QStandardItemModel model(4, 3);
        model.setHorizontalHeaderLabels(
            {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
        for (int r = 0; r < 4; ++r) {
            model.setData(model.index(r, 0), r);
            model.setData(model.index(r, 1), QStringLiteral("b%1").arg(r));
            model.setData(model.index(r, 2), r * 1.5);
        }
        QTableView view;
        view.setModel(&model);
        view.setColumnHidden(1, true);
        view.setRowHidden(2, true);
        view.horizontalHeader()->moveSection(2, 0); // C shown first

        const TSheetTable table = SheetFromView(view, QStringLiteral("T"));
        QCOMPARE(table.Columns.size(), std::size_t(2));
        QCOMPARE(table.Columns[0].Header, std::string("C"));
        QCOMPARE(table.Columns[1].Header, std::string("A"));
        QCOMPARE(table.RowCount, std::size_t(3));
        std::vector<TSheetCell> cells(2);
        table.FillRow(2, cells); // the fourth model row: the third is hidden
        QVERIFY(cells[0].IsNumber && cells[1].IsNumber);
        QCOMPARE(cells[0].Number, 4.5);
        QCOMPARE(cells[1].Number, 3.0);
    }

    void unwritablePlaceThrows() {
        TSheetTable table;
        table.Title = "x";
        table.Columns = {{"a", 5}};
        table.RowCount = 1;
        table.FillRow = [](std::size_t, std::vector<TSheetCell>& cells) {
            cells[0] = TSheetCell::Of(1.0);
        };
        QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                                 WriteSpreadsheet("/nonexistent/folder/x.xlsx", table));
    }
};

QTEST_MAIN(TSpreadsheetExportTest)
#include "spreadsheet_export_test.moc"
