#include "ui/shell/form_config.h"

#include "app/workspace.h"
#include "core/ini_file.h"
#include "ui/common/message_boxes.h"
#include "ui/common/ui_seams.h"
#include "ui/common/ui_text.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>
#include <memory>

namespace pelko {

namespace {

constexpr int SEGMENT_CELL = 26;

QString DecimalPoint() {
    return QLocale().decimalPoint();
}

// Editors of a grid that accept only the characters of a pattern.
class TCharsDelegate : public QStyledItemDelegate {
  public:
    TCharsDelegate(const QString& pattern, QObject* parent)
        : QStyledItemDelegate(parent), pattern_(pattern) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor))
            line->setValidator(new QRegularExpressionValidator(QRegularExpression(pattern_), line));
        return editor;
    }

  private:
    QString pattern_;
};

QDoubleSpinBox* DecimalEdit(const char* name, int decimals, double low, double high, double value) {
    auto* edit = new QDoubleSpinBox;
    edit->setObjectName(QString::fromLatin1(name));
    edit->setDecimals(decimals);
    edit->setRange(low, high);
    edit->setGroupSeparatorShown(true);
    edit->setValue(value);
    return edit;
}

QSpinBox* IntegerEdit(const char* name, int low, int high, int value, const QString& hint) {
    auto* edit = new QSpinBox;
    edit->setObjectName(QString::fromLatin1(name));
    edit->setRange(low, high);
    edit->setValue(value);
    edit->setToolTip(hint);
    edit->setStatusTip(hint);
    return edit;
}

int RowsFor(int columns) {
    return (LOTTO_MAX + columns - 1) / columns;
}

QString PrizeText(TMoney prize) {
    return QString::number(MoneyToDouble(prize), 'f', 2).replace(QLatin1Char('.'), DecimalPoint());
}

} // namespace

QString TFormConfig::BadSegmentMessage(const QString& text) {
    return QStringLiteral("Некорректное значение: %1!\n\nУкажите любое число от 1 до 9").arg(text);
}

TFormConfig::TFormConfig(const TConfigData& config, QWidget* parent)
    : QDialog(parent), result_(config) {
    setObjectName(QStringLiteral("TFormConfig"));
    setWindowTitle(QStringLiteral("Параметры системы"));

    // Stakes.
    edCost = DecimalEdit("edCost", 2, 0, 1e12, MoneyToDouble(config.Cost));
    edCost->setToolTip(QStringLiteral("Стоимость одной ставки"));
    edCost->setStatusTip(edCost->toolTip());
    edStakeMaxLen = IntegerEdit("edStakeMaxLen", 7, 15, std::clamp(config.MaxStake, 7, 15),
                                QStringLiteral("Максимально допустимая расширенная ставка"));

    edProfits = new QTableWidget(PROFIT_ROWS, 2);
    edProfits->setObjectName(QStringLiteral("edProfits"));
    edProfits->setHorizontalHeaderLabels(
        {QStringLiteral("Совпадений"), QStringLiteral("Сумма выигрыша")});
    edProfits->verticalHeader()->hide();
    edProfits->horizontalHeader()->setStretchLastSection(true);
    edProfits->setSelectionMode(QAbstractItemView::SingleSelection);
    edProfits->setItemDelegateForColumn(
        1, new TCharsDelegate(QStringLiteral("[0-9") + QRegularExpression::escape(DecimalPoint()) +
                                  QStringLiteral("]*"),
                              edProfits));
    FillProfits(config.Profits);

    auto* stakes = new QFormLayout;
    stakes->addRow(QStringLiteral("Стоимость ставки:"), edCost);
    stakes->addRow(QStringLiteral("Расширенная ставка:"), edStakeMaxLen);
    stakes->addRow(new QLabel(QStringLiteral("Размеры выигрышей:")));
    stakes->addRow(edProfits);

    // Weight coefficients.
    edCoefCount = DecimalEdit("edCoefCount", 3, -1e9, 1e9, static_cast<double>(config.CDL.Count));
    edCoefDeviation =
        DecimalEdit("edCoefDeviation", 3, -1e9, 1e9, static_cast<double>(config.CDL.Deviation));
    edCoefLevel = DecimalEdit("edCoefLevel", 3, -1e9, 1e9, static_cast<double>(config.CDL.Level));
    cbCoefPercents = new QCheckBox(QStringLiteral("Использовать значения в %"));
    cbCoefPercents->setObjectName(QStringLiteral("cbCoefPercents"));
    cbCoefPercents->setToolTip(QStringLiteral("При расчетах использовать значения в процентах"));
    cbCoefPercents->setChecked(config.CDL.UsePercents);
    cbCoefAbs = new QCheckBox(QStringLiteral("Использовать абсолютные значения"));
    cbCoefAbs->setObjectName(QStringLiteral("cbCoefAbs"));
    cbCoefAbs->setToolTip(QStringLiteral("Преобразовывать отрицательные значения в положительные"));
    cbCoefAbs->setChecked(config.CDL.UseAbsValues);
    auto* coefficients = new QGroupBox(QStringLiteral(" Коэффициенты для поля \"Вес\" "));
    auto* coefForm = new QFormLayout(coefficients);
    coefForm->addRow(QStringLiteral("Количество:"), edCoefCount);
    coefForm->addRow(QStringLiteral("Отклонение:"), edCoefDeviation);
    coefForm->addRow(QStringLiteral("Глубина:"), edCoefLevel);
    coefForm->addRow(cbCoefPercents);
    coefForm->addRow(cbCoefAbs);

    // Matrix, segments and channels.
    const int cols = std::clamp(config.MatrixCols, 1, LOTTO_MAX);
    edMatrixCol =
        IntegerEdit("edMatrixCol", 1, LOTTO_MAX, cols, QStringLiteral("Количество столбцов"));
    edMatrixRow =
        IntegerEdit("edMatrixRow", 1, LOTTO_MAX, RowsFor(cols), QStringLiteral("Количество строк"));
    edMatrixRow->setReadOnly(true);
    edMatrixRow->setButtonSymbols(QAbstractSpinBox::NoButtons);
    auto* matrix = new QHBoxLayout;
    matrix->addWidget(edMatrixCol);
    matrix->addWidget(new QLabel(QStringLiteral("x")));
    matrix->addWidget(edMatrixRow);
    matrix->addStretch(1);

    sgSegments = new QTableWidget;
    sgSegments->setObjectName(QStringLiteral("sgSegments"));
    sgSegments->horizontalHeader()->hide();
    sgSegments->verticalHeader()->hide();
    sgSegments->horizontalHeader()->setDefaultSectionSize(SEGMENT_CELL);
    sgSegments->verticalHeader()->setDefaultSectionSize(SEGMENT_CELL);
    sgSegments->setSelectionMode(QAbstractItemView::SingleSelection);
    sgSegments->setItemDelegate(new TCharsDelegate(QStringLiteral("[0-9]*"), sgSegments));
    sgSegments->setMinimumSize(SEGMENT_CELL * 9 + 4, SEGMENT_CELL * 6);
    FillSegments(config.Segments, cols);
    connect(sgSegments, &QTableWidget::itemChanged, this, &TFormConfig::SegmentEdited);
    connect(edMatrixCol, &QSpinBox::valueChanged, this, &TFormConfig::MatrixColsChanged);

    edChannelSize =
        IntegerEdit("edChannelSize", 3, LOTTO_MAX, std::clamp(config.ChannelSize, 3, LOTTO_MAX),
                    QStringLiteral("Ширина канала"));

    auto* geometry = new QFormLayout;
    geometry->addRow(QStringLiteral("Размер матрицы:"), matrix);
    geometry->addRow(new QLabel(QStringLiteral("Сегменты матрицы:")));
    geometry->addRow(sgSegments);
    geometry->addRow(QStringLiteral("Размер канала:"), edChannelSize);

    auto* right = new QVBoxLayout;
    right->addWidget(coefficients);
    right->addLayout(geometry);

    auto* columns = new QHBoxLayout;
    columns->addLayout(stakes, 1);
    columns->addLayout(right, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, this, &TFormConfig::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TFormConfig::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(buttons);
}

// ------------------------------------------------------------------ prizes

void TFormConfig::FillProfits(const std::vector<TProfitItem>& profits) {
    // Row i shows entry i, whatever match count the entry holds.
    for (int i = 0; i < PROFIT_ROWS; ++i) {
        auto* key = new QTableWidgetItem(QString::number(i));
        key->setFlags(Qt::ItemIsEnabled);
        const TMoney prize = static_cast<std::size_t>(i) < profits.size()
                                 ? profits[static_cast<std::size_t>(i)].Prize
                                 : 0;
        edProfits->setItem(i, 0, key);
        edProfits->setItem(i, 1, new QTableWidgetItem(PrizeText(prize)));
    }
}

std::vector<TProfitItem> TFormConfig::ReadProfits() const {
    std::vector<TProfitItem> profits;
    for (int i = 0; i < edProfits->rowCount(); ++i) {
        bool ok = false;
        const int matches = edProfits->item(i, 0)->text().trimmed().toInt(&ok);
        double amount = 0;
        if (!TextToFloat(StdStr(edProfits->item(i, 1)->text().trimmed()), amount)) amount = 0;
        TProfitItem item;
        item.Matches = static_cast<std::uint8_t>(ok ? matches : 0);
        item.Prize = MoneyFromDouble(amount);
        profits.push_back(item);
    }
    return profits;
}

// ------------------------------------------------------------------ segments

QTableWidgetItem* TFormConfig::SegmentCell(int n) const {
    if (n < 1 || n > LOTTO_MAX || segmentCols_ < 1) return nullptr;
    return sgSegments->item((n - 1) / segmentCols_, (n - 1) % segmentCols_);
}

void TFormConfig::FillSegments(const TSegments& segments, int columns) {
    fillingSegments_ = true;
    const QSignalBlocker quiet(sgSegments);
    segmentCols_ = columns;
    const int rows = RowsFor(columns);
    sgSegments->clear();
    sgSegments->setColumnCount(columns);
    sgSegments->setRowCount(rows);
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column) {
            const int n = 1 + row * columns + column;
            auto* cell = new QTableWidgetItem;
            cell->setTextAlignment(Qt::AlignCenter);
            if (n <= LOTTO_MAX) {
                cell->setText(QString::number(segments[static_cast<std::size_t>(n - 1)]));
                cell->setToolTip(QString::number(n));
            } else {
                cell->setFlags(Qt::NoItemFlags); // past 45: empty and not selectable
            }
            sgSegments->setItem(row, column, cell);
        }
    fillingSegments_ = false;
}

TSegments TFormConfig::ReadSegments() const {
    TSegments segments{};
    for (int n = 1; n <= LOTTO_MAX; ++n) {
        const QTableWidgetItem* cell = SegmentCell(n);
        bool ok = false;
        const int value = cell ? cell->text().trimmed().toInt(&ok) : 0;
        segments[static_cast<std::size_t>(n - 1)] =
            static_cast<std::uint8_t>(ok && value >= 1 && value <= 9 ? value : 1);
    }
    return segments;
}

void TFormConfig::MatrixColsChanged(int columns) {
    const TSegments segments = ReadSegments();
    edMatrixRow->setValue(RowsFor(columns));
    FillSegments(segments, columns);
}

void TFormConfig::SegmentEdited(QTableWidgetItem* item) {
    if (fillingSegments_ || !item || !(item->flags() & Qt::ItemIsEnabled)) return;
    bool ok = false;
    const QString text = item->text();
    const int value = text.trimmed().toInt(&ok);
    if (ok && value >= 1 && value <= 9) return;
    ErrorBox(this, BadSegmentMessage(text));
    fillingSegments_ = true;
    item->setText(QStringLiteral("1"));
    fillingSegments_ = false;
}

// ------------------------------------------------------------------ result

void TFormConfig::accept() {
    TConfigData config = result_;
    config.MatrixCols = edMatrixCol->value();
    config.ChannelSize = edChannelSize->value();
    config.Cost = MoneyFromDouble(edCost->value());
    config.MaxStake = edStakeMaxLen->value();
    config.CDL.Count = edCoefCount->value();
    config.CDL.Deviation = edCoefDeviation->value();
    config.CDL.Level = edCoefLevel->value();
    config.CDL.UsePercents = cbCoefPercents->isChecked();
    config.CDL.UseAbsValues = cbCoefAbs->isChecked();
    config.Profits = ReadProfits();
    config.Segments = ReadSegments();
    result_ = config;
    QDialog::accept();
}

bool TFormConfig::Execute(QWidget* parent, Workspace& ws) {
    if (!ws.IsIdle()) return false;
    std::unique_ptr<TFormConfig> dialog;
    try {
        dialog = std::make_unique<TFormConfig>(ws.Config(), parent);
    } catch (const std::exception& e) {
        ErrorBox(parent, QStr(e.what()));
        return false;
    }
    if (TUiSeams::Current().ExecDialog(*dialog) != QDialog::Accepted) return false;
    const TConfigData config = dialog->Result();
    dialog.reset();
    ws.ApplyConfig(config);
    // Channel colours and the matrix changed: every list repaints.
    if (parent)
        for (QAbstractItemView* view : parent->window()->findChildren<QAbstractItemView*>())
            view->viewport()->update();
    return true;
}

} // namespace pelko
