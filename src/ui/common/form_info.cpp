#include "ui/common/form_info.h"

#include "app/workspace.h"
#include "core/geometry.h"
#include "stats/custom_stat.h"
#include "ui/common/message_boxes.h"
#include "ui/common/ui_seams.h"
#include "ui/common/ui_text.h"

#include <QDialogButtonBox>
#include <QFont>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

namespace pelko {

namespace {
constexpr int CARD_CELL = 24;
} // namespace

TFormInfo::TFormInfo(Workspace& ws, int drawNumber, const std::string& dateText,
                     const TComb& numbers, bool sorted, int archiveIndex, QWidget* parent)
    : QDialog(parent), numbers_(numbers), channelSize_(ws.Config().ChannelSize) {
    setObjectName(QStringLiteral("TFormInfo"));
    setWindowTitle(QStringLiteral("Подробная информация"));

    seCols = new QSpinBox;
    seCols->setObjectName(QStringLiteral("seCols"));
    seCols->setRange(1, LOTTO_MAX);
    seCols->setValue(std::clamp(ws.Config().MatrixCols, 1, LOTTO_MAX));
    auto* colsLabel = new QLabel(QStringLiteral("Количество столбцов:"));
    colsLabel->setBuddy(seCols);
    auto* colsRow = new QHBoxLayout;
    colsRow->addWidget(colsLabel);
    colsRow->addWidget(seCols);
    colsRow->addStretch(1);

    sgCard = new QTableWidget;
    sgCard->setObjectName(QStringLiteral("sgCard"));
    sgCard->horizontalHeader()->hide();
    sgCard->verticalHeader()->hide();
    sgCard->horizontalHeader()->setDefaultSectionSize(CARD_CELL);
    sgCard->verticalHeader()->setDefaultSectionSize(CARD_CELL);
    sgCard->setEditTriggers(QAbstractItemView::NoEditTriggers);
    sgCard->setSelectionMode(QAbstractItemView::NoSelection);
    sgCard->setFocusPolicy(Qt::NoFocus);
    FillCard(seCols->value());
    connect(seCols, &QSpinBox::valueChanged, this, &TFormInfo::FillCard);

    lvProps = new QTableWidget(0, 2);
    lvProps->setObjectName(QStringLiteral("lvProps"));
    lvProps->setHorizontalHeaderLabels({QStringLiteral("Свойство"), QStringLiteral("Значение")});
    lvProps->verticalHeader()->hide();
    lvProps->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvProps->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvProps->setWordWrap(false);
    lvProps->verticalHeader()->setDefaultSectionSize(lvProps->fontMetrics().height() + 4);
    lvProps->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Interactive);
    lvProps->horizontalHeader()->setStretchLastSection(true);
    lvProps->setColumnWidth(0, 380);
    FillProps(ws, drawNumber, dateText, sorted, archiveIndex);

    auto* left = new QVBoxLayout;
    left->addLayout(colsRow);
    left->addWidget(sgCard, 1);
    auto* body = new QHBoxLayout;
    body->addLayout(left);
    body->addWidget(lvProps, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("Закрыть"));
    connect(buttons, &QDialogButtonBox::rejected, this, &TFormInfo::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addWidget(buttons);
    resize(820, 520);
}

void TFormInfo::FillCard(int columns) {
    columns = std::clamp(columns, 1, LOTTO_MAX);
    const int rows = (LOTTO_MAX + columns - 1) / columns;
    sgCard->clear();
    sgCard->setColumnCount(columns);
    sgCard->setRowCount(rows);
    QFont bold = sgCard->font();
    bold.setBold(true);
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column) {
            const int n = MatrixNumber(row, columns, column);
            auto* cell = new QTableWidgetItem;
            cell->setFlags(Qt::ItemIsEnabled);
            cell->setTextAlignment(Qt::AlignCenter);
            if (n >= 1 && n <= LOTTO_MAX) {
                cell->setBackground(QColor::fromRgb(ChannelColor(n, channelSize_)));
                cell->setForeground(QColor(Qt::black));
                if (std::find(numbers_.begin(), numbers_.end(), n) != numbers_.end()) {
                    cell->setText(QString::number(n));
                    cell->setFont(bold);
                }
            }
            sgCard->setItem(row, column, cell);
        }
    sgCard->setMinimumWidth(std::min(columns, 15) * CARD_CELL + 2 * sgCard->frameWidth());
}

void TFormInfo::AddProp(const QString& name, const QString& value) {
    const int row = lvProps->rowCount();
    lvProps->insertRow(row);
    lvProps->setItem(row, 0, new QTableWidgetItem(name));
    lvProps->setItem(row, 1, new QTableWidgetItem(value));
}

void TFormInfo::FillProps(Workspace& ws, int drawNumber, const std::string& dateText, bool sorted,
                          int archiveIndex) {
    if (drawNumber != -1) AddProp(QStringLiteral("Номер тиража:"), QString::number(drawNumber));
    if (!dateText.empty()) AddProp(QStringLiteral("Дата тиража:"), QStr(dateText));
    const TStatList& stats = ws.Stats();
    for (int i = 0; i < stats.Count(); ++i) {
        const TStatClassInfo& cls = *stats.Items(i).StatClass;
        if (!cls.IsGraph() || !cls.IsListed()) continue;
        const std::unique_ptr<TCustomStat> stat = stats.CreateStat(i);
        auto* graph = dynamic_cast<TCustomGraphStat*>(stat.get());
        if (!graph) continue;
        const int value = graph->GraphValue(numbers_, archiveIndex, archiveIndex, sorted);
        AddProp(QStr(stat->Caption()), QString::number(value));
    }
}

void TFormInfo::ShowDetails(QWidget* parent, Workspace& ws, int drawNumber,
                            const std::string& dateText, const TComb& numbers, bool sorted,
                            int archiveIndex) {
    std::unique_ptr<TFormInfo> dialog;
    try {
        const TBusyScope busy(ws.Busy(), ws.GetHost());
        dialog = std::make_unique<TFormInfo>(ws, drawNumber, dateText, numbers, sorted,
                                             archiveIndex, parent);
    } catch (const std::exception& e) {
        ErrorBox(parent, QStr(e.what()));
        return;
    }
    TUiSeams::Current().ExecDialog(*dialog);
}

} // namespace pelko
