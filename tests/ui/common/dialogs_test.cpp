// The parameter dialogs and the details dialog, driven through the dialog seam: refusals
// leave everything as it was, the segment grid validates and keeps digits across column
// changes, an accepted configuration rebuilds the typed method ranges.

#include "app/workspace.h"
#include "core/config.h"
#include "core/draw_archive.h"
#include "core/geometry.h"
#include "stats/custom_stat.h"
#include "stats/stat_class.h"
#include "ui/shell/form_config.h"
#include "ui/common/form_info.h"
#include "ui/shell/form_shredding.h"
#include "ui/common/gui_host.h"
#include "ui/ui_test_support.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QLocale>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>
#include <set>

using namespace pelko;

namespace {

// Methods per class of the classes typed by `range` (every such class has the same number).
int TypesPerClass(const TStatList& stats, TTypeRangeFn range) {
    int methods = 0;
    std::set<const TStatClassInfo*> classes;
    for (const TStatMethod& method : stats.Methods())
        if (method.StatClass->TypeRange == range) {
            ++methods;
            classes.insert(method.StatClass);
        }
    return classes.empty() ? 0 : methods / static_cast<int>(classes.size());
}

QString Decimal(const char* text) {
    return QString::fromLatin1(text).replace(QLatin1Char('.'), QLocale().decimalPoint());
}

} // namespace

class TestDialogs : public QObject {
    Q_OBJECT

    uitest::TScriptedSeams seams_;
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<TGuiHost> host_;
    std::unique_ptr<Workspace> ws_;

    std::filesystem::path Folder() const { return uitest::FolderOf(*dir_); }
    template <class T> void Script(std::function<int(T&)> script) {
        seams_.OnDialog = [script](QDialog& dialog) {
            T* typed = qobject_cast<T*>(&dialog);
            return typed ? script(*typed) : int(QDialog::Rejected);
        };
    }

  private Q_SLOTS:
    void init() {
        seams_.Boxes.clear();
        seams_.OnDialog = nullptr;
        dir_ = std::make_unique<QTemporaryDir>();
        host_ = std::make_unique<TGuiHost>();
        ws_ = std::make_unique<Workspace>(*host_, Folder());
        ws_->Open(false);
    }
    void cleanup() {
        ws_.reset();
        host_.reset();
        dir_.reset();
    }

    void configCancelChangesNothing() {
        Script<TFormConfig>([](TFormConfig& dialog) {
            dialog.edMatrixCol->setValue(7);
            dialog.reject();
            return int(QDialog::Rejected);
        });
        const int methods = ws_->Stats().Count();
        QVERIFY(!TFormConfig::Execute(nullptr, *ws_));
        QCOMPARE(ws_->Config().MatrixCols, 5);
        QCOMPARE(ws_->Stats().Count(), methods);
        QVERIFY(!std::filesystem::exists(ws_->IniFile()));
    }

    void configAcceptRebuildsTheTypedRanges() {
        QCOMPARE(TypesPerClass(ws_->Stats(), &ColumnTypes), 5);
        QCOMPARE(TypesPerClass(ws_->Stats(), &ChannelTypes), 9);
        Script<TFormConfig>([](TFormConfig& dialog) {
            dialog.edMatrixCol->setValue(7);
            dialog.edChannelSize->setValue(9);
            dialog.edStakeMaxLen->setValue(10);
            dialog.edCost->setValue(12.5);
            dialog.cbCoefAbs->setChecked(true);
            dialog.accept();
            return dialog.result();
        });
        QVERIFY(TFormConfig::Execute(nullptr, *ws_));
        QCOMPARE(ws_->Config().MatrixCols, 7);
        QCOMPARE(ws_->Config().ChannelSize, 9);
        QCOMPARE(TypesPerClass(ws_->Stats(), &ColumnTypes), 7);
        QCOMPARE(TypesPerClass(ws_->Stats(), &ChannelTypes), 5);
        const TConfigData onDisk = LoadConfig(ws_->IniFile());
        QCOMPARE(onDisk.MatrixCols, 7);
        QCOMPARE(onDisk.MaxStake, 10);
        QCOMPARE(onDisk.Cost, TMoney(125000));
        QVERIFY(onDisk.CDL.UseAbsValues);
        QCOMPARE(onDisk.CDL.Deviation, -1.0L);
        QVERIFY(ws_->IsIdle());
    }

    void segmentCellsRefuseValuesOutsideOneToNine_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("refused");
        QTest::newRow("zero") << QStringLiteral("0") << true;
        QTest::newRow("ten") << QStringLiteral("10") << true;
        QTest::newRow("empty") << QString() << true;
        QTest::newRow("five") << QStringLiteral("5") << false;
        QTest::newRow("nine") << QStringLiteral("9") << false;
    }
    void segmentCellsRefuseValuesOutsideOneToNine() {
        QFETCH(QString, typed);
        QFETCH(bool, refused);
        TFormConfig dialog(ws_->Config());
        QTableWidgetItem* cell = dialog.SegmentCell(12);
        QVERIFY(cell);
        cell->setText(typed);
        if (refused) {
            QCOMPARE(seams_.Boxes.size(), 1);
            QCOMPARE(seams_.Boxes.first().Caption, QStringLiteral("Ошибка"));
            QCOMPARE(seams_.Boxes.first().Text,
                     QStringLiteral("Некорректное значение: %1!\n\nУкажите любое число от 1 до 9")
                         .arg(typed));
            QCOMPARE(cell->text(), QStringLiteral("1"));
        } else {
            QVERIFY(seams_.Boxes.isEmpty());
            QCOMPARE(cell->text(), typed);
        }
        dialog.accept();
        QCOMPARE(int(dialog.Result().Segments[11]), refused ? 1 : typed.toInt());
    }

    void segmentsKeepTheirNumbersWhenTheColumnsChange() {
        TFormConfig dialog(ws_->Config());
        dialog.SegmentCell(7)->setText(QStringLiteral("3"));
        dialog.SegmentCell(45)->setText(QStringLiteral("9"));
        dialog.edMatrixCol->setValue(7);
        QCOMPARE(dialog.edMatrixRow->value(), 7);
        QCOMPARE(dialog.sgSegments->columnCount(), 7);
        QCOMPARE(dialog.sgSegments->rowCount(), 7);
        QCOMPARE(dialog.sgSegments->item(0, 6)->text(), QStringLiteral("3")); // number 7
        QCOMPARE(dialog.sgSegments->item(6, 2)->text(), QStringLiteral("9")); // number 45
        // Cells past 45 stay empty and cannot be chosen.
        QVERIFY(dialog.sgSegments->item(6, 3)->text().isEmpty());
        QCOMPARE(dialog.sgSegments->item(6, 3)->flags(), Qt::NoItemFlags);
        QVERIFY(seams_.Boxes.isEmpty());
        dialog.accept();
        QCOMPARE(int(dialog.Result().Segments[6]), 3);
        QCOMPARE(int(dialog.Result().Segments[44]), 9);
        QCOMPARE(dialog.Result().MatrixCols, 7);
    }

    void prizeGridAlwaysShowsSevenRows() {
        TConfigData config = ws_->Config();
        config.Profits = {{3, 100000}, {4, 1005000}, {6, 10000000}};
        TFormConfig dialog(config);
        QCOMPARE(dialog.edProfits->rowCount(), int(TFormConfig::PROFIT_ROWS));
        // Row i shows entry i whatever its match count; missing entries show 0.00.
        QCOMPARE(dialog.edProfits->item(0, 0)->text(), QStringLiteral("0"));
        QCOMPARE(dialog.edProfits->item(0, 1)->text(), Decimal("10.00"));
        QCOMPARE(dialog.edProfits->item(1, 1)->text(), Decimal("100.50"));
        QCOMPARE(dialog.edProfits->item(5, 1)->text(), Decimal("0.00"));
        dialog.edProfits->item(6, 1)->setText(Decimal("2500.25"));
        dialog.edProfits->item(4, 1)->setText(QStringLiteral("nonsense"));
        dialog.accept();
        const std::vector<TProfitItem>& profits = dialog.Result().Profits;
        QCOMPARE(int(profits.size()), int(TFormConfig::PROFIT_ROWS));
        for (int i = 0; i < TFormConfig::PROFIT_ROWS; ++i)
            QCOMPARE(int(profits[static_cast<std::size_t>(i)].Matches), i);
        QCOMPARE(profits[1].Prize, TMoney(1005000));
        QCOMPARE(profits[4].Prize, TMoney(0));
        QCOMPARE(profits[6].Prize, TMoney(25002500));
    }

    void shreddingCancelKeepsAndAcceptRenamesTheMethods() {
        const TShreddingFormulas before = ws_->Shredding();
        Script<TFormShredding>([](TFormShredding& dialog) {
            dialog.edFormula[0]->setText(QStringLiteral("n1*2"));
            dialog.reject();
            return int(QDialog::Rejected);
        });
        QVERIFY(!TFormShredding::Execute(nullptr, *ws_));
        QVERIFY(ws_->Shredding() == before);

        int minDigits = 0, maxDigits = 0;
        Script<TFormShredding>([&](TFormShredding& dialog) {
            minDigits = dialog.edDigits[0]->minimum();
            maxDigits = dialog.edDigits[0]->maximum();
            dialog.edFormula[0]->setText(QStringLiteral("n1+n2"));
            dialog.edDigits[0]->setValue(3);
            dialog.accept();
            return dialog.result();
        });
        QVERIFY(TFormShredding::Execute(nullptr, *ws_));
        QCOMPARE(minDigits, 1);
        QCOMPARE(maxDigits, 5);
        QCOMPARE(ws_->Shredding().Formula[0], std::string("n1+n2"));
        QCOMPARE(ws_->Shredding().Digits[0], 3);
        QCOMPARE(LoadShredding(ws_->IniFile()).Formula[0], std::string("n1+n2"));
        const int shr1 = ws_->Stats().IndexOfCode("SHR1");
        QVERIFY(shr1 >= 0);
        QVERIFY(ws_->Stats().MethodTitle(ws_->Stats().Items(shr1)).find("n1+n2") !=
                std::string::npos);
    }

    void detailsShowTheMatrixAndEveryGraphStatistic() {
        TDrawsArray draws(1);
        draws[0].Number = 17;
        for (int i = 0; i < LOTTO_COUNT; ++i)
            draws[0].Nums[i] = static_cast<std::uint8_t>(i + 1);
        uitest::WriteArchive(Folder(), draws);
        ws_->LoadDraws();

        int graphRows = 0;
        for (const TStatMethod& method : ws_->Stats().Methods())
            graphRows += method.StatClass->IsGraph() && method.StatClass->IsListed();
        QVERIFY(graphRows > 0);

        const TComb numbers{{1, 2, 3, 4, 5, 6}};
        // What the dialog showed, read while it is open.
        struct {
            bool shown = false;
            QString title;
            int props = 0;
            QStringList names, values;
            int cols = 0, rows = 0;
            QString cell3, cell8;
            QColor color45;
            int rowsAt45 = 0, colsAt45 = 0;
            QString cell6At45;
        } seen;
        Script<TFormInfo>([&](TFormInfo& dialog) {
            seen.shown = true;
            seen.title = dialog.windowTitle();
            seen.props = dialog.lvProps->rowCount();
            for (int row = 0; row < dialog.lvProps->rowCount(); ++row) {
                seen.names.append(dialog.lvProps->item(row, 0)->text());
                seen.values.append(dialog.lvProps->item(row, 1)->text());
            }
            seen.cols = dialog.seCols->value();
            seen.rows = dialog.sgCard->rowCount();
            seen.cell3 = dialog.sgCard->item(0, 2)->text();
            seen.cell8 = dialog.sgCard->item(1, 2)->text();
            seen.color45 = dialog.sgCard->item(8, 4)->background().color();
            dialog.seCols->setValue(45);
            seen.rowsAt45 = dialog.sgCard->rowCount();
            seen.colsAt45 = dialog.sgCard->columnCount();
            seen.cell6At45 = dialog.sgCard->item(0, 5)->text();
            return int(QDialog::Rejected);
        });
        TFormInfo::ShowDetails(nullptr, *ws_, 17, "05.03.2024 21:00", numbers, false, 0);
        QVERIFY(seen.shown);
        QVERIFY(ws_->IsIdle());
        QCOMPARE(seen.title, QStringLiteral("Подробная информация"));
        QCOMPARE(seen.props, 2 + graphRows);
        QCOMPARE(seen.names.value(0), QStringLiteral("Номер тиража:"));
        QCOMPARE(seen.values.value(0), QStringLiteral("17"));
        QCOMPARE(seen.names.value(1), QStringLiteral("Дата тиража:"));
        QCOMPARE(seen.values.value(1), QStringLiteral("05.03.2024 21:00"));
        for (int row = 2; row < seen.props; ++row) {
            bool isNumber = false;
            seen.values.value(row).toInt(&isNumber);
            QVERIFY2(isNumber, qPrintable(seen.names.value(row)));
        }
        // Five columns, nine rows; the six numbers written in their channel colours.
        QCOMPARE(seen.cols, 5);
        QCOMPARE(seen.rows, 9);
        QCOMPARE(seen.cell3, QStringLiteral("3"));
        QVERIFY(seen.cell8.isEmpty());
        QCOMPARE(seen.color45, QColor::fromRgb(ChannelColor(45, 5)));
        QCOMPARE(seen.rowsAt45, 1);
        QCOMPARE(seen.colsAt45, 45);
        QCOMPARE(seen.cell6At45, QStringLiteral("6"));

        // A combination has neither number nor date.
        int comboProps = -1;
        Script<TFormInfo>([&](TFormInfo& dialog) {
            comboProps = dialog.lvProps->rowCount();
            return int(QDialog::Rejected);
        });
        TFormInfo::ShowDetails(nullptr, *ws_, -1, std::string(), numbers, true, 0);
        QCOMPARE(comboProps, graphRows);
    }
};

QTEST_MAIN(TestDialogs)
#include "dialogs_test.moc"
